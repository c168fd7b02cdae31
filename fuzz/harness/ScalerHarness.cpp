#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "fuzz/harness/Harness.h"
#include "fuzz/harness/InputCursor.h"
#include "imaging/PictureOps.h"
#include "imaging/Scaler.h"

namespace pomvella::fuzz {
namespace {

constexpr int kMaxSide = 64;

int Side(InputCursor& cursor) { return cursor.Next() % (kMaxSide + 1); }

// -8 .. 71: a little past each edge of the largest picture.
int Coordinate(InputCursor& cursor) { return cursor.Next() % (kMaxSide + 16) - 8; }

Picture MakeSource(InputCursor& cursor)
{
    const int width = Side(cursor);
    const int height = Side(cursor);
    const bool indexed = cursor.Next() & 1;
    Picture source(indexed ? PixelFormat::Indexed8 : PixelFormat::Bgr24, width, height);
    if (indexed) {
        // Up to 256 colours; pixel indices past the palette read as black.
        std::vector<Rgb> palette(cursor.Next() + 1u);
        for (Rgb& colour : palette)
            colour = Rgb{cursor.Next(), cursor.Next(), cursor.Next()};
        source.SetPalette(std::move(palette));
    }
    // Small values are frequent so that black (and near-black) areas occur.
    for (std::uint8_t& value : source.Pixels()) {
        const std::uint8_t byte = cursor.Next();
        value = byte >= 0xC0 ? 0 : byte;
    }
    return source;
}

// The overlap of source pixel i (covering [i·T, (i+1)·T)) and target pixel t
// (covering [t·S, (t+1)·S)) on one axis.
std::uint64_t Overlap(std::uint64_t i, std::uint64_t t, std::uint64_t sourceSize, std::uint64_t targetSize)
{
    const std::uint64_t from = std::max(i * targetSize, t * sourceSize);
    const std::uint64_t to = std::min((i + 1) * targetSize, (t + 1) * sourceSize);
    return to > from ? to - from : 0;
}

// Per target pixel of one axis: the source pixels that overlap it, with the
// overlap, found by testing every source pixel against the definition.
using AxisOverlaps = std::vector<std::vector<std::pair<int, std::uint64_t>>>;

AxisOverlaps OverlapsOf(int sourceSize, int targetSize)
{
    AxisOverlaps overlaps(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        for (int i = 0; i < sourceSize; ++i) {
            const std::uint64_t overlap = Overlap(static_cast<std::uint64_t>(i), static_cast<std::uint64_t>(t),
                                                  static_cast<std::uint64_t>(sourceSize),
                                                  static_cast<std::uint64_t>(targetSize));
            if (overlap != 0)
                overlaps[static_cast<std::size_t>(t)].emplace_back(i, overlap);
        }
    }
    return overlaps;
}

// The area average of one target pixel, evaluated from its definition; also
// reports whether every source pixel that touches it is black.
struct TargetValue {
    Rgb colour;
    bool allBlack = true;
};

TargetValue ReferencePixel(const Picture& source24, const std::vector<std::pair<int, std::uint64_t>>& columns,
                           const std::vector<std::pair<int, std::uint64_t>>& rows)
{
    std::uint64_t sums[3] = {0, 0, 0};
    TargetValue value;
    for (const auto& [j, vertical] : rows) {
        for (const auto& [i, horizontal] : columns) {
            const Rgb colour = source24.PixelAt(i, j);
            value.allBlack = value.allBlack && colour == kBlack;
            sums[0] += horizontal * vertical * colour.red;
            sums[1] += horizontal * vertical * colour.green;
            sums[2] += horizontal * vertical * colour.blue;
        }
    }
    const std::uint64_t area = static_cast<std::uint64_t>(source24.Width()) * static_cast<std::uint64_t>(source24.Height());
    if (area == 0)
        return value;  // an empty source gives black
    auto round = [area](std::uint64_t sum) { return static_cast<std::uint8_t>((2 * sum + area) / (2 * area)); };
    value.colour = Rgb{round(sums[0]), round(sums[1]), round(sums[2])};
    return value;
}

void CheckScale(const Picture& source, const Picture& scaled, int width, int height)
{
    POMVELLA_FUZZ_CHECK(scaled.Format() == PixelFormat::Bgr24);
    if (width == 0 || height == 0) {
        POMVELLA_FUZZ_CHECK(scaled.Pixels().empty());
        return;
    }
    POMVELLA_FUZZ_CHECK(scaled.Width() == width && scaled.Height() == height);
    const Picture source24 = ConvertTo24(source);
    const AxisOverlaps columns = OverlapsOf(source.Width(), width);
    const AxisOverlaps rows = OverlapsOf(source.Height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TargetValue expected =
                ReferencePixel(source24, columns[static_cast<std::size_t>(x)], rows[static_cast<std::size_t>(y)]);
            const Rgb actual = scaled.PixelAt(x, y);
            POMVELLA_FUZZ_CHECK(actual == expected.colour);
            // The flood fill after scaling relies on this.
            if (expected.allBlack)
                POMVELLA_FUZZ_CHECK(actual == kBlack);
        }
    }
    if (source.Width() == width && source.Height() == height)
        POMVELLA_FUZZ_CHECK(scaled == source24);
}

// Flood fill paints black pixels only, all of them connected to the seed
// through black pixels, and leaves no black pixel beside a painted one.
void CheckFloodFill(const Picture& before, int seedX, int seedY)
{
    Picture after = before;
    FloodFill(after, seedX, seedY, kLime);
    const bool seedInside = seedX >= 0 && seedY >= 0 && seedX < before.Width() && seedY < before.Height();
    const bool seedBlack = seedInside && before.PixelAt(seedX, seedY) == kBlack;
    auto painted = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < before.Width() && y < before.Height() && before.PixelAt(x, y) == kBlack &&
               after.PixelAt(x, y) == kLime;
    };
    for (int y = 0; y < before.Height(); ++y) {
        for (int x = 0; x < before.Width(); ++x) {
            const Rgb was = before.PixelAt(x, y);
            const Rgb now = after.PixelAt(x, y);
            if (was != kBlack || !seedBlack) {
                POMVELLA_FUZZ_CHECK(now == was);
                continue;
            }
            POMVELLA_FUZZ_CHECK(now == kBlack || now == kLime);
            if (now == kBlack)
                POMVELLA_FUZZ_CHECK(!painted(x - 1, y) && !painted(x + 1, y) && !painted(x, y - 1) && !painted(x, y + 1));
        }
    }
    if (seedBlack)
        POMVELLA_FUZZ_CHECK(after.PixelAt(seedX, seedY) == kLime);
}

void CheckFillRect(const Picture& before, const Rect& rect)
{
    Picture after = before;
    FillRect(after, rect, kLime);
    for (int y = 0; y < before.Height(); ++y) {
        for (int x = 0; x < before.Width(); ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            POMVELLA_FUZZ_CHECK(after.PixelAt(x, y) == (inside ? kLime : before.PixelAt(x, y)));
        }
    }
}

}  // namespace

void FuzzScaler(ByteSpan input)
{
    InputCursor cursor(input);
    const int width = Side(cursor);
    const int height = Side(cursor);
    const int seedX = Coordinate(cursor);
    const int seedY = Coordinate(cursor);
    const Rect rect{Coordinate(cursor), Coordinate(cursor), Coordinate(cursor), Coordinate(cursor)};
    const Picture source = MakeSource(cursor);

    const Picture scaled = ScaleAreaAverage(source, width, height);
    CheckScale(source, scaled, width, height);
    CheckFloodFill(scaled, seedX, seedY);
    CheckFillRect(scaled, rect);
}

}  // namespace pomvella::fuzz
