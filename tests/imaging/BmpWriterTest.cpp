#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "base/Error.h"
#include "base/InputFile.h"
#include "imaging/BmpReader.h"
#include "imaging/BmpWriter.h"
#include "imaging/PictureOps.h"
#include "tests/imaging/PictureFixture.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::RandomPicture;

std::vector<std::uint8_t> Slice(const Bytes& bytes, std::size_t offset, std::size_t count)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

TEST(BmpWriterTest, WhatTheWritersWriteReadsBackTheSame)
{
    // Widths cover every padding length of both row sizes.
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 7}, {13, 1}, {0, 0}, {7, 0}};
    unsigned seed = 1;
    for (const auto& [width, height] : sizes) {
        const Picture colour = RandomPicture(PixelFormat::Bgr24, width, height, seed++);
        EXPECT_EQ(DecodeBmp(EncodeBmp24(colour)), colour) << width << "x" << height;

        // The reader gives every 8-bit picture a 256-entry palette.
        const Picture indexed = RandomPicture(PixelFormat::Indexed8, width, height, seed++, 256);
        EXPECT_EQ(DecodeBmp(EncodeBmp8(indexed)), indexed) << width << "x" << height;
    }
}

TEST(BmpWriterTest, ShortPaletteIsWrittenAsAFullTableOfBlackEntries)
{
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 6, 5, 7, 3);
    const Picture read = DecodeBmp(EncodeBmp8(indexed));
    EXPECT_EQ(read.Pixels().size(), indexed.Pixels().size());
    EXPECT_TRUE(std::equal(read.Pixels().begin(), read.Pixels().end(), indexed.Pixels().begin()));
    ASSERT_EQ(read.Palette().size(), 256u);
    EXPECT_TRUE(std::equal(indexed.Palette().begin(), indexed.Palette().end(), read.Palette().begin()));
    EXPECT_EQ(ConvertTo24(read), ConvertTo24(indexed));
}

TEST(BmpWriterTest, FileSizesFollowThePaddedRows)
{
    struct Case {
        int width;
        int height;
        std::size_t fileSize;
    };
    // 355 × 3 = 1065 bytes + 3 of padding = 1068 a row; 404 × 3 = 1212, no padding.
    const Case cases[] = {{355, 355, 54 + 1068 * 355}, {404, 377, 54 + 1212 * 377}, {160, 160, 54 + 480 * 160}};
    EXPECT_EQ(cases[0].fileSize, 379194u);
    EXPECT_EQ(cases[1].fileSize, 456978u);
    EXPECT_EQ(cases[2].fileSize, 76854u);
    for (const Case& c : cases) {
        const Bytes file = EncodeBmp24(Picture(PixelFormat::Bgr24, c.width, c.height));
        EXPECT_EQ(file.size(), c.fileSize) << c.width << "x" << c.height;
        EXPECT_EQ(LoadU32(file, 2), c.fileSize);
    }
}

TEST(BmpWriterTest, PosePictureHeaderFieldByField)
{
    const Bytes file = EncodeBmp24(Picture(PixelFormat::Bgr24, 160, 160));
    ASSERT_EQ(file.size(), 76854u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LoadU32(file, 2), 76854u);   // bfSize
    EXPECT_EQ(LoadU16(file, 6), 0u);       // bfReserved1
    EXPECT_EQ(LoadU16(file, 8), 0u);       // bfReserved2
    EXPECT_EQ(LoadU32(file, 10), 54u);     // bfOffBits
    EXPECT_EQ(LoadU32(file, 14), 40u);     // biSize
    EXPECT_EQ(LoadI32(file, 18), 160);     // biWidth
    EXPECT_EQ(LoadI32(file, 22), 160);     // biHeight: positive, bottom-up
    EXPECT_EQ(LoadU16(file, 26), 1u);      // biPlanes
    EXPECT_EQ(LoadU16(file, 28), 24u);     // biBitCount
    EXPECT_EQ(LoadU32(file, 30), 0u);      // biCompression
    EXPECT_EQ(LoadU32(file, 34), 76800u);  // biSizeImage
    EXPECT_EQ(LoadU32(file, 38), 0u);      // biXPelsPerMeter
    EXPECT_EQ(LoadU32(file, 42), 0u);      // biYPelsPerMeter
    EXPECT_EQ(LoadU32(file, 46), 0u);      // biClrUsed
    EXPECT_EQ(LoadU32(file, 50), 0u);      // biClrImportant
}

