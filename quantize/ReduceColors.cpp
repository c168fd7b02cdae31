#include "quantize/ReduceColors.h"

#include "base/Error.h"
#include "quantize/ColorIndexTable.h"
#include "quantize/Octree.h"

namespace pomvella {

namespace {

// Pixel counts are 32-bit and the smallest-fork search uses 999999999 as
// its "none" marker, so a picture must hold fewer pixels than that.
constexpr std::int64_t kMaxPixels = kNoPrunableFork - 1;

Color PixelAt(const std::uint8_t* pixel)
{
    return Color{pixel[0], pixel[1], pixel[2]};
}

// Runs of equal pixels go in together: only the first of a run can create
// nodes, so the node cap still acts after the same pixel.
void AddRow(TOctree& tree, std::span<const std::uint8_t> row)
{
    std::size_t x = 0;
    while (x < row.size()) {
        const Color color = PixelAt(&row[x]);
        std::int32_t run = 1;
        x += 3;
        while (x < row.size() && PixelAt(&row[x]) == color) {
            ++run;
            x += 3;
        }
        tree.AddColors(color, run);
    }
}

}  // namespace

std::unique_ptr<Picture> ReduceColors(const Picture& bitmap, int colorCount)
{
    if (colorCount < 2 || colorCount > 256)
        throw AssertionFailure(kOctreeSourceFile, kColorCountAssertionLine);
    if (bitmap.Format() != PixelFormat::Bgr24)
        throw AssertionFailure(kOctreeSourceFile, kPixelFormatAssertionLine);
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (static_cast<std::int64_t>(width) * height > kMaxPixels)
        throw InvalidBitmapError();

    TOctree tree;
    for (int y = 0; y < height; ++y)
        AddRow(tree, bitmap.Row(y));
    tree.Reduce(colorCount);

    auto output = std::make_unique<Picture>(PixelFormat::Indexed8, width, height);
    output->SetPalette(tree.BuildPalette());
    const ColorIndexTable indices(tree);
    for (int y = 0; y < height; ++y) {
        const std::span<const std::uint8_t> in = bitmap.Row(y);
        const std::span<std::uint8_t> out = output->Row(y);
        for (std::size_t x = 0; x < out.size(); ++x)
            out[x] = indices.Lookup(PixelAt(&in[3 * x]));
    }
    return output;
}

}  // namespace pomvella
