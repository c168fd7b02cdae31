#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/Error.h"
#include "base/InputFile.h"
#include "imaging/BmpReader.h"
#include "imaging/PictureOps.h"
#include "tests/imaging/BmpFixture.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::BmpFields;
using testing::BuildBmp;

// Two stored rows of a 3 × 2 24-bit file: 9 pixel bytes and 3 bytes of padding
// each. The padding is not zero, to show it is skipped.
const std::vector<std::uint8_t> kFirstStoredRow = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xAA, 0xAA, 0xAA};
const std::vector<std::uint8_t> kSecondStoredRow = {11, 12, 13, 14, 15, 16, 17, 18, 19, 0xBB, 0xBB, 0xBB};

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::uint8_t> PixelBytes(const std::vector<std::uint8_t>& storedRow, std::size_t count)
{
    return {storedRow.begin(), storedRow.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<std::uint8_t> RowOf(const Picture& picture, int y)
{
    const auto row = picture.Row(y);
    return {row.begin(), row.end()};
}

TEST(BmpReaderTest, Reads24BitRowsInTheOrderTheHeightSignGives)
{
    struct Case {
        const char* name;
        std::int32_t height;
        std::size_t infoSize;
        std::size_t gap;
        bool lastPaddingMissing;
        const std::vector<std::uint8_t>* topRow;
        const std::vector<std::uint8_t>* bottomRow;
    };
    const Case cases[] = {
        {"bottom-up", 2, 40, 0, false, &kSecondStoredRow, &kFirstStoredRow},
        {"top-down", -2, 40, 0, false, &kFirstStoredRow, &kSecondStoredRow},
        {"longer info header, gap before the rows", 2, 124, 7, false, &kSecondStoredRow, &kFirstStoredRow},
        {"last row without its padding", 2, 40, 0, true, &kSecondStoredRow, &kFirstStoredRow},
    };
    for (const Case& c : cases) {
        BmpFields fields;
        fields.width = 3;
        fields.height = c.height;
        fields.infoSize = static_cast<std::uint32_t>(c.infoSize);
        fields.gap = c.gap;
        fields.rows = Concat(kFirstStoredRow, kSecondStoredRow);
        if (c.lastPaddingMissing)
            fields.rows.resize(fields.rows.size() - 3);
        const Picture picture = DecodeBmp(BuildBmp(fields));
        EXPECT_EQ(picture.Format(), PixelFormat::Bgr24) << c.name;
        ASSERT_EQ(picture.Width(), 3) << c.name;
        ASSERT_EQ(picture.Height(), 2) << c.name;
        EXPECT_EQ(RowOf(picture, 0), PixelBytes(*c.topRow, 9)) << c.name;
        EXPECT_EQ(RowOf(picture, 1), PixelBytes(*c.bottomRow, 9)) << c.name;
        // The stored bytes are blue, green, red.
        EXPECT_EQ(picture.PixelAt(0, 0), (Rgb{c.topRow->at(2), c.topRow->at(1), c.topRow->at(0)})) << c.name;
    }
}

TEST(BmpReaderTest, IndexedPicturePadsAShortColourTableWithBlack)
{
    BmpFields fields;
    fields.width = 3;
    fields.height = 2;
    fields.bitCount = 8;
    fields.coloursUsed = 2;
    fields.table = {10, 20, 30, 0, 40, 50, 60, 0};  // blue, green, red, 0
    fields.rows = {0, 1, 2, 0xCC, 255, 1, 0, 0xCC};  // 3 indices and 1 byte of padding a row
    const Picture picture = DecodeBmp(BuildBmp(fields));

    ASSERT_EQ(picture.Format(), PixelFormat::Indexed8);
    ASSERT_EQ(picture.Palette().size(), 256u);
    EXPECT_EQ(picture.Palette()[0], (Rgb{30, 20, 10}));
    EXPECT_EQ(picture.Palette()[1], (Rgb{60, 50, 40}));
    for (std::size_t i = 2; i < 256; ++i)
        EXPECT_EQ(picture.Palette()[i], kBlack) << i;
    EXPECT_EQ(RowOf(picture, 0), (std::vector<std::uint8_t>{255, 1, 0}));
    EXPECT_EQ(RowOf(picture, 1), (std::vector<std::uint8_t>{0, 1, 2}));

    const Picture converted = ConvertTo24(picture);
    EXPECT_EQ(converted.PixelAt(0, 0), kBlack);  // index 255: past the file's table
    EXPECT_EQ(converted.PixelAt(1, 0), (Rgb{60, 50, 40}));
    EXPECT_EQ(converted.PixelAt(2, 1), kBlack);  // index 2: past the file's table
    EXPECT_EQ(converted.PixelAt(0, 1), (Rgb{30, 20, 10}));
}

TEST(BmpReaderTest, ZeroColoursUsedMeansAFullTable)
{
    BmpFields fields;
    fields.width = 1;
    fields.height = 1;
    fields.bitCount = 8;
    for (int i = 0; i < 256; ++i)
        fields.table.insert(fields.table.end(), {static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i), 0});
    fields.rows = {200, 0, 0, 0};
    const Picture picture = DecodeBmp(BuildBmp(fields));
    ASSERT_EQ(picture.Palette().size(), 256u);
    EXPECT_EQ(picture.Palette()[255], (Rgb{0, 0, 255}));
    EXPECT_EQ(ConvertTo24(picture).PixelAt(0, 0), (Rgb{55, 0, 200}));
}

TEST(BmpReaderTest, EmptyPicturesAreRead)
{
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 5}, std::pair{0, -5}}) {
        BmpFields fields;
        fields.width = width;
        fields.height = height;
        const Picture picture = DecodeBmp(BuildBmp(fields));
        EXPECT_EQ(picture.Width(), width);
        EXPECT_EQ(picture.Height(), std::abs(height));
        EXPECT_TRUE(picture.Pixels().empty());
    }
}

