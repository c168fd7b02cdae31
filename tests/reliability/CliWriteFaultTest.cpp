// pomvella-cli extract -o, scale and quantize writing their output while the write cannot succeed: the file
// size limit is reached, the file system is full, a folder stands where the
// file goes, or the folder is read-only. Whatever the fault, the command
// exits with 3 and the error's text, the previous output stays byte for byte
// and no temporary or truncated file is left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ChildProcess.h"
#include "FaultSupport.h"
#include "FolderSnapshot.h"
#include "TmpfsMount.h"
#include "base/InputFile.h"
#include "tests/archive/PackFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella::testing {
namespace {

namespace fs = std::filesystem;

// A writer command: a good run that leaves the previous output, and the run
// under test, whose output is larger than 16 KiB (so a limit of 8 KiB, or
// 16 KiB of free space, stops it part-way).
struct Writer {
    const char* name;
    std::vector<std::string> (*previous)(const fs::path& folder, const fs::path& out);
    std::vector<std::string> (*faulty)(const fs::path& folder, const fs::path& out);
};

const Writer kWriters[] = {
    {"extract",
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "extract", (folder / "TH2Data.000").string(), "C00210071.BM2",
                                         "-o", out.string()};
     },
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "extract", (folder / "TH2Data.000").string(), "C00210020.BM2",
                                         "-o", out.string()};
     }},
    {"scale",
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "scale", (folder / "source.bmp").string(), out.string(), "10",
                                         "7"};
     },
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "scale", (folder / "source.bmp").string(), out.string(), "100",
                                         "100"};
     }},
    {"quantize",
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "quantize", (folder / "source24.bmp").string(), out.string(),
                                         "--colors", "2"};
     },
     [](const fs::path& folder, const fs::path& out) {
         return std::vector<std::string>{POMVELLA_CLI, "quantize", (folder / "source24.bmp").string(), out.string()};
     }},
};

enum class Fault { FileSizeLimit, FullFileSystem, FolderInPlace, ReadOnlyFolder };

std::string FaultName(Fault fault)
{
    switch (fault) {
    case Fault::FileSizeLimit: return "FileSizeLimit";
    case Fault::FullFileSystem: return "FullFileSystem";
    case Fault::FolderInPlace: return "FolderInPlace";
    case Fault::ReadOnlyFolder: return "ReadOnlyFolder";
    }
    return "?";
}

class CliWriteFaultTest : public ::testing::TestWithParam<std::tuple<Writer, Fault>> {
protected:
    void SetUp() override
    {
        // The unprivileged runs must reach the inputs.
        fs::permissions(folder_.Path(), fs::perms(0755));
        sample::SampleArchiveOptions options;
        options.recordCount = 6;
        options.textureWidth = 200;  // entries of 21078 bytes once converted
        options.textureHeight = 100;
        sample::WriteSampleArchive(sample::MakeSampleArchive(options), folder_ / "TH2Data.000",
                                   folder_ / "TH2Data.001");
        RunOk({POMVELLA_CLI, "extract", (folder_ / "TH2Data.000").string(), "C00210130.BM2", "-o",
               (folder_ / "source.bmp").string()},
              folder_.Path());
        // 150 x 120, 24 bits: quantized, an 8-bit file of 19078 bytes.
        RunOk({POMVELLA_CLI, "scale", (folder_ / "source.bmp").string(), (folder_ / "source24.bmp").string(), "150",
               "120"},
              folder_.Path());
    }

    TempFolder folder_;
};

TEST_P(CliWriteFaultTest, FailsWithoutTouchingThePreviousOutput)
{
    const auto& [writer, fault] = GetParam();
    fs::path outFolder = folder_ / "out";
    fs::create_directories(outFolder);
    std::optional<TmpfsMount> mount;
    if (fault == Fault::FullFileSystem) {
        if (geteuid() != 0)
            GTEST_SKIP() << "filling a file system needs a tmpfs of its own, and mounting one needs root";
        mount.emplace(outFolder, "256k");
        if (!mount->Mounted())
            GTEST_SKIP() << "this environment does not allow mounting a tmpfs (" << mount->Failure()
                         << "); the file size limit case covers a write that fails part-way";
    }
    const fs::path out = outFolder / "result.bmp";
    RunOk(writer.previous(folder_.Path(), out), folder_.Path());

    ChildSetup setup;
    setup.workingFolder = folder_.Path();
    std::string expectedError = kWriteError;
    switch (fault) {
    case Fault::FileSizeLimit:
        setup.fileSizeLimit = 8192;
        break;
    case Fault::FullFileSystem:
        FillFileSystem(*mount, outFolder / "filler", 16384);
        break;
    case Fault::FolderInPlace:
        // The output path names a folder (with a file in it) instead.
        fs::remove(out);
        fs::create_directories(out);
        std::filesystem::copy_file(folder_ / "source.bmp", out / "kept.bmp");
        expectedError = CreateError(out);
        break;
    case Fault::ReadOnlyFolder:
        // As root the permission bits would not stop a write: the command
        // runs as nobody, and the folder is nobody's, read-only.
        setup.unprivileged = true;
        if (geteuid() == 0) {
            ASSERT_EQ(chown(outFolder.c_str(), kNobody, kNobody), 0);
        }
        fs::permissions(outFolder, fs::perms(0555));
        expectedError = CreateError(out);
        break;
    }

    const FolderSnapshot before = SnapshotFolder(outFolder);
    const ChildResult result = RunChild(writer.faulty(folder_.Path(), out), setup);
    const FolderSnapshot after = SnapshotFolder(outFolder);

    EXPECT_EQ(result.exitStatus, 3) << "signal " << result.signal << ", stderr: " << result.err;
    EXPECT_EQ(result.err, expectedError);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Differences(before, after), "");
    fs::permissions(outFolder, fs::perms(0755));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, CliWriteFaultTest,
    ::testing::Combine(::testing::ValuesIn(kWriters),
                       ::testing::Values(Fault::FileSizeLimit, Fault::FullFileSystem, Fault::FolderInPlace,
                                         Fault::ReadOnlyFolder)),
    [](const ::testing::TestParamInfo<std::tuple<Writer, Fault>>& param) {
        return std::string(std::get<0>(param.param).name) + "_" + FaultName(std::get<1>(param.param));
    });

// The faults must be real: without them the same commands succeed and
// replace the previous output.
TEST_F(CliWriteFaultTest, WithoutAFaultTheWritersReplaceTheOutput)
{
    for (const Writer& writer : kWriters) {
        const fs::path out = folder_ / (std::string(writer.name) + ".bmp");
        RunOk(writer.previous(folder_.Path(), out), folder_.Path());
        const Bytes before = ReadWholeFile(out);
        RunOk(writer.faulty(folder_.Path(), out), folder_.Path());
        const Bytes after = ReadWholeFile(out);
        EXPECT_GT(after.size(), 16384u) << writer.name;
        EXPECT_NE(after, before) << writer.name;
        for (const auto& [name, content] : SnapshotFolder(folder_.Path()))
            EXPECT_NE(name.front(), '.') << "temporary file left: " << name;
    }
}

}  // namespace
}  // namespace pomvella::testing
