#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/Error.h"
#include "quantize/ColorIndexTable.h"
#include "quantize/ReduceColors.h"
#include "tests/quantize/QuantizeTestSupport.h"

namespace pomvella {
namespace {

using testing::MakePicture;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

std::vector<std::uint8_t> RowOf(const Picture& picture, int y)
{
    const auto row = picture.Row(y);
    return {row.begin(), row.end()};
}

TEST(ReduceColorsTest, TwoByTwoPictureKeepsItsThreeColoursInSlotOrder)
{
    const Picture input = MakePicture({{kRed, kBlue}, {kRed, kGreen}});
    const auto output = ReduceColors(input, 256);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->Format(), PixelFormat::Indexed8);
    EXPECT_EQ(output->Width(), 2);
    EXPECT_EQ(output->Height(), 2);
    EXPECT_EQ(output->Palette(), (std::vector<Rgb>{kBlue, kGreen, kRed}));
    EXPECT_EQ(RowOf(*output, 0), (std::vector<std::uint8_t>{2, 0}));
    EXPECT_EQ(RowOf(*output, 1), (std::vector<std::uint8_t>{2, 1}));
}

TEST(ReduceColorsTest, TrimmingCanOvershootToASingleColour)
{
    const Picture input = MakePicture({{kBlack, kBlue, kGreen, kRed, kWhite}});
    const auto output = ReduceColors(input, 2);
    EXPECT_EQ(output->Palette(), (std::vector<Rgb>{{102, 102, 102}}));
    EXPECT_EQ(RowOf(*output, 0), (std::vector<std::uint8_t>(5, 0)));
}

TEST(ReduceColorsTest, ChecksTheColourCountFirstThenThePixelFormat)
{
    const Picture bgr = MakePicture({{kRed}});
    const Picture indexed(PixelFormat::Indexed8, 1, 1);
    struct Case {
        const Picture* picture;
        int colors;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {&bgr, 1, "Assertion failure (Octree.cpp, 171 行)"},
        {&bgr, 257, "Assertion failure (Octree.cpp, 171 行)"},
        {&bgr, -5, "Assertion failure (Octree.cpp, 171 行)"},
        {&indexed, 256, "Assertion failure (Octree.cpp, 172 行)"},
        {&indexed, 0, "Assertion failure (Octree.cpp, 171 行)"},
        {&bgr, 2, nullptr},
        {&bgr, 256, nullptr},
    };
    for (const Case& c : cases) {
        if (c.message == nullptr) {
            EXPECT_EQ(ReduceColors(*c.picture, c.colors)->Palette(), std::vector<Rgb>{kRed}) << c.colors;
            continue;
        }
        try {
            ReduceColors(*c.picture, c.colors);
            ADD_FAILURE() << "accepted " << c.colors;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.colors;
        }
    }
}

TEST(ReduceColorsTest, SingleColourGivesOneEntryAndZeroIndices)
{
    Picture input(PixelFormat::Bgr24, 7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            input.SetPixel(x, y, Rgb{12, 200, 99});
    const auto output = ReduceColors(input, 16);
    EXPECT_EQ(output->Palette(), (std::vector<Rgb>{{12, 200, 99}}));
    for (const std::uint8_t index : output->Pixels())
        EXPECT_EQ(index, 0);
}

TEST(ReduceColorsTest, EmptyPictureGivesAnEmptyPalette)
{
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{4, 0}, std::pair{0, 4}}) {
        const auto output = ReduceColors(Picture(PixelFormat::Bgr24, width, height), 256);
        EXPECT_EQ(output->Width(), width);
        EXPECT_EQ(output->Height(), height);
        EXPECT_TRUE(output->Palette().empty());
        EXPECT_TRUE(output->Pixels().empty());
    }
}

// With at most N occupied cells of the top six bits per channel nothing is
// trimmed: one entry per cell, in the order of the cells' interleaved bits,
// holding the rounded-down mean of the cell's pixels.
TEST(ReduceColorsTest, FewCellsGiveOneEntryPerCellWithItsMean)
{
    std::mt19937 random(7);
    const std::vector<Rgb> bases = {{0, 0, 0}, {200, 16, 40}, {16, 200, 40}, {100, 100, 252}, {252, 0, 4}};
    Picture input(PixelFormat::Bgr24, 13, 11);
    for (int y = 0; y < input.Height(); ++y)
        for (int x = 0; x < input.Width(); ++x) {
            const Rgb base = bases[random() % bases.size()];
            const auto low = [&] { return static_cast<std::uint8_t>(random() & 3); };
            input.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(base.red | low()),
                                     static_cast<std::uint8_t>(base.green | low()),
                                     static_cast<std::uint8_t>(base.blue | low())});
        }

    struct Sums {
        long red = 0, green = 0, blue = 0, count = 0;
    };
    std::map<std::uint32_t, Sums> cells;  // ordered by cell: the palette order
    for (int y = 0; y < input.Height(); ++y)
        for (int x = 0; x < input.Width(); ++x) {
            const Rgb pixel = input.PixelAt(x, y);
            Sums& sums = cells[ColorIndexTable::CellOf(testing::ColorOf(pixel))];
            sums.red += pixel.red;
            sums.green += pixel.green;
            sums.blue += pixel.blue;
            sums.count += 1;
        }
    std::vector<Rgb> palette;
    std::map<std::uint32_t, std::uint8_t> indexOfCell;
    for (const auto& [cell, sums] : cells) {
        indexOfCell[cell] = static_cast<std::uint8_t>(palette.size());
        palette.push_back(Rgb{static_cast<std::uint8_t>(sums.red / sums.count),
                              static_cast<std::uint8_t>(sums.green / sums.count),
                              static_cast<std::uint8_t>(sums.blue / sums.count)});
    }

    for (const int colors : {5, 6, 256}) {
        const auto output = ReduceColors(input, colors);
        EXPECT_EQ(output->Palette(), palette);
        for (int y = 0; y < input.Height(); ++y)
            for (int x = 0; x < input.Width(); ++x)
                EXPECT_EQ(output->Row(y)[static_cast<std::size_t>(x)],
                          indexOfCell[ColorIndexTable::CellOf(testing::ColorOf(input.PixelAt(x, y)))]);
    }
}

TEST(ReduceColorsTest, EveryEntryIsUsedAndThereAreAtMostNOfThem)
{
    const Picture pictures[] = {testing::PhotoLikePicture(96, 80, 1), testing::NoisePicture(64, 64, 2)};
    for (const Picture& input : pictures) {
        for (const int colors : {2, 3, 16, 100, 255, 256}) {
            const auto output = ReduceColors(input, colors);
            const std::size_t entries = output->Palette().size();
            EXPECT_GE(entries, 1u);
            EXPECT_LE(entries, static_cast<std::size_t>(colors));
            const std::set<std::uint8_t> used(output->Pixels().begin(), output->Pixels().end());
            EXPECT_EQ(used.size(), entries) << colors;
            EXPECT_LT(*used.rbegin(), entries) << colors;
        }
    }
}

}  // namespace
}  // namespace pomvella
