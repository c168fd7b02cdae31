#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "imaging/PictureOps.h"
#include "tests/imaging/PictureFixture.h"

namespace pomvella {
namespace {

using testing::RandomPicture;

constexpr Rgb kNearlyBlack{0, 0, 1};

Picture Filled(int width, int height, Rgb colour)
{
    Picture picture(PixelFormat::Bgr24, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, colour);
    return picture;
}

// Draws a picture from rows of characters: '.' black, '#' nearly black, 'w' white.
Picture Drawn(std::initializer_list<const char*> rows)
{
    const int width = static_cast<int>(std::strlen(*rows.begin()));
    Picture picture(PixelFormat::Bgr24, width, static_cast<int>(rows.size()));
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, row[x] == '.' ? kBlack : row[x] == '#' ? kNearlyBlack : kWhite);
        ++y;
    }
    return picture;
}

TEST(PictureOpsTest, ConvertTo24ReadsThroughThePalette)
{
    Picture indexed(PixelFormat::Indexed8, 3, 1);
    indexed.SetPalette({Rgb{10, 20, 30}, Rgb{40, 50, 60}});
    indexed.Row(0)[0] = 1;
    indexed.Row(0)[1] = 0;
    indexed.Row(0)[2] = 7;  // past the palette
    const Picture converted = ConvertTo24(indexed);
    ASSERT_EQ(converted.Format(), PixelFormat::Bgr24);
    EXPECT_EQ(converted.PixelAt(0, 0), (Rgb{40, 50, 60}));
    EXPECT_EQ(converted.PixelAt(1, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(converted.PixelAt(2, 0), kBlack);

    const Picture colour = RandomPicture(PixelFormat::Bgr24, 4, 3, 5);
    EXPECT_EQ(ConvertTo24(colour), colour);
}

TEST(PictureOpsTest, FloodFillTakesOnlyExactlyBlackPixelsFourConnected)
{
    struct Case {
        const char* name;
        Picture picture;
        int x;
        int y;
        Picture expected;  // 'w' stands for what was painted (white) or was white
    };
    const Case cases[] = {
        {"stops at nearly black", Drawn({"..#..", "..#..", "###.."}), 0, 0, Drawn({"ww#..", "ww#..", "###.."})},
        {"diagonal neighbours do not connect", Drawn({".w.", "w.w", ".w."}), 1, 1, Drawn({".w.", "www", ".w."})},
        {"winds around walls", Drawn({"...w.", "ww.w.", "...w.", ".www.", "....."}), 0, 0,
         Drawn({"wwwww", "wwwww", "wwwww", "wwwww", "wwwww"})},
        {"unreached black stays", Drawn({"..w..", "..w..", "..w.."}), 4, 2, Drawn({"..www", "..www", "..www"})},
        {"seed on a non-black pixel", Drawn({"w...", "...."}), 0, 0, Drawn({"w...", "...."})},
        {"seed on nearly black", Drawn({"#...", "...."}), 0, 0, Drawn({"#...", "...."})},
        {"seed outside", Drawn({"..", ".."}), 2, 0, Drawn({"..", ".."})},
        {"seed at a negative position", Drawn({"..", ".."}), -1, 0, Drawn({"..", ".."})},
    };
    for (const Case& c : cases) {
        Picture picture = c.picture;
        FloodFill(picture, c.x, c.y, kWhite);
        EXPECT_EQ(picture, c.expected) << c.name;
    }
}

TEST(PictureOpsTest, FloodFillPaintsWithTheGivenColour)
{
    Picture picture = Drawn({"..w", ".ww"});
    FloodFill(picture, 0, 0, kLime);
    EXPECT_EQ(picture.PixelAt(0, 0), kLime);
    EXPECT_EQ(picture.PixelAt(1, 0), kLime);
    EXPECT_EQ(picture.PixelAt(0, 1), kLime);
    EXPECT_EQ(picture.PixelAt(2, 0), kWhite);

    Picture unchanged = Drawn({"..", ".."});
    FloodFill(unchanged, 0, 0, kBlack);  // black over black: nothing to do, and it ends
    EXPECT_EQ(unchanged, Drawn({"..", ".."}));
}

TEST(PictureOpsTest, FloodFillOfALargeBlackPictureNeedsNoDeepStack)
{
    Picture picture(PixelFormat::Bgr24, 4096, 4096);
    FloodFill(picture, 2048, 2048, kLime);
    EXPECT_EQ(picture, Filled(4096, 4096, kLime));

    // A comb: every other column is a wall, joined along the bottom, so the
    // fill turns at every column.
    Picture comb(PixelFormat::Bgr24, 1025, 1024);
    for (int x = 1; x < comb.Width(); x += 2)
        for (int y = 0; y + 1 < comb.Height(); ++y)
            comb.SetPixel(x, y, kWhite);
    FloodFill(comb, 0, 0, kLime);
    for (int x = 0; x < comb.Width(); x += 2)
        EXPECT_EQ(comb.PixelAt(x, 0), kLime) << x;
    EXPECT_EQ(comb.PixelAt(1, comb.Height() - 1), kLime);
}

TEST(PictureOpsTest, FillRectIsClippedToThePicture)
{
    // The NAD picture's extra fill reaches one column and one row past its edge.
    Picture picture = Filled(200, 186, kWhite);
    FillRect(picture, Rect{199, 0, 201, 187}, kLime);
    Picture expected = Filled(200, 186, kWhite);
    for (int y = 0; y < 186; ++y)
        expected.SetPixel(199, y, kLime);
    EXPECT_EQ(picture, expected);

    Picture untouched = Filled(4, 4, kWhite);
    FillRect(untouched, Rect{-10, -10, 0, 4}, kLime);   // wholly left of the picture
    FillRect(untouched, Rect{3, 3, 1, 1}, kLime);       // inverted: empty
    FillRect(untouched, Rect{4, 0, 1000, 1000}, kLime);  // wholly right
    EXPECT_EQ(untouched, Filled(4, 4, kWhite));

    Picture all = Filled(3, 2, kWhite);
    FillRect(all, Rect{-5, -5, 50, 50}, kBlack);
    EXPECT_EQ(all, Filled(3, 2, kBlack));
}

TEST(PictureOpsTest, CopyRectCopiesPixelForPixelAndReadsBlackOutsideTheSource)
{
    const Picture source = RandomPicture(PixelFormat::Bgr24, 5, 4, 3);
    struct Case {
        const char* name;
        Rect sourceRect;
        Rect targetRect;
    };
    const Case cases[] = {
        {"inside", Rect{1, 1, 4, 3}, Rect{0, 0, 3, 2}},
        {"past the right and bottom edges", Rect{3, 2, 7, 6}, Rect{0, 0, 4, 4}},
        {"before the left and top edges", Rect{-2, -1, 2, 3}, Rect{0, 0, 4, 4}},
        {"target partly outside", Rect{0, 0, 4, 4}, Rect{-1, 2, 3, 6}},
        {"wholly outside the source", Rect{100, 100, 104, 104}, Rect{0, 0, 4, 4}},
    };
    for (const Case& c : cases) {
        Picture target = Filled(4, 4, kWhite);
        CopyRect(source, c.sourceRect, target, c.targetRect);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool inTarget = x >= c.targetRect.left && x < c.targetRect.right && y >= c.targetRect.top &&
                                      y < c.targetRect.bottom;
                const int sx = x - c.targetRect.left + c.sourceRect.left;
                const int sy = y - c.targetRect.top + c.sourceRect.top;
                const bool inSource = sx >= 0 && sx < source.Width() && sy >= 0 && sy < source.Height();
                const Rgb expected = !inTarget ? kWhite : inSource ? source.PixelAt(sx, sy) : kBlack;
                EXPECT_EQ(target.PixelAt(x, y), expected) << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(PictureOpsTest, CopyRectFromAnIndexedPictureAndSizeMismatch)
{
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 6, 5, 9, 100);
    Picture target(PixelFormat::Bgr24, 6, 5);
    CopyRect(indexed, Rect{0, 0, 6, 5}, target, Rect{0, 0, 6, 5});
    EXPECT_EQ(target, ConvertTo24(indexed));

    EXPECT_THROW(CopyRect(indexed, Rect{0, 0, 3, 3}, target, Rect{0, 0, 2, 3}), std::invalid_argument);
}

}  // namespace
}  // namespace pomvella
