#include "base/ExecutableFolder.h"

#include "base/Platform.h"

namespace pomvella {

std::filesystem::path ExecutableFolder() { return platform::ExecutablePath().parent_path(); }

}  // namespace pomvella
