#include <gtest/gtest.h>

#include <functional>

#include "archive/DataPath.h"
#include "archive/PackArchive.h"
#include "tests/archive/PackFixtures.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::IndexBuilder;
using testing::ErrorText;
using testing::TempFolder;
using testing::WriteFile;

struct ArchiveFiles {
    TempFolder folder;
    std::filesystem::path index = folder / "TH2Data.000";
    std::filesystem::path data = folder / "TH2Data.001";
};

TEST(PackArchiveTest, OnlyTheExactMagicOpensTheArchive)
{
    struct Case {
        std::string magic;
        bool opens;
    };
    const Case cases[] = {
        {"PACK", true},
        {"pack", false},
        {"Pack", false},
        {std::string("PAC\0", 4), false},
        {"KCAP", false},
        {std::string("\0ACK", 4), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.magic);
        ArchiveFiles files;
        WriteFile(files.index, IndexBuilder(c.magic, 0).Data());
        // No data file: a wrong magic must be reported without trying to open it.
        if (c.opens) {
            EXPECT_EQ(ErrorText([&] { PackArchive::OpenPackArchive(files.index, files.data); }),
                      "ﾌｧｲﾙ " + PathText(files.data) + " は開けません");
            WriteFile(files.data, Bytes{});
            EXPECT_NE(PackArchive::OpenPackArchive(files.index, files.data), nullptr);
        } else {
            EXPECT_EQ(PackArchive::OpenPackArchive(files.index, files.data), nullptr);
        }
    }
}

TEST(PackArchiveTest, AMissingOrShortIndexRaisesTheMatchingError)
{
    ArchiveFiles files;
    WriteFile(files.data, Bytes{});
    EXPECT_EQ(ErrorText([&] { PackArchive::OpenPackArchive(files.index, files.data); }),
              "ﾌｧｲﾙ " + PathText(files.index) + " は開けません");
    for (const Bytes& shortIndex : {Bytes{}, Bytes{'P', 'A', 'C', 'K'}, Bytes{'P', 'A', 'C', 'K', 1, 0, 0}}) {
        WriteFile(files.index, shortIndex);
        EXPECT_EQ(ErrorText([&] { PackArchive::OpenPackArchive(files.index, files.data); }),
                  "ｽﾄﾘｰﾑからの読み込みｴﾗｰ");
    }
}

TEST(PackArchiveTest, TheCountIsTheUnsigned16BitsAfterTheMagic)
{
    struct Case {
        std::uint16_t count;
        std::uint16_t unused;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{0x1234, 0xFFFF}, Case{0xFFFF, 0}}) {
        ArchiveFiles files;
        WriteFile(files.index, IndexBuilder("PACK", c.count, c.unused).Data());
        WriteFile(files.data, Bytes{});
        const auto archive = PackArchive::OpenPackArchive(files.index, files.data);
        ASSERT_NE(archive, nullptr);
        EXPECT_EQ(archive->EntryCount(), c.count);
    }
}

TEST(PackArchiveTest, RecordsGiveNameUpToTheFirstNulAndSignedOffsetAndSize)
{
    ArchiveFiles files;
    const std::string fullField = "C00200120.BM2ABCDEFGHIJK";  // 24 bytes, no NUL
    WriteFile(files.index, IndexBuilder("PACK", 5)
                               .Record("C00200120.BM2", 100, 2000, std::string("\0garbage\x01", 9))
                               .Record(fullField, -1, -2147483647 - 1)
                               .Record("", 0, 0)
                               .Record("\x81\x5C\xFF\x7F", 2147483647, 7)
                               .Record("c00200120.BM2 ", 1, 2)
                               .Data());
    WriteFile(files.data, Bytes{});
    const auto archive = PackArchive::OpenPackArchive(files.index, files.data);
    ASSERT_NE(archive, nullptr);

    struct Expected {
        std::string name;
        std::int32_t offset;
        std::int32_t size;
    };
    const Expected expected[] = {
        {"C00200120.BM2", 100, 2000},
        {fullField, -1, -2147483647 - 1},
        {"", 0, 0},
        {"\x81\x5C\xFF\x7F", 2147483647, 7},
        {"c00200120.BM2 ", 1, 2},
    };
    // Records are read by their own seek, in any order.
    for (int i : {3, 1, 5, 2, 4}) {
        const PackEntry entry = archive->ReadPackEntry(i);
        EXPECT_EQ(entry.name, expected[i - 1].name) << i;
        EXPECT_EQ(entry.offset, expected[i - 1].offset) << i;
        EXPECT_EQ(entry.size, expected[i - 1].size) << i;
    }
    EXPECT_EQ(archive->ReadPackEntry(2).name.size(), 24u);
}