// Every file in tests/data/bmp-bad (written by make_bad_bmps.py) with the error
// it must raise; a file without an entry here fails the test.
TEST(BmpReaderTest, MalformedFilesRaiseTheirErrors)
{
    const std::string invalid = InvalidBitmapError().what();
    const std::string shortRead = ReadError().what();
    const std::map<std::string, std::string> expected = {
        {"empty.bmp", invalid},
        {"not-bm.bmp", invalid},
        {"truncated-file-header.bmp", invalid},
        {"truncated-info-header.bmp", invalid},
        {"info-header-too-small.bmp", invalid},
        {"info-header-past-end.bmp", invalid},
        {"rle-compressed.bmp", invalid},
        {"bitfields-compressed.bmp", invalid},
        {"4-bit-pixels.bmp", invalid},
        {"32-bit-pixels.bmp", invalid},
        {"two-planes.bmp", invalid},
        {"negative-width.bmp", invalid},
        {"height-int-min.bmp", invalid},
        {"too-many-colours.bmp", invalid},
        {"colour-table-past-end.bmp", invalid},
        {"pixels-inside-headers.bmp", invalid},
        {"pixels-inside-colour-table.bmp", invalid},
        {"short-pixels.bmp", shortRead},
        {"pixel-offset-past-end.bmp", shortRead},
        {"huge-dimensions.bmp", shortRead},
        {"huge-width-one-row.bmp", shortRead},
        {"huge-top-down-height.bmp", shortRead},
    };
    const std::filesystem::path folder = std::filesystem::path(POMVELLA_TEST_DATA_DIR) / "bmp-bad";
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const auto found = expected.find(name);
        ASSERT_NE(found, expected.end()) << name << " has no expected error";
        ++seen;
        const Bytes file = ReadWholeFile(entry.path());
        try {
            DecodeBmp(file);
            ADD_FAILURE() << name << " was read";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), found->second) << name;
        }
    }
    EXPECT_EQ(seen, expected.size()) << "files listed here are missing from " << folder;
}

// Damaged headers of valid files: whatever the bytes say, the reader either
// gives a picture that fits its size or raises one of its two errors.
TEST(BmpReaderTest, DamagedHeadersGiveAPictureOrAnError)
{
    BmpFields colour;
    colour.width = 5;
    colour.height = -3;
    colour.rows.assign(16 * 3, 0x5A);
    BmpFields indexed;
    indexed.width = 6;
    indexed.height = 4;
    indexed.bitCount = 8;
    indexed.coloursUsed = 20;
    indexed.table.assign(20 * 4, 0x33);
    indexed.rows.assign(8 * 4, 7);
    std::mt19937 random(2024);
    for (const Bytes& original : {BuildBmp(colour), BuildBmp(indexed)}) {
        for (int round = 0; round < 3000; ++round) {
            Bytes damaged = original;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i)
                damaged[random() % 58] = static_cast<std::uint8_t>(random());
            if (random() % 4 == 0)
                damaged.resize(random() % damaged.size());
            try {
                const Picture picture = DecodeBmp(damaged);
                EXPECT_EQ(picture.Pixels().size(), picture.RowBytes() * static_cast<std::size_t>(picture.Height()));
            } catch (const Error& error) {
                const std::string text = error.what();
                EXPECT_TRUE(text == InvalidBitmapError().what() || text == ReadError().what()) << text;
            }
        }
    }
}

TEST(BmpReaderTest, LoadingAMissingFileNamesIt)
{
    testing::TempFolder folder;
    const std::filesystem::path missing = folder / "missing.bmp";
    try {
        LoadBmpFile(missing);
        ADD_FAILURE() << "a missing file was loaded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), FileOpenError(missing).what());
    }
}

}  // namespace
}  // namespace pomvella
