#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "archive/TextureBmp.h"
#include "tests/archive/PackFixtures.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::ErrorText;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* kReadError = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ";

// A BM2 entry built field by field: 54 header bytes, 10 further bytes, the
// palette as given (entry order), then the pixel bytes as given.
struct EntryFields {
    std::int32_t width = 4;
    std::int32_t height = 3;
    std::uint32_t fileSize = 0xA1B2C3D4;
    std::uint16_t reserved1 = 0x1111;
    std::uint16_t reserved2 = 0x2222;
    std::uint32_t offBits = 1088;
    std::uint32_t infoSize = 50;
    std::uint32_t sizeImage = 0xDEADBEEF;
    std::array<std::uint8_t, 1024> palette{};
    Bytes pixels;
};

Bytes MakeEntry(const EntryFields& fields)
{
    Bytes entry;
    ByteWriter out(entry);
    out.U8('B');
    out.U8('M');
    out.U32(fields.fileSize);
    out.U16(fields.reserved1);
    out.U16(fields.reserved2);
    out.U32(fields.offBits);
    out.U32(fields.infoSize);
    out.I32(fields.width);
    out.I32(fields.height);
    out.U16(1);
    out.U16(8);
    out.U32(0);
    out.U32(fields.sizeImage);
    out.U32(3780);
    out.U32(3781);
    out.U32(256);
    out.U32(7);
    for (int i = 0; i < 10; ++i)
        out.U8(static_cast<std::uint8_t>(0xE0 + i));  // dropped by the conversion
    out.Append(fields.palette);
    out.Append(fields.pixels);
    return entry;
}

Bytes Sequence(std::size_t count, std::uint8_t first = 1)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

ByteSpan Row(const Bytes& bmp, std::size_t width, std::size_t row)
{
    return ByteSpan(bmp).subspan(1078 + row * width, width);
}

TEST(TextureBmpTest, AFourByThreeEntryBecomesA1090ByteFileWithItsOuterRowsExchanged)
{
    EntryFields fields;
    fields.pixels = Sequence(12);
    const Bytes entry = MakeEntry(fields);
    ASSERT_EQ(entry.size(), 1100u);
    const Bytes bmp = ConvertTextureEntry(entry);

    ASSERT_EQ(bmp.size(), 1090u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(LoadU32(bmp, 2), 0xA1B2C3D4u);  // bfSize is not recomputed
    EXPECT_EQ(LoadU16(bmp, 6), 0);
    EXPECT_EQ(LoadU16(bmp, 8), 0);
    EXPECT_EQ(LoadU32(bmp, 10), 1078u);
    EXPECT_EQ(LoadU32(bmp, 14), 40u);
    EXPECT_EQ(LoadI32(bmp, 18), 4);
    EXPECT_EQ(LoadI32(bmp, 22), 3);
    EXPECT_EQ(LoadU16(bmp, 26), 1);
    EXPECT_EQ(LoadU16(bmp, 28), 8);
    EXPECT_EQ(LoadU32(bmp, 30), 0u);
    EXPECT_EQ(LoadU32(bmp, 34), 12u);
    EXPECT_EQ(LoadU32(bmp, 38), 3780u);
    EXPECT_EQ(LoadU32(bmp, 42), 3781u);
    EXPECT_EQ(LoadU32(bmp, 46), 256u);
    EXPECT_EQ(LoadU32(bmp, 50), 7u);
    EXPECT_EQ(Bytes(Row(bmp, 4, 0).begin(), Row(bmp, 4, 0).end()), (Bytes{9, 10, 11, 12}));
    EXPECT_EQ(Bytes(Row(bmp, 4, 1).begin(), Row(bmp, 4, 1).end()), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(Bytes(Row(bmp, 4, 2).begin(), Row(bmp, 4, 2).end()), (Bytes{1, 2, 3, 4}));
}

TEST(TextureBmpTest, PaletteColoursAreSwappedAndScaledByAlphaBelow128)
{
    struct Case {
        std::array<std::uint8_t, 4> entry;  // red, green, blue, alpha
        std::array<std::uint8_t, 4> file;   // blue, green, red, 0
    };
    const Case cases[] = {
        {{200, 100, 51, 100}, {40, 78, 156, 0}},
        {{192, 64, 1, 1}, {0, 1, 2, 0}},  // halves round upwards
        {{255, 255, 255, 0}, {0, 0, 0, 0}},
        {{255, 255, 255, 127}, {253, 253, 253, 0}},
        {{10, 20, 30, 128}, {30, 20, 10, 0}},
        {{10, 20, 30, 255}, {30, 20, 10, 0}},
        {{255, 0, 128, 64}, {64, 0, 128, 0}},  // (128*64+64)/128 = 64, (255*64+64)/128 = 128
    };
    // Entries 0..7 of a block keep their places, so case k sits at index k.
    EntryFields fields;
    fields.width = 0;
    fields.height = 0;
    for (std::size_t k = 0; k < std::size(cases); ++k)
        std::copy(cases[k].entry.begin(), cases[k].entry.end(), fields.palette.begin() + 4 * k);
    const Bytes bmp = ConvertTextureEntry(MakeEntry(fields));
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const ByteSpan colour = ByteSpan(bmp).subspan(54 + 4 * k, 4);
        EXPECT_EQ(std::vector<std::uint8_t>(colour.begin(), colour.end()),
                  std::vector<std::uint8_t>(cases[k].file.begin(), cases[k].file.end()))
            << "case " << k;
    }
}

TEST(TextureBmpTest, EntriesEightToFifteenOfEachBlockTradePlacesWithSixteenToTwentyThree)
{
    // Entry i holds red = i and alpha 128, so the file's entry j shows in its
    // red byte (its third) which entry it came from.
    EntryFields fields;
    fields.width = 0;
    fields.height = 0;
    for (int i = 0; i < 256; ++i) {
        fields.palette[4 * i] = static_cast<std::uint8_t>(i);
        fields.palette[4 * i + 3] = 128;
    }
    const Bytes bmp = ConvertTextureEntry(MakeEntry(fields));
    auto sourceOf = [&](int fileIndex) { return bmp[54 + 4 * fileIndex + 2]; };
    const std::pair<int, int> exchanged[] = {{8, 16}, {15, 23}, {40, 48}, {239, 247}, {232, 240}};
    for (const auto& [a, b] : exchanged) {
        EXPECT_EQ(sourceOf(a), b);
        EXPECT_EQ(sourceOf(b), a);
    }
    for (int block = 0; block < 256; block += 32) {
        for (int j = 0; j < 8; ++j) {
            EXPECT_EQ(sourceOf(block + j), block + j);
            EXPECT_EQ(sourceOf(block + 24 + j), block + 24 + j);
            EXPECT_EQ(sourceOf(block + 8 + j), block + 16 + j);
        }
    }
}

TEST(TextureBmpTest, OnlyTheLow16BitsOfOffBitsLoseTen)
{
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {1088, 1078}, {0x00010005, 0x0001FFFB}, {0xFFFF000A, 0xFFFF0000}, {0, 0xFFF6}};
    for (const auto& [entryValue, fileValue] : cases) {
        EntryFields fields;
        fields.offBits = entryValue;
        fields.pixels = Sequence(12);
        EXPECT_EQ(LoadU32(ConvertTextureEntry(MakeEntry(fields)), 10), fileValue) << entryValue;
    }
}

