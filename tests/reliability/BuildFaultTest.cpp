// pomvella-cli build writing the character folder while writes fail: the
// file size limit stops a temporary texture file, the character folder's
// file system is full, a folder stands where an output goes, the character
// folder is read-only. Each run exits with 3 and the error's text; the
// outputs written before the fault are complete, the ones from the fault on
// are byte for byte those of the previous run, and no temporary file stays
// in the character folder or beside the executable.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ChildProcess.h"
#include "FaultSupport.h"
#include "FolderSnapshot.h"
#include "TmpfsMount.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella::testing {
namespace {

const char* const kOutputs[] = {"000.NAD", "001.BMP", "002.BMP", "003.BMP"};  // in directory order

class BuildFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(folder_.Path(), fs::perms(0755));
        // The tool writes its temporary texture files beside itself: a copy
        // of its own keeps them here, where an unprivileged run may write.
        fs::create_directories(toolFolder_);
        fs::copy_file(POMVELLA_CLI, cli_);
        fs::permissions(cli_, fs::perms(0755));
        fs::create_directories(hostFolder_);
        WriteFile(hostFolder_ / "Ruvelle.exe", "");
        WriteArchive("previous", 2);
        WriteArchive("current", 1);
    }

    void WriteArchive(const std::string& name, std::uint32_t seed)
    {
        sample::SampleArchiveOptions options;
        options.seed = seed;
        options.recordCount = 8;
        options.textureWidth = 200;  // smaller than the game's, quick; the crops reach past them into black
        options.textureHeight = 160;
        fs::create_directories(folder_ / name);
        sample::WriteSampleArchive(sample::MakeSampleArchive(options), folder_ / name / "TH2Data.000",
                                   folder_ / name / "TH2Data.001");
    }

    std::vector<std::string> Build(const std::string& archive) const
    {
        return {cli_.string(), "build", (folder_ / archive / "TH2Data.000").string(),
                (hostFolder_ / "Ruvelle.exe").string(), "--yes"};
    }

    static void WriteFile(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    // No hidden ".<name>.<hex>.tmp" of an atomic write anywhere.
    void ExpectNoTemporaryFiles() const
    {
        for (const fs::path& folder : {characterFolder_, toolFolder_})
            for (const auto& [name, content] : SnapshotFolder(folder))
                EXPECT_NE(fs::path(name).filename().string().front(), '.') << "left behind: " << folder / name;
    }

    TempFolder folder_;
    fs::path toolFolder_ = folder_ / "tool";
    fs::path cli_ = toolFolder_ / "pomvella-cli";
    fs::path hostFolder_ = folder_ / "Ruvelle";
    fs::path characterFolder_ = hostFolder_ / "B";
};

// The two archives give different outputs, and a run replaces all four:
// without that, "unchanged" below would prove nothing.
TEST_F(BuildFaultTest, WithoutAFaultARunReplacesEveryOutput)
{
    RunOk(Build("previous"), folder_.Path());
    const FolderSnapshot previous = SnapshotFolder(characterFolder_);
    ASSERT_EQ(previous.size(), 4u) << NamesOf(previous);
    RunOk(Build("current"), folder_.Path());
    const FolderSnapshot current = SnapshotFolder(characterFolder_);
    ASSERT_EQ(current.size(), 4u) << NamesOf(current);
    for (const char* name : kOutputs)
        EXPECT_TRUE(current.at(name) != previous.at(name)) << name << " was not replaced";
    ExpectNoTemporaryFiles();
}

struct BuildFault {
    const char* name;
    // Outputs the faulty run replaces before it stops; the others keep the
    // previous run's bytes.
    int replacedBefore;
};

class BuildFaultCaseTest : public BuildFaultTest, public ::testing::WithParamInterface<BuildFault> {};

TEST_P(BuildFaultCaseTest, StopsWithCompleteOutputsOnly)
{
    const std::string fault = GetParam().name;
    std::optional<TmpfsMount> mount;
    if (fault == "FullFileSystem") {
        if (geteuid() != 0)
            GTEST_SKIP() << "filling a file system needs a tmpfs of its own, and mounting one needs root";
        mount.emplace(characterFolder_, "512k");
        if (!mount->Mounted())
            GTEST_SKIP() << "this environment does not allow mounting a tmpfs (" << mount->Failure()
                         << "); the file size limit case covers a write that fails part-way";
    }
    RunOk(Build("previous"), folder_.Path());
    const FolderSnapshot previous = SnapshotFolder(characterFolder_);

    ChildSetup setup;
    setup.workingFolder = folder_.Path();
    std::string expectedError = kWriteError;
    if (fault == "FileSizeLimit") {
        // The texture file of the first entry is written, its crop is not.
        setup.fileSizeLimit = 64 * 1024;
    } else if (fault == "FullFileSystem") {
        FillFileSystem(*mount, characterFolder_ / "filler", 16384);
    } else if (fault == "FolderInPlaceOf002") {
        fs::remove(characterFolder_ / "002.BMP");
        fs::create_directories(characterFolder_ / "002.BMP" / "kept");
        expectedError = CreateError(characterFolder_ / "002.BMP");
    } else if (fault == "ReadOnlyCharacterFolder") {
        setup.unprivileged = true;
        if (geteuid() == 0) {
            ASSERT_EQ(chown(characterFolder_.c_str(), kNobody, kNobody), 0);
            ASSERT_EQ(chown(toolFolder_.c_str(), kNobody, kNobody), 0);
        }
        fs::permissions(characterFolder_, fs::perms(0555));
        expectedError = CreateError(characterFolder_ / "000.NAD");
    }
    const FolderSnapshot before = SnapshotFolder(characterFolder_);

    const ChildResult result = RunChild(Build("current"), setup);
    fs::permissions(characterFolder_, fs::perms(0755));
    const FolderSnapshot after = SnapshotFolder(characterFolder_);

    EXPECT_EQ(result.exitStatus, 3) << "signal " << result.signal << ", stderr: " << result.err;
    EXPECT_EQ(result.err, expectedError);
    ExpectNoTemporaryFiles();
    // The character folder: the outputs before the fault are new and whole
    // (the fault-free test shows they then differ from the previous ones),
    // everything else exactly as before the run.
    FolderSnapshot expected = before;
    for (int i = 0; i < GetParam().replacedBefore; ++i) {
        ASSERT_TRUE(after.count(kOutputs[i])) << kOutputs[i];
        expected[kOutputs[i]] = after.at(kOutputs[i]);
        EXPECT_TRUE(after.at(kOutputs[i]) != previous.at(kOutputs[i])) << kOutputs[i] << " was not replaced";
    }
    EXPECT_EQ(Differences(expected, after), "");
}

INSTANTIATE_TEST_SUITE_P(Faults, BuildFaultCaseTest,
                         ::testing::Values(BuildFault{"FileSizeLimit", 0}, BuildFault{"FullFileSystem", 0},
                                           BuildFault{"FolderInPlaceOf002", 2},
                                           BuildFault{"ReadOnlyCharacterFolder", 0}),
                         [](const ::testing::TestParamInfo<BuildFault>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pomvella::testing
