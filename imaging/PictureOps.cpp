#include "imaging/PictureOps.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace pomvella {
namespace {

void RequireBgr24(const Picture& picture)
{
    if (picture.Format() != PixelFormat::Bgr24)
        throw std::invalid_argument("the operation needs a Bgr24 picture");
}

Rgb SourceColour(const Picture& source, int x, int y)
{
    if (source.Format() == PixelFormat::Bgr24)
        return source.PixelAt(x, y);
    const std::uint8_t index = source.Row(y)[static_cast<std::size_t>(x)];
    const std::vector<Rgb>& palette = source.Palette();
    return index < palette.size() ? palette[index] : kBlack;
}

bool IsBlack(const std::uint8_t* pixel) { return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0; }

void Paint(std::uint8_t* pixel, Rgb colour)
{
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

}  // namespace

Picture ConvertTo24(const Picture& picture)
{
    if (picture.Format() == PixelFormat::Bgr24)
        return picture;
    Picture converted(PixelFormat::Bgr24, picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            converted.SetPixel(x, y, SourceColour(picture, x, y));
    return converted;
}

void CopyRect(const Picture& source, const Rect& sourceRect, Picture& target, const Rect& targetRect)
{
    RequireBgr24(target);
    auto extent = [](int from, int to) { return static_cast<std::int64_t>(to) - from; };
    if (extent(sourceRect.left, sourceRect.right) != extent(targetRect.left, targetRect.right) ||
        extent(sourceRect.top, sourceRect.bottom) != extent(targetRect.top, targetRect.bottom))
        throw std::invalid_argument("CopyRect copies without scaling: both rectangles need the same size");
    // Only the part of the target rectangle inside the target is visited; 64-bit
    // sums keep far-off rectangles from overflowing.
    const std::int64_t top = std::max(targetRect.top, 0);
    const std::int64_t bottom = std::min(targetRect.bottom, target.Height());
    const std::int64_t left = std::max(targetRect.left, 0);
    const std::int64_t right = std::min(targetRect.right, target.Width());
    const std::int64_t dx = static_cast<std::int64_t>(sourceRect.left) - targetRect.left;
    const std::int64_t dy = static_cast<std::int64_t>(sourceRect.top) - targetRect.top;
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::int64_t sy = y + dy;
        for (std::int64_t x = left; x < right; ++x) {
            const std::int64_t sx = x + dx;
            const bool inside = sx >= 0 && sx < source.Width() && sy >= 0 && sy < source.Height();
            target.SetPixel(static_cast<int>(x), static_cast<int>(y),
                            inside ? SourceColour(source, static_cast<int>(sx), static_cast<int>(sy)) : kBlack);
        }
    }
}

// Scanline fill with an explicit stack of seeds, so a large black area costs
// heap memory proportional to its spans, never call depth.
void FloodFill(Picture& picture, int x, int y, Rgb colour)
{
    RequireBgr24(picture);
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height())
        return;
    // Filling black with black would change nothing, and the painted pixels
    // would never stop looking unvisited.
    if (colour == kBlack)
        return;
    auto pixelAt = [&picture](int px, int py) { return picture.Row(py).data() + static_cast<std::size_t>(px) * 3; };
    if (!IsBlack(pixelAt(x, y)))
        return;

    struct Seed {
        int x;
        int y;
    };
    std::vector<Seed> seeds{{x, y}};
    while (!seeds.empty()) {
        const Seed seed = seeds.back();
        seeds.pop_back();
        if (!IsBlack(pixelAt(seed.x, seed.y)))
            continue;  // painted since it was pushed
        int left = seed.x;
        while (left > 0 && IsBlack(pixelAt(left - 1, seed.y)))
            --left;
        int right = seed.x;  // inclusive
        while (right + 1 < picture.Width() && IsBlack(pixelAt(right + 1, seed.y)))
            ++right;
        for (int px = left; px <= right; ++px)
            Paint(pixelAt(px, seed.y), colour);
        // One seed for each black run next to the painted run, above and below.
        for (const int ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= picture.Height())
                continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool black = IsBlack(pixelAt(px, ny));
                if (black && !inRun)
                    seeds.push_back(Seed{px, ny});
                inRun = black;
            }
        }
    }
}

void FillRect(Picture& picture, const Rect& rect, Rgb colour)
{
    RequireBgr24(picture);
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, picture.Height());
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, picture.Width());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            picture.SetPixel(x, y, colour);
}

}  // namespace pomvella
