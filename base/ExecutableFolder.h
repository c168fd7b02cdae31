#pragma once

#include <filesystem>

namespace pomvella {

// The folder of the running program: where the temporary texture files go.
std::filesystem::path ExecutableFolder();

}  // namespace pomvella