TEST(PackArchiveTest, AnIndexThatEndsBeforeARecordRaisesTheReadErrorThere)
{
    ArchiveFiles files;
    Bytes index = IndexBuilder("PACK", 4).Record("A", 0, 1).Record("B", 1, 1).Record("C", 2, 1).Data();
    index.resize(index.size() - 1);  // the third record lacks its last byte
    WriteFile(files.index, index);
    WriteFile(files.data, Bytes{});
    const auto archive = PackArchive::OpenPackArchive(files.index, files.data);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->ReadPackEntry(1).name, "A");
    EXPECT_EQ(archive->ReadPackEntry(2).name, "B");
    for (int i : {3, 4, 0, -1}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ErrorText([&] { archive->ReadPackEntry(i); }), "ｽﾄﾘｰﾑからの読み込みｴﾗｰ");
    }
}

TEST(PackArchiveTest, TheIndexAloneCanBeListed)
{
    ArchiveFiles files;
    WriteFile(files.index, IndexBuilder("PACK", 2).Record("X.BM2", 8, 9).Record("Y.BM2", 10, 11).Data());
    InputFile index(files.index);
    EXPECT_EQ(ReadPackHeader(index), std::optional<std::uint16_t>(2));
    EXPECT_EQ(ReadPackEntry(index, 2).name, "Y.BM2");
    EXPECT_EQ(ReadPackEntry(index, 1).offset, 8);
}

TEST(PackArchiveTest, ClosingReleasesBothStreamsAndIsIdempotent)
{
    ArchiveFiles files;
    WriteFile(files.index, IndexBuilder("PACK", 1).Record("A", 0, 1).Data());
    WriteFile(files.data, Bytes{1});
    const auto archive = PackArchive::OpenPackArchive(files.index, files.data);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->DataStream().Size(), 1u);
    archive->ClosePackArchive();
    archive->ClosePackArchive();
    EXPECT_THROW(archive->DataStream(), Error);
    EXPECT_THROW(archive->ReadPackEntry(1), Error);
}

TEST(PackArchiveTest, NamesMatchOnlyWithTheSameBytes)
{
    struct Case {
        std::string name;
        bool matches;
    };
    const Case cases[] = {
        {"C00200120.BM2", true},
        {"c00200120.BM2", false},
        {"C00200120.bm2", false},
        {"C00200120.BM2 ", false},
        {" C00200120.BM2", false},
        {"C00200120.BM", false},
        {"C00200120.BM2ABCDEFGHIJK", false},
        {std::string("C00200120.BM2\0", 14), false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameMatches(c.name, "C00200120.BM2"), c.matches) << c.name;
}

TEST(DataPathTest, TheExtensionIsReplacedFromTheLastDotOfTheLastComponent)
{
    struct Case {
        std::filesystem::path path;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"TH2Data.000", "TH2Data.001"},
        {"game/TH2Data.000", "game/TH2Data.001"},
        {"game/TH2Data", "game/TH2Data.001"},
        {"game.dir/TH2Data", "game.dir/TH2Data.001"},
        {"game/TH2.Data.000", "game/TH2.Data.001"},
        {"game/.hidden", "game/.001"},
        {"game/name.", "game/name.001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataPathForIndex(c.path), c.expected) << c.path;
    EXPECT_EQ(ChangeExtension("a/b.bmp", ".nad"), std::filesystem::path("a/b.nad"));
}

}  // namespace
}  // namespace pomvella
