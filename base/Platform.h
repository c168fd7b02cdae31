#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

// The only calls that differ between Windows, Linux and macOS. Everything
// else in the tool uses the C++ standard library alone.
namespace pomvella::platform {

// Opens an existing file (not a folder) for binary reading; nullptr if it cannot.
std::FILE* OpenForReading(const std::filesystem::path& path);

// Creates a file that must not exist yet, for binary writing; nullptr if it cannot.
std::FILE* CreateNew(const std::filesystem::path& path);

// 64-bit seek from the start of the file and 64-bit size of an open file.
bool SeekTo(std::FILE* file, std::uint64_t position);
std::optional<std::uint64_t> SizeOf(std::FILE* file);

// Pushes written data to the disk before a rename makes it visible.
bool FlushToDisk(std::FILE* file);

// The full path of the running program.
std::filesystem::path ExecutablePath();

// Starts program with arguments and does not wait for it. False when it
// could not be started.
bool StartDetached(const std::filesystem::path& program, const std::vector<std::filesystem::path>& arguments);

}  // namespace pomvella::platform
