#include <gtest/gtest.h>

#include <set>

#include "base/InputFile.h"
#include "character/CharacterJob.h"
#include "imaging/BmpReader.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleArchive.h"

namespace pomvella {
namespace {

using sample::SampleArchiveOptions;
using testing::TempFolder;

std::set<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class BuildCharacterFilesTest : public ::testing::Test {
protected:
    BuildCharacterFilesTest()
    {
        std::filesystem::create_directories(folder_ / "B");
        std::filesystem::create_directories(folder_ / "textures");
        job_.indexPath = folder_ / "TH2Data.000";
        job_.dataPath = folder_ / "TH2Data.001";
        job_.outputDir = folder_ / "B";
        job_.textureFolder = folder_ / "textures";
    }

    sample::SampleArchive WriteArchive(const SampleArchiveOptions& options)
    {
        sample::SampleArchive archive = sample::MakeSampleArchive(options);
        sample::WriteSampleArchive(archive, job_.indexPath, job_.dataPath);
        return archive;
    }

    std::filesystem::path Output(const std::string& name) const { return job_.outputDir / name; }

    TempFolder folder_;
    CharacterJob job_;
};

TEST_F(BuildCharacterFilesTest, WritesTheFourFilesAndLeavesTheCropsBesideTheProgram)
{
    WriteArchive(SampleArchiveOptions{});
    ASSERT_EQ(BuildCharacterFiles(job_), kBuildDone);

    EXPECT_EQ(NamesIn(job_.outputDir), (std::set<std::string>{"000.NAD", "001.BMP", "002.BMP", "003.BMP"}));
    for (const char* name : {"001.BMP", "002.BMP", "003.BMP"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(std::filesystem::file_size(Output(name)), 76854u);
        const Picture pose = LoadBmpFile(Output(name));
        EXPECT_EQ(pose.Format(), PixelFormat::Bgr24);
        EXPECT_EQ(pose.Width(), 160);
        // The background, black in the texture, reaches the corner seed.
        EXPECT_EQ(pose.PixelAt(0, 0), kLime);
    }
    EXPECT_EQ(std::filesystem::file_size(Output("000.NAD")), 38499u);

    EXPECT_EQ(NamesIn(job_.textureFolder), (std::set<std::string>{"C00200120.BM2.bmp", "C00210020.BM2.bmp",
                                                                   "C00210071.BM2.bmp", "C00210130.BM2.bmp"}));
    EXPECT_EQ(std::filesystem::file_size(job_.textureFolder / "C00210071.BM2.bmp"), 379194u);
    EXPECT_EQ(std::filesystem::file_size(job_.textureFolder / "C00200120.BM2.bmp"), 456978u);
}

TEST_F(BuildCharacterFilesTest, ArchivesWithoutWantedEntriesWriteNothing)
{
    struct Case {
        const char* what;
        SampleArchiveOptions options;
        int result;
    };
    SampleArchiveOptions wrongMagic;
    wrongMagic.magic = {'p', 'a', 'c', 'k'};
    SampleArchiveOptions magicWithNul;
    magicWithNul.magic = {'P', 'A', 'C', 0};
    SampleArchiveOptions emptyDirectory;
    emptyDirectory.headerCount = 0;
    SampleArchiveOptions decoysOnly;
    decoysOnly.wanted = {};
    decoysOnly.decoys = true;
    const Case cases[] = {
        {"magic in lower case", wrongMagic, kBuildNotPackArchive},
        {"NUL in the magic", magicWithNul, kBuildNotPackArchive},
        {"entry count 0", emptyDirectory, kBuildDone},
        {"only names that nearly match", decoysOnly, kBuildDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteArchive(c.options);
        EXPECT_EQ(BuildCharacterFiles(job_), c.result);
        EXPECT_TRUE(NamesIn(job_.outputDir).empty());
        EXPECT_TRUE(NamesIn(job_.textureFolder).empty());
    }
}

TEST_F(BuildCharacterFilesTest, TheLaterOfTwoRecordsWithOneNameIsWhatRemains)
{
    SampleArchiveOptions options;
    options.wanted = {"C00210020.BM2", "C00210020.BM2"};
    sample::SampleArchive archive = WriteArchive(options);
    ASSERT_EQ(BuildCharacterFiles(job_), kBuildDone);
    const Bytes bothRecords = ReadWholeFile(Output("001.BMP"));

    // Rename the first of the two records: the second alone must give the same file.
    auto first = std::find_if(archive.records.begin(), archive.records.end(), [](const sample::SampleRecord& r) {
        return std::string(reinterpret_cast<const char*>(r.nameField.data())) == "C00210020.BM2";
    });
    ASSERT_NE(first, archive.records.end());
    const std::size_t nameOffset = 8 + 32 * static_cast<std::size_t>(first - archive.records.begin());
    archive.index[nameOffset] = 'X';
    sample::WriteSampleArchive(archive, job_.indexPath, job_.dataPath);
    std::filesystem::remove(Output("001.BMP"));
    ASSERT_EQ(BuildCharacterFiles(job_), kBuildDone);
    EXPECT_EQ(ReadWholeFile(Output("001.BMP")), bothRecords);
}

TEST_F(BuildCharacterFilesTest, AnErrorKeepsTheWholeFilesWrittenBeforeIt)
{
    // The directory promises one record more than the file holds; the outputs
    // appear in directory order, so the character file comes first here.
    SampleArchiveOptions options;
    options.wanted = {"C00200120.BM2", "C00210130.BM2"};
    options.recordCount = 10;
    options.headerCount = 11;
    WriteArchive(options);
    try {
        BuildCharacterFiles(job_);
        FAIL() << "the missing record must raise";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "ｽﾄﾘｰﾑからの読み込みｴﾗｰ");
    }
    EXPECT_EQ(NamesIn(job_.outputDir), (std::set<std::string>{"000.NAD", "003.BMP"}));
    EXPECT_EQ(std::filesystem::file_size(Output("000.NAD")), 38499u);
    EXPECT_EQ(std::filesystem::file_size(Output("003.BMP")), 76854u);
}

TEST_F(BuildCharacterFilesTest, AnOutputThatCannotBeCreatedIsNamedAndNothingIsLeftHalfWritten)
{
    WriteArchive(SampleArchiveOptions{});  // directory order: 000.NAD, 001, 002, 003
    std::filesystem::create_directory(Output("002.BMP"));
    try {
        BuildCharacterFiles(job_);
        FAIL() << "a folder in place of 002.BMP must raise";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), "ﾌｧｲﾙ " + PathText(Output("002.BMP")) + " を作成できません");
    }
    EXPECT_EQ(NamesIn(job_.outputDir), (std::set<std::string>{"000.NAD", "001.BMP", "002.BMP"}));
    EXPECT_EQ(std::filesystem::file_size(Output("001.BMP")), 76854u);
}

TEST_F(BuildCharacterFilesTest, AMissingCharacterFolderFailsAtTheFirstOutput)
{
    SampleArchiveOptions options;
    options.wanted = {"C00210071.BM2"};
    WriteArchive(options);
    job_.outputDir = folder_ / "missing" / "B";
    try {
        BuildCharacterFiles(job_);
        FAIL() << "writing into a missing folder must raise";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), "ﾌｧｲﾙ " + PathText(job_.outputDir / "002.BMP") + " を作成できません");
    }
}

}  // namespace
}  // namespace pomvella