TEST(BmpWriterTest, RowsGoBottomUpWithZeroPadding)
{
    Picture picture(PixelFormat::Bgr24, 2, 2);
    picture.SetPixel(0, 0, Rgb{1, 2, 3});
    picture.SetPixel(1, 0, Rgb{4, 5, 6});
    picture.SetPixel(0, 1, Rgb{7, 8, 9});
    picture.SetPixel(1, 1, Rgb{10, 11, 12});
    const Bytes file = EncodeBmp24(picture);
    ASSERT_EQ(file.size(), 54u + 2 * 8);
    // Bottom row first, blue green red, 6 bytes of pixels and 2 of padding.
    EXPECT_EQ(Slice(file, 54, 16),
              (std::vector<std::uint8_t>{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(BmpWriterTest, IndexedLayoutHasAFullColourTable)
{
    Picture picture(PixelFormat::Indexed8, 3, 2);
    picture.SetPalette({Rgb{1, 2, 3}, Rgb{4, 5, 6}});
    picture.Row(0)[0] = 1;
    picture.Row(0)[1] = 0;
    picture.Row(0)[2] = 1;
    picture.Row(1)[0] = 0;
    picture.Row(1)[1] = 0;
    picture.Row(1)[2] = 1;
    const Bytes file = EncodeBmp8(picture);
    const std::size_t pixelBytes = 2 * 4;  // 3 indices + 1 byte of padding a row
    ASSERT_EQ(file.size(), 1078u + pixelBytes);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LoadU32(file, 2), 1078u + pixelBytes);
    EXPECT_EQ(LoadU32(file, 6), 0u);
    EXPECT_EQ(LoadU32(file, 10), 1078u);
    EXPECT_EQ(LoadU32(file, 14), 40u);
    EXPECT_EQ(LoadI32(file, 18), 3);
    EXPECT_EQ(LoadI32(file, 22), 2);
    EXPECT_EQ(LoadU16(file, 26), 1u);
    EXPECT_EQ(LoadU16(file, 28), 8u);
    EXPECT_EQ(LoadU32(file, 30), 0u);
    EXPECT_EQ(LoadU32(file, 34), pixelBytes);
    EXPECT_EQ(LoadU32(file, 38), 0u);
    EXPECT_EQ(LoadU32(file, 42), 0u);
    EXPECT_EQ(LoadU32(file, 46), 256u);
    EXPECT_EQ(LoadU32(file, 50), 0u);
    EXPECT_EQ(Slice(file, 54, 8), (std::vector<std::uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));
    EXPECT_EQ(Slice(file, 62, 1016), std::vector<std::uint8_t>(1016, 0));
    EXPECT_EQ(Slice(file, 1078, 8), (std::vector<std::uint8_t>{0, 0, 1, 0, 1, 0, 1, 0}));
}

TEST(BmpWriterTest, WritersRefuseTheWrongFormatOrConvert)
{
    EXPECT_THROW(EncodeBmp8(Picture(PixelFormat::Bgr24, 2, 2)), std::invalid_argument);
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 5, 3, 11, 40);
    EXPECT_EQ(EncodeBmp24(indexed), EncodeBmp24(ConvertTo24(indexed)));
}

TEST(BmpWriterTest, SavedFilesLoadBackAndFailuresNameThePath)
{
    testing::TempFolder folder;
    const Picture colour = RandomPicture(PixelFormat::Bgr24, 9, 4, 21);
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 9, 4, 22);
    SaveBmp24(colour, folder / "colour.bmp");
    SaveBmp8(indexed, folder / "indexed.bmp");
    EXPECT_EQ(ReadWholeFile(folder / "colour.bmp"), EncodeBmp24(colour));
    EXPECT_EQ(LoadBmpFile(folder / "colour.bmp"), colour);
    EXPECT_EQ(LoadBmpFile(folder / "indexed.bmp"), indexed);

    const std::filesystem::path unwritable = folder / "missing-folder" / "out.bmp";
    try {
        SaveBmp24(colour, unwritable);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), FileCreateError(unwritable).what());
    }
}

}  // namespace
}  // namespace pomvella
