#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pomvella {

// What to start for the host: the program and its arguments. The host gets
// no arguments of its own; only a Windows program on another system is
// handed to wine as its one argument.
struct HostCommand {
    std::filesystem::path program;
    std::vector<std::filesystem::path> arguments;
};

// True when the host is a Windows program (its name ends in ".exe", any
// case) and the system is not Windows, so it cannot start it directly.
bool NeedsWine(const std::filesystem::path& host, bool systemIsWindows);

// The command that starts host, made absolute first: a bare name means the
// file in the current folder, not a program found on the PATH. winePath is wine's full path when wine is on
// the PATH, else empty: the host is then started directly, and if that fails
// nobody is told, as with any failed start.
HostCommand HostLaunchCommand(const std::filesystem::path& host, bool systemIsWindows,
                              const std::filesystem::path& winePath);

}  // namespace pomvella
