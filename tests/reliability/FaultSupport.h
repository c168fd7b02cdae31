#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TmpfsMount.h"

namespace pomvella::testing {

namespace fs = std::filesystem;

// The errors as pomvella-cli prints them: the default error box's text.
inline const std::string kWriteError = "ｽﾄﾘｰﾑへの書き込みｴﾗｰ.\n";

inline std::string CreateError(const fs::path& path) { return "ﾌｧｲﾙ " + path.string() + " を作成できません.\n"; }

inline void RunOk(const std::vector<std::string>& argv, const fs::path& folder)
{
    ChildSetup setup;
    setup.workingFolder = folder;
    const ChildResult result = RunChild(argv, setup);
    ASSERT_EQ(result.exitStatus, 0) << argv[1] << ": " << result.err;
}

// Fills the file system of folder up to all but keepFree bytes.
inline void FillFileSystem(const TmpfsMount& mount, const fs::path& filler, std::uint64_t keepFree)
{
    const std::uint64_t free = mount.FreeBytes();
    ASSERT_GT(free, keepFree);
    const std::string bytes(static_cast<std::size_t>(free - keepFree), 'f');
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
    ASSERT_LE(mount.FreeBytes(), keepFree);
}

}  // namespace pomvella::testing
