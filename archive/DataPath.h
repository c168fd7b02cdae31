#pragma once

#include <filesystem>
#include <string_view>

namespace pomvella {

// Replaces the last path component's part from its last "." on with
// extension, or appends extension when that component has no ".".
// Unlike std::filesystem::path::replace_extension, a leading "." counts too:
// ".hidden" becomes ".001", not ".hidden.001".
std::filesystem::path ChangeExtension(const std::filesystem::path& path, std::string_view extension);

// The archive's data file: the index path with the extension ".001".
std::filesystem::path DataPathForIndex(const std::filesystem::path& indexPath);

}  // namespace pomvella
