#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "imaging/PictureOps.h"
#include "imaging/Scaler.h"
#include "tests/imaging/PictureFixture.h"

namespace pomvella {
namespace {

using testing::RandomPicture;

// One row of grey pixels (every channel the same value), or one column.
Picture Greys(const std::vector<int>& values, bool vertical = false)
{
    const int count = static_cast<int>(values.size());
    Picture picture(PixelFormat::Bgr24, vertical ? 1 : count, vertical ? count : 1);
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint8_t>(values[static_cast<std::size_t>(i)]);
        picture.SetPixel(vertical ? 0 : i, vertical ? i : 0, Rgb{v, v, v});
    }
    return picture;
}

TEST(ScalerTest, SmallCasesWorkedByHand)
{
    struct Case {
        const char* name;
        std::vector<int> source;
        int targetCount;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // (0 + 1) / 2 = 0.5: halves round upwards.
        {"half rounds up", {0, 1}, 1, {1}},
        {"1.5 rounds up", {1, 2}, 1, {2}},
        // Target 0 covers source 0 and a third... of source 1 at 2:1: (0·2 + 10·1) / 3 = 3.33;
        // target 1: (10·1 + 20·2) / 3 = 16.67.
        {"three into two", {0, 10, 20}, 2, {3, 17}},
        // Source pixels of 3 units, targets of 4: (0·3 + 0·1) / 4, (0·2 + 1·2) / 4, (1·1 + 1·3) / 4.
        {"four into three", {0, 0, 1, 1}, 3, {0, 1, 1}},
        {"a quarter rounds down", {0, 0, 0, 1}, 1, {0}},
        {"one pixel spread out", {77}, 5, {77, 77, 77, 77, 77}},
        // Source pixels of 3 units, targets of 2: 0 | 0,100 half each | 100.
        {"two into three", {0, 100}, 3, {0, 50, 100}},
        {"full range", {255, 255, 0}, 1, {170}},  // 510 / 3 = 170
    };
    for (const Case& c : cases) {
        for (const bool vertical : {false, true}) {
            const Picture scaled = ScaleAreaAverage(Greys(c.source, vertical), vertical ? 1 : c.targetCount,
                                                    vertical ? c.targetCount : 1);
            EXPECT_EQ(scaled, Greys(c.expected, vertical)) << c.name << (vertical ? " (vertical)" : "");
        }
    }
}

TEST(ScalerTest, ChannelsAreAveragedSeparately)
{
    Picture source(PixelFormat::Bgr24, 2, 2);
    source.SetPixel(0, 0, Rgb{255, 0, 10});
    source.SetPixel(1, 0, Rgb{0, 255, 20});
    source.SetPixel(0, 1, Rgb{0, 0, 30});
    source.SetPixel(1, 1, Rgb{0, 1, 41});
    // red 255 / 4 = 63.75, green 256 / 4 = 64, blue 101 / 4 = 25.25
    EXPECT_EQ(ScaleAreaAverage(source, 1, 1).PixelAt(0, 0), (Rgb{64, 64, 25}));
}

TEST(ScalerTest, PureBlackStaysPureBlack)
{
    const std::pair<std::pair<int, int>, std::pair<int, int>> sizes[] = {
        {{355, 355}, {160, 160}}, {{404, 377}, {200, 186}}, {{7, 3}, {19, 11}}, {{1, 1}, {4, 4}}};
    for (const auto& [from, to] : sizes) {
        const Picture black(PixelFormat::Bgr24, from.first, from.second);
        EXPECT_EQ(ScaleAreaAverage(black, to.first, to.second), Picture(PixelFormat::Bgr24, to.first, to.second));
    }

    // A target pixel that covers only black stays black next to white ones:
    // 12 columns into 4, each target takes exactly three.
    Picture halves(PixelFormat::Bgr24, 12, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 6; x < 12; ++x)
            halves.SetPixel(x, y, kWhite);
    const Picture scaled = ScaleAreaAverage(halves, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(scaled.PixelAt(x, y), x < 2 ? kBlack : kWhite) << x << "," << y;
}

TEST(ScalerTest, SameSizeGivesTheSamePixels)
{
    unsigned seed = 100;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{17, 5}, std::pair{160, 160}}) {
        const Picture picture = RandomPicture(PixelFormat::Bgr24, width, height, seed++);
        EXPECT_EQ(ScaleAreaAverage(picture, width, height), picture);
    }
}

TEST(ScalerTest, IndexedSourceIsReadThroughItsPalette)
{
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 13, 9, 4, 30);  // indices past 30 read black
    const Picture scaled = ScaleAreaAverage(indexed, 5, 4);
    EXPECT_EQ(scaled.Format(), PixelFormat::Bgr24);
    EXPECT_EQ(scaled, ScaleAreaAverage(ConvertTo24(indexed), 5, 4));
}

TEST(ScalerTest, EmptySizes)
{
    const Picture source = RandomPicture(PixelFormat::Bgr24, 4, 4, 1);
    EXPECT_EQ(ScaleAreaAverage(source, 0, 0), Picture(PixelFormat::Bgr24, 0, 0));
    EXPECT_EQ(ScaleAreaAverage(source, 3, 0), Picture(PixelFormat::Bgr24, 3, 0));
    EXPECT_EQ(ScaleAreaAverage(Picture(PixelFormat::Bgr24, 0, 5), 3, 2), Picture(PixelFormat::Bgr24, 3, 2));
    EXPECT_EQ(ScaleAreaAverage(Picture(), 2, 2), Picture(PixelFormat::Bgr24, 2, 2));
    EXPECT_THROW(ScaleAreaAverage(source, -1, 2), std::invalid_argument);
}

// Above 16843009 source pixels the sums of 255s no longer fit 32 bits.
TEST(ScalerTest, LargeSourcesKeepExactSums)
{
    Picture source(PixelFormat::Bgr24, 4200, 4100);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = source.Width() / 2; x < source.Width(); ++x)
            source.SetPixel(x, y, Rgb{255, 255, 255});
    const Picture scaled = ScaleAreaAverage(source, 4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(scaled.PixelAt(x, y), x < 2 ? kBlack : kWhite) << x << "," << y;
}

}  // namespace
}  // namespace pomvella
