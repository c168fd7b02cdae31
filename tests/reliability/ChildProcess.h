#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pomvella::testing {

// How a program under test is started: the faults it meets come from the
// process's own limits and identity, not from changes to the program.
struct ChildSetup {
    std::filesystem::path workingFolder;
    // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored so that a write past it
    // returns EFBIG instead of killing the process.
    std::optional<unsigned long> fileSizeLimit;
    // Run as nobody (uid and gid 65534, no supplementary groups) when the
    // test runs as root, so that permission bits stop writes.
    bool unprivileged = false;
};

struct ChildResult {
    int exitStatus = -1;  // -1 when the program did not exit normally
    int signal = 0;
    std::string out;
    std::string err;
};

ChildResult RunChild(const std::vector<std::string>& argv, const ChildSetup& setup);

// The uid RunChild's unprivileged mode switches to.
inline constexpr unsigned kNobody = 65534;

}  // namespace pomvella::testing
