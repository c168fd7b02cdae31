#include <gtest/gtest.h>

#include "quantize/Octree.h"
#include "quantize/ReduceColors.h"
#include "tests/quantize/QuantizeTestSupport.h"
#include "tests/quantize/ReferenceOctree.h"

// The production tree skips trim passes that provably change nothing, works
// the reduction out from one census of the forks and looks pixels up in a
// table; the reference runs every pass and walks the tree for every pixel.
// Both must agree on every node, counter, palette entry and index.

namespace pomvella {
namespace {

struct Sample {
    const char* name;
    Picture picture;
};

std::vector<Sample> Samples()
{
    std::vector<Sample> samples;
    samples.push_back({"photo 200x186", testing::PhotoLikePicture(200, 186, 11)});
    samples.push_back({"photo 160x120 fine noise", testing::PhotoLikePicture(160, 120, 12, 3)});
    samples.push_back({"noise 97x61", testing::NoisePicture(97, 61, 13)});
    samples.push_back({"noise 256x256", testing::NoisePicture(256, 256, 14)});
    // Few colours in long runs.
    Picture stripes(PixelFormat::Bgr24, 150, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x)
            stripes.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(x / 10 * 17), static_cast<std::uint8_t>(y * 6), 90});
    samples.push_back({"stripes", std::move(stripes)});
    return samples;
}

// Returns how often the node cap acted in the reference.
int ExpectSameReduction(const Picture& input, int colors, const std::string& what)
{
    SCOPED_TRACE(what + ", N = " + std::to_string(colors));
    TOctree tree;
    reference::Tree expected;
    for (int y = 0; y < input.Height(); ++y)
        for (int x = 0; x < input.Width(); ++x) {
            const Color color = testing::ColorOf(input.PixelAt(x, y));
            tree.AddColor(color);
            reference::AddColor(expected, color);
        }
    testing::ExpectSameTree(tree, expected);
    const int capPasses = expected.trimPasses;

    tree.Reduce(colors);
    reference::Reduce(expected, colors);
    testing::ExpectSameTree(tree, expected);
    EXPECT_EQ(tree.NextIndex, expected.nextIndex);
    if (expected.trimPasses > capPasses) {
        EXPECT_EQ(tree.SmallForkCount2, expected.smallForkCount2);
        EXPECT_EQ(tree.SmallForkCount4, expected.smallForkCount4);
        EXPECT_EQ(tree.SmallForkCount8, expected.smallForkCount8);
    }

    // The reference's own pixels come from the tree reduced above.
    reference::BuildPalette(expected);
    const auto output = ReduceColors(input, colors);
    EXPECT_EQ(output->Palette(), expected.palette);
    for (int y = 0; y < input.Height(); ++y)
        for (int x = 0; x < input.Width(); ++x) {
            const auto index = reference::GetColorIndex(*expected.root, 0, testing::ColorOf(input.PixelAt(x, y)));
            if (output->Row(y)[static_cast<std::size_t>(x)] != index) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
                return expected.capEvents;
            }
        }
    return expected.capEvents;
}

TEST(ReferenceComparisonTest, SameTreePaletteAndIndicesForEveryColourCount)
{
    for (const Sample& sample : Samples())
        for (const int colors : {2, 7, 64, 256})
            ExpectSameReduction(sample.picture, colors, sample.name);
}

// Random pictures seldom meet the threshold steps' boundaries: in these, one
// iteration's excess equals a small-fork counter exactly, where only a strict
// comparison leaves the threshold step as it must be (a ">=" there ends with
// far fewer leaves).
TEST(ReferenceComparisonTest, SameResultWhenTheExcessEqualsASmallForkCounter)
{
    struct Case {
        const char* what;
        int size;
        std::uint32_t seed;
        int colors;
    };
    const Case cases[] = {
        {"excess equals SmallForkCount8", 4, 2, 13},
        {"excess equals SmallForkCount8 again", 7, 3, 16},
        {"excess equals SmallForkCount4", 7, 9, 32},
        {"excess equals SmallForkCount2", 7, 4, 48},
    };
    for (const Case& c : cases)
        ExpectSameReduction(testing::NoisePicture(c.size, c.size, c.seed), c.colors, c.what);
}

TEST(ReferenceComparisonTest, SameResultWhenTheNodeCapActsManyTimes)
{
    // Half a million noise pixels: the cap acts over and over, each time from
    // threshold 1 again.
    const Picture noise = testing::NoisePicture(768, 768, 21);
    EXPECT_GT(ExpectSameReduction(noise, 256, "noise 768x768"), 5);
    const Picture photo = testing::PhotoLikePicture(700, 500, 22, 40);
    EXPECT_GT(ExpectSameReduction(photo, 256, "photo 700x500"), 1);
}

}  // namespace
}  // namespace pomvella