TEST(TextureBmpTest, RowReversalFollowsTheLow16BitsOfWidthAndHeight)
{
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::size_t pixelBytes;
        std::uint32_t rowBytes;  // w as the reversal sees it
        std::uint32_t rows;      // h as the reversal sees it
    };
    const Case cases[] = {
        {4, 0, 12, 4, 0},            // no rows: nothing moves
        {4, 1, 12, 4, 1},            // one row: nothing moves
        {3, 5, 17, 3, 5},            // odd height: the middle row stays, bytes after the rows stay
        {700, 4, 2800, 700, 4},      // rows longer than 641 bytes
        {0x10004, 0x20003, 12, 4, 3},  // only the low 16 bits count
        {5, -65534, 10, 5, 2},       // -65534 is 0xFFFF0002
        {0, 9, 5, 0, 9},             // empty rows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EntryFields fields;
        fields.width = c.width;
        fields.height = c.height;
        fields.pixels = Sequence(c.pixelBytes);
        const Bytes bmp = ConvertTextureEntry(MakeEntry(fields));
        ASSERT_EQ(bmp.size(), 1078 + c.pixelBytes);
        Bytes expected = fields.pixels;
        for (std::uint32_t r = 0; r < c.rows / 2; ++r) {
            std::swap_ranges(expected.begin() + r * c.rowBytes, expected.begin() + (r + 1) * c.rowBytes,
                             expected.begin() + (c.rows - 1 - r) * c.rowBytes);
        }
        EXPECT_EQ(Bytes(bmp.begin() + 1078, bmp.end()), expected);
        EXPECT_EQ(LoadU32(bmp, 34), c.pixelBytes);
    }
}

