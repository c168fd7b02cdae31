#include <gtest/gtest.h>

#include <fstream>

#include "base/AtomicFile.h"
#include "base/ExecutableFolder.h"
#include "base/InputFile.h"
#include "base/MemoryStream.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::TempFolder;

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::size_t EntriesIn(const std::filesystem::path& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(InputFileTest, OpeningAMissingFileOrAFolderNamesThePath)
{
    TempFolder folder;
    for (const auto& path : {folder / "missing.000", folder.Path()}) {
        try {
            InputFile file(path);
            FAIL() << "opening must fail";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), "ﾌｧｲﾙ " + PathText(path) + " は開けません");
        }
    }
}

TEST(InputFileTest, ReadsExactCountsAndRaisesWhenTheFileEndsEarly)
{
    TempFolder folder;
    WriteFile(folder / "data", Bytes{10, 11, 12, 13, 14});
    InputFile file(folder / "data");
    EXPECT_EQ(file.Size(), 5u);
    file.Seek(1);
    EXPECT_EQ(file.Read(3), (Bytes{11, 12, 13}));
    EXPECT_THROW(file.Read(2), Error);
    file.Seek(100);
    EXPECT_THROW(file.Read(1), Error);
    // A huge count is refused before anything is allocated for it.
    file.Seek(0);
    EXPECT_THROW(file.Read(SIZE_MAX), Error);
    EXPECT_EQ(ReadWholeFile(folder / "data"), (Bytes{10, 11, 12, 13, 14}));
}

TEST(MemoryStreamTest, WritesGrowReadsAreExactAndSeekingPastTheEndPadsWithZeros)
{
    MemoryStream stream;
    stream.Write(Bytes{1, 2, 3});
    stream.Seek(5);
    stream.Write(Bytes{9});
    EXPECT_EQ(Bytes(stream.Data().begin(), stream.Data().end()), (Bytes{1, 2, 3, 0, 0, 9}));
    stream.Seek(1);
    stream.Write(Bytes{7});
    EXPECT_EQ(stream.Size(), 6u);
    Bytes two(2);
    stream.Seek(1);
    stream.Read(two);
    EXPECT_EQ(two, (Bytes{7, 3}));
    stream.Seek(5);
    EXPECT_THROW(stream.Read(two), Error);
    stream.Seek(SIZE_MAX);
    EXPECT_THROW(stream.Write(Bytes{1}), Error);
}

TEST(MemoryStreamTest, CopyFromFileDeliversTheFullCountOrRaises)
{
    TempFolder folder;
    WriteFile(folder / "data", Bytes{1, 2, 3, 4, 5, 6});
    InputFile file(folder / "data");
    MemoryStream stream;
    file.Seek(2);
    stream.Seek(1);
    stream.CopyFrom(file, 3);
    EXPECT_EQ(Bytes(stream.Data().begin(), stream.Data().end()), (Bytes{0, 3, 4, 5}));
    EXPECT_EQ(stream.Position(), 4u);
    EXPECT_THROW(stream.CopyFrom(file, 2), Error);
    EXPECT_THROW(stream.CopyFrom(file, SIZE_MAX), Error);
    EXPECT_EQ(stream.Size(), 4u) << "a failed copy must not grow the stream";
}

TEST(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const auto target = folder / "001.BMP";
    ReplaceFileAtomically(target, Bytes{1, 2, 3});
    ReplaceFileAtomically(target, Bytes{4});
    EXPECT_EQ(ReadWholeFile(target), (Bytes{4}));
    ReplaceFileAtomically(target, Bytes{});
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicFileTest, KeepsANonAsciiNameWhole)
{
    TempFolder folder;
    const auto target = folder.Path() / std::filesystem::path(u8"キャラ表ソ.BMP");
    ReplaceFileAtomically(target, Bytes{7, 8});
    EXPECT_EQ(ReadWholeFile(target), (Bytes{7, 8}));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicFileTest, FailuresNameTheTargetAndKeepTheOldFile)
{
    TempFolder folder;
    // A folder standing where the file should go cannot be replaced.
    std::filesystem::create_directory(folder / "000.NAD");
    try {
        ReplaceFileAtomically(folder / "000.NAD", Bytes{1});
        FAIL() << "replacing a folder must fail";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), "ﾌｧｲﾙ " + PathText(folder / "000.NAD") + " を作成できません");
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "000.NAD"));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "the temporary file must be gone";

    // A missing folder.
    EXPECT_THROW(ReplaceFileAtomically(folder / "no-such-folder" / "001.BMP", Bytes{1}), Error);
}

TEST(ExecutableFolderTest, IsTheFolderHoldingTheRunningProgram)
{
    const auto folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(folder / "test_base")) << folder;
}

}  // namespace
}  // namespace pomvella
