#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "character/NadFile.h"
#include "imaging/BmpWriter.h"
#include "quantize/ReduceColors.h"

namespace pomvella {
namespace {

Picture FacePicture(int colours)
{
    Picture picture(PixelFormat::Bgr24, 200, 186);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const int band = (x / 10 + y / 10) % colours;
            picture.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(band * 40), 255, static_cast<std::uint8_t>(band * 7)});
        }
    }
    return picture;
}

TEST(NadHeaderTest, TemplateHoldsTheFixedNumbers)
{
    const NadHeaderBytes& header = kNadHeaderTemplate;
    EXPECT_EQ(std::string(header.begin(), header.begin() + 4), "NANI");
    struct Word {
        std::size_t offset;
        std::uint32_t value;
    };
    const Word words[] = {
        {4, 11},     {8, 38499},  {60, 223},  {64, 1287},  {68, 186},   {72, 0},     {76, 220},   {80, 3},
        {92, 223},   {108, 38487}, {140, 38490}, {172, 38493}, {188, 223}, {196, 186}, {204, 38496}, {208, 3},
        {212, 0},    {216, 0},
    };
    for (const Word& word : words)
        EXPECT_EQ(LoadU32(header, word.offset), word.value) << "offset " << word.offset;
    for (std::size_t offset = 12; offset < 60; ++offset)
        EXPECT_EQ(header[offset], 0) << offset;
    for (std::size_t offset = 209; offset < kNadHeaderSize; ++offset)
        EXPECT_EQ(header[offset], 0) << offset;
}

// The file is the template, the reduced picture as an 8-bit BMP without its
// file header, and the trailer, whatever the number of colours.
TEST(NadFileTest, LayoutIsHeaderEmbeddedPictureAndTrailer)
{
    for (const int colours : {1, 3, 255}) {
        SCOPED_TRACE(colours);
        const Picture picture = FacePicture(colours);
        const Bytes file = EncodeNadFile(picture, kNadHeaderTemplate, kNadTrailerTemplate);
        ASSERT_EQ(file.size(), 38499u);

        EXPECT_TRUE(std::equal(kNadHeaderTemplate.begin(), kNadHeaderTemplate.end(), file.begin()));
        const Bytes bmp = EncodeBmp8(*ReduceColors(picture, 256));
        ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 37200);
        EXPECT_TRUE(std::equal(bmp.begin() + 14, bmp.end(), file.begin() + 223));
        EXPECT_TRUE(std::all_of(file.end() - 12, file.end(), [](std::uint8_t b) { return b == 0; }));

        EXPECT_EQ(LoadU32(file, 223), 40u);
        EXPECT_EQ(LoadU32(file, 227), 200u);
        EXPECT_EQ(LoadU32(file, 231), 186u);
        EXPECT_EQ(LoadU16(file, 235), 1);
        EXPECT_EQ(LoadU16(file, 237), 8);
        EXPECT_EQ(LoadU32(file, 243), 37200u);
        EXPECT_EQ(LoadU32(file, 255), 256u) << "the colour table always has 256 entries";
    }
}

TEST(NadFileTest, UsesTheTemplatesItIsGiven)
{
    NadHeaderBytes header{};
    header.fill(0xAB);
    NadTrailerBytes trailer{};
    trailer.fill(0xCD);
    const Bytes file = EncodeNadFile(FacePicture(2), header, trailer);
    // The header is written last, over the embedded BMP file header too.
    EXPECT_TRUE(std::all_of(file.begin(), file.begin() + 223, [](std::uint8_t b) { return b == 0xAB; }));
    EXPECT_TRUE(std::all_of(file.end() - 12, file.end(), [](std::uint8_t b) { return b == 0xCD; }));
}

TEST(NadFileTest, RefusesAPictureThatIsNot24Bit)
{
    const Picture indexed(PixelFormat::Indexed8, 200, 186);
    try {
        EncodeNadFile(indexed, kNadHeaderTemplate, kNadTrailerTemplate);
        FAIL() << "an 8-bit picture must be refused";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Assertion failure (Octree.cpp, 172 行)");
    }
}

}  // namespace
}  // namespace pomvella