TEST(TextureBmpTest, EntriesTooShortForTheHeaderBlockOrTheRowsRaiseTheReadError)
{
    const Bytes full = [] {
        EntryFields fields;
        fields.pixels = Sequence(12);
        return MakeEntry(fields);
    }();
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65},
                             std::size_t{1000}, std::size_t{1087}}) {
        EXPECT_EQ(ErrorText([&] { ConvertTextureEntry(ByteSpan(full).first(size)); }), kReadError) << size;
    }
    // 1088 bytes: a header block and no pixels is fine while h < 2.
    EntryFields empty;
    empty.height = 1;
    empty.width = 60000;
    EXPECT_EQ(ConvertTextureEntry(MakeEntry(empty)).size(), 1078u);

    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::size_t pixelBytes;
    };
    const Case shortRows[] = {
        {4, 3, 11},
        {4, 2, 7},
        {642, 2, 1283},
        {65535, 65535, 100},  // h * w needs 32 bits
        {-1, -1, 4096},
    };
    for (const Case& c : shortRows) {
        EntryFields fields;
        fields.width = c.width;
        fields.height = c.height;
        fields.pixels = Sequence(c.pixelBytes);
        EXPECT_EQ(ErrorText([&] { ConvertTextureEntry(MakeEntry(fields)); }), kReadError)
            << c.width << " x " << c.height;
    }
}

struct DataFileFixture {
    TempFolder folder;
    std::filesystem::path dataPath = folder / "TH2Data.001";
    Bytes entry = [] {
        EntryFields fields;
        fields.pixels = Sequence(12);
        return MakeEntry(fields);
    }();
    std::int32_t entryOffset = 37;

    DataFileFixture()
    {
        // Other bytes before and after the entry.
        Bytes data(static_cast<std::size_t>(DataSize()), 0xAA);
        std::copy(entry.begin(), entry.end(), data.begin() + entryOffset);
        WriteFile(dataPath, data);
    }
    std::int32_t DataSize() const { return entryOffset + static_cast<std::int32_t>(entry.size()) + 5; }
};

TEST(WriteTextureBmpTest, WritesTheConvertedEntryNamedAfterItAndReplacesAnOldFile)
{
    DataFileFixture fixture;
    InputFile data(fixture.dataPath);
    const std::filesystem::path expectedPath = fixture.folder / "C00200120.BM2.bmp";
    WriteFile(expectedPath, Bytes(5000, 1));

    const PackEntry entry{"C00200120.BM2", fixture.entryOffset, static_cast<std::int32_t>(fixture.entry.size())};
    EXPECT_EQ(WriteTextureBmp(data, entry, fixture.folder.Path()), expectedPath);
    EXPECT_EQ(ReadWholeFile(expectedPath), ConvertTextureEntry(fixture.entry));
    EXPECT_EQ(ReadTextureBmp(data, entry), ConvertTextureEntry(fixture.entry));
}

TEST(WriteTextureBmpTest, EntriesOutsideTheDataFileRaiseTheReadErrorAndWriteNothing)
{
    DataFileFixture fixture;
    InputFile data(fixture.dataPath);
    const auto entrySize = static_cast<std::int32_t>(fixture.entry.size());
    struct Case {
        const char* what;
        std::int32_t offset;
        std::int32_t size;
    };
    const Case cases[] = {
        {"one byte past the end", fixture.DataSize() - entrySize + 1, entrySize},
        {"offset past the end", fixture.DataSize() + 1, 1100},
        {"huge size", 0, 2147483647},
        {"negative offset", -1, entrySize},
        {"most negative offset", -2147483647 - 1, entrySize},
        {"negative size", fixture.entryOffset, -1},
        {"empty entry", fixture.entryOffset, 0},
        {"64 bytes", fixture.entryOffset, 64},
        {"1087 bytes", fixture.entryOffset, 1087},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PackEntry entry{"C00210020.BM2", c.offset, c.size};
        EXPECT_EQ(ErrorText([&] { WriteTextureBmp(data, entry, fixture.folder.Path()); }), kReadError);
        EXPECT_FALSE(std::filesystem::exists(fixture.folder / "C00210020.BM2.bmp"));
    }
    // The entry exactly up to the end of the file is fine.
    const PackEntry last{"C00210020.BM2", fixture.DataSize() - 5 - entrySize, entrySize + 5};
    EXPECT_NO_THROW(WriteTextureBmp(data, last, fixture.folder.Path()));
}

TEST(WriteTextureBmpTest, ANameThatWouldLeaveTheFolderOrAMissingFolderCannotBeCreated)
{
    DataFileFixture fixture;
    InputFile data(fixture.dataPath);
    const auto size = static_cast<std::int32_t>(fixture.entry.size());
    for (const std::string name : {"../C00200120.BM2", "sub/x", "a\\b", "C:x"}) {
        const PackEntry entry{name, fixture.entryOffset, size};
        const std::string text = ErrorText([&] { WriteTextureBmp(data, entry, fixture.folder.Path()); });
        EXPECT_EQ(text, "ﾌｧｲﾙ " + PathText(fixture.folder.Path() / (name + ".bmp")) + " を作成できません");
    }
    const PackEntry entry{"C00200120.BM2", fixture.entryOffset, size};
    const auto missing = fixture.folder / "missing";
    EXPECT_EQ(ErrorText([&] { WriteTextureBmp(data, entry, missing); }),
              "ﾌｧｲﾙ " + PathText(missing / "C00200120.BM2.bmp") + " を作成できません");
}

}  // namespace
}  // namespace pomvella
