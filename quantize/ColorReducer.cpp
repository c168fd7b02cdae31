#include "quantize/ColorReducer.h"

#include <stdexcept>

#include "base/Error.h"

namespace pomvella {

namespace {

// Pixel counts are 32-bit and the smallest-fork search uses 999999999 as
// its "none" marker, so a picture must hold fewer pixels than that.
constexpr std::int64_t kMaxPixels = kNoPrunableFork - 1;

Color PixelAt(const std::uint8_t* pixel)
{
    return Color{pixel[0], pixel[1], pixel[2]};
}

}  // namespace

ColorReducer::ColorReducer(int colorCount) : colorCount_(colorCount)
{
    if (colorCount < 2 || colorCount > 256)
        throw AssertionFailure(kOctreeSourceFile, kColorCountAssertionLine);
    tree_ = std::make_unique<TOctree>();
}

// Runs of equal pixels go in together: only the first of a run can create
// nodes, so the node cap still acts after the same pixel.
void ColorReducer::AddRow(std::span<const std::uint8_t> row)
{
    if (!tree_)
        throw std::logic_error("ColorReducer::AddRow after Finish");
    const std::size_t end = row.size() - row.size() % 3;
    pixels_ += static_cast<std::int64_t>(end / 3);
    if (pixels_ > kMaxPixels)
        throw InvalidBitmapError();
    std::size_t x = 0;
    while (x < end) {
        const Color color = PixelAt(&row[x]);
        std::int32_t run = 1;
        x += 3;
        while (x < end && PixelAt(&row[x]) == color) {
            ++run;
            x += 3;
        }
        tree_->AddColors(color, run);
    }
}

std::vector<Rgb> ColorReducer::Finish()
{
    if (!tree_)
        throw std::logic_error("ColorReducer::Finish called twice");
    tree_->Reduce(colorCount_);
    std::vector<Rgb> palette = tree_->BuildPalette();
    indices_.emplace(*tree_);
    tree_.reset();
    return palette;
}

void ColorReducer::IndexRow(std::span<const std::uint8_t> row, std::span<std::uint8_t> indices) const
{
    if (!indices_)
        throw std::logic_error("ColorReducer::IndexRow before Finish");
    const std::size_t count = std::min(indices.size(), row.size() / 3);
    for (std::size_t x = 0; x < count; ++x)
        indices[x] = indices_->Lookup(PixelAt(&row[3 * x]));
}

}  // namespace pomvella
