#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The path operations of the run command. Paths are UTF-8 text in the window
// and std::filesystem::path everywhere else (wide on Windows), so a separator
// is never taken from inside a character: in UTF-8 every byte of a multi-byte
// character is 0x80 or above, and Windows paths are split on wide characters.
namespace pomvella {

// The path that the UTF-8 text names.
std::filesystem::path PathFromText(std::string_view text);

// Everything before the last separator, without a trailing one; a root keeps
// it ("/Ruvelle.exe" -> "/", "C:\Ruvelle.exe" -> "C:\" on Windows). A bare
// file name gives the empty path, which names the current folder.
std::filesystem::path FolderOf(const std::filesystem::path& path);

// True only for an existing regular file (symbolic links followed); a folder,
// a device or a broken link is not a file the tool can read.
bool FileExists(const std::filesystem::path& path);

}  // namespace pomvella
