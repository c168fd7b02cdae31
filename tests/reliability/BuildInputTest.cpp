// pomvella-cli build with bad inputs and bad usage: each case exits with its
// status and message and leaves no character folder behind (or, once the
// conversion has started, only whole files).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "FaultSupport.h"
#include "FolderSnapshot.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella::testing {
namespace {

struct BuildInputCase {
    const char* name;
    std::vector<std::string> arguments;  // INDEX and HOST stand for the fixture's files
    int exitStatus;
    std::string stderrText;  // the whole of standard error
    bool characterFolderMade;
};

const std::string kIndexMissing = "指定されたToHeart2インデクスが見つかりません　　\n";
const std::string kDataMissing = "関連するToHeart2データが見つかりません　　\n";
const std::string kHostMissing = "Ruvelle実行ファイルが見つかりません　　\n";
const std::string kNotPack = "ToHeart2ファイルではありませんでした　　\n";
const std::string kConfirm = "実行しますか？\r\n\r\n（実行前にRuvelleが実行中なら終了してください）　　\n[y/N] ";
const std::string kReadError = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ.\n";
const std::string kUsage = "usage: pomvella-cli build INDEX HOST [--yes] [--launch]\n";

class BuildInputTest : public ::testing::TestWithParam<BuildInputCase> {
protected:
    void SetUp() override
    {
        fs::create_directories(folder_ / "tool");
        fs::copy_file(POMVELLA_CLI, folder_ / "tool" / "pomvella-cli");
        fs::create_directories(folder_ / "Ruvelle");
        std::ofstream(folder_ / "Ruvelle" / "Ruvelle.exe") << "";
        sample::SampleArchiveOptions options;
        options.recordCount = 6;
        options.textureWidth = 32;
        options.textureHeight = 16;
        const sample::SampleArchive good = sample::MakeSampleArchive(options);
        sample::WriteSampleArchive(good, folder_ / "TH2Data.000", folder_ / "TH2Data.001");
        // Index without its data file; wrong magic; a count past the records.
        sample::WriteSampleArchive(good, folder_ / "alone.000", folder_ / "alone.001");
        fs::remove(folder_ / "alone.001");
        options.magic = {'P', 'A', 'C', 'k'};
        sample::WriteSampleArchive(sample::MakeSampleArchive(options), folder_ / "magic.000", folder_ / "magic.001");
        options.magic = {'P', 'A', 'C', 'K'};
        options.headerCount = 7;
        sample::WriteSampleArchive(sample::MakeSampleArchive(options), folder_ / "count.000", folder_ / "count.001");
    }

    std::string Expand(const std::string& argument) const
    {
        if (argument == "HOST")
            return (folder_ / "Ruvelle" / "Ruvelle.exe").string();
        if (argument.size() > 4 && argument.substr(argument.size() - 4) == ".000")
            return (folder_ / argument).string();
        return argument;
    }

    TempFolder folder_;
};

TEST_P(BuildInputTest, ExitsWithItsStatusAndMessage)
{
    const BuildInputCase& c = GetParam();
    std::vector<std::string> argv = {(folder_ / "tool" / "pomvella-cli").string(), "build"};
    for (const std::string& argument : c.arguments)
        argv.push_back(Expand(argument));
    ChildSetup setup;
    setup.workingFolder = folder_.Path();
    const ChildResult result = RunChild(argv, setup);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
    EXPECT_EQ(result.err, c.stderrText);
    const fs::path characterFolder = folder_ / "Ruvelle" / "B";
    EXPECT_EQ(fs::exists(characterFolder), c.characterFolderMade);
    // Nothing half-written anywhere.
    for (const auto& [name, content] : SnapshotFolder(folder_.Path()))
        EXPECT_NE(fs::path(name).filename().string().front(), '.') << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildInputTest,
    ::testing::Values(
        BuildInputCase{"NoArguments", {}, 2, kUsage, false},
        BuildInputCase{"ThreePaths", {"TH2Data.000", "HOST", "extra"}, 2, kUsage, false},
        BuildInputCase{"UnknownOption", {"TH2Data.000", "HOST", "--force"}, 2, kUsage, false},
        BuildInputCase{"IndexMissing", {"none.000", "HOST", "--yes"}, 2, kIndexMissing, false},
        BuildInputCase{"DataFileMissing", {"alone.000", "HOST", "--yes"}, 2, kDataMissing, false},
        BuildInputCase{"HostMissing", {"TH2Data.000", "no-such-host.exe", "--yes"}, 2, kHostMissing, false},
        BuildInputCase{"NotConfirmed", {"TH2Data.000", "HOST"}, 4, kConfirm, false},
        BuildInputCase{"WrongMagic", {"magic.000", "HOST", "--yes"}, 1, kNotPack, true},
        BuildInputCase{"CountPastTheRecords", {"count.000", "HOST", "--yes"}, 3, kReadError, true}),
    [](const ::testing::TestParamInfo<BuildInputCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pomvella::testing
