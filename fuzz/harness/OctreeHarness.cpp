#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "base/Error.h"
#include "fuzz/harness/Harness.h"
#include "fuzz/harness/InputCursor.h"
#include "quantize/ReduceColors.h"

namespace pomvella::fuzz {
namespace {

constexpr int kMaxSide = 64;

// Mostly counts from 2 to 256; one input in eight takes any 32-bit count,
// which reaches the edges 1, 257, 0, negative and huge ones.
int ColourCount(InputCursor& cursor)
{
    const std::uint8_t selector = cursor.Next();
    if (selector % 8 == 7)
        return static_cast<int>(cursor.NextU32());
    return 2 + cursor.Next() % 255;
}

std::string AssertionText(int line) { return "Assertion failure (Octree.cpp, " + std::to_string(line) + " 行)"; }

// The top six bits of each channel: the cell of a depth-6 leaf.
std::uint32_t CellOf(Rgb colour)
{
    return (static_cast<std::uint32_t>(colour.red >> 2) << 12) | (static_cast<std::uint32_t>(colour.green >> 2) << 6) |
           static_cast<std::uint32_t>(colour.blue >> 2);
}

void CheckReduction(const Picture& source, const Picture& reduced, int colourCount)
{
    POMVELLA_FUZZ_CHECK(reduced.Format() == PixelFormat::Indexed8);
    POMVELLA_FUZZ_CHECK(reduced.Width() == source.Width() && reduced.Height() == source.Height());
    const std::vector<Rgb>& palette = reduced.Palette();
    const std::size_t pixelCount = source.Pixels().size() / 3;
    POMVELLA_FUZZ_CHECK(palette.size() <= static_cast<std::size_t>(colourCount));
    POMVELLA_FUZZ_CHECK((palette.size() == 0) == (pixelCount == 0));
    if (pixelCount == 0)
        return;

    // Every index names a palette entry, every entry is used, and each entry
    // is the mean (rounded down) of the pixels that use it.
    std::vector<std::array<std::uint64_t, 4>> sums(palette.size(), {0, 0, 0, 0});
    std::map<std::uint32_t, std::uint8_t> indexOfCell;
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const Rgb colour = source.PixelAt(x, y);
            const std::uint8_t index = reduced.Row(y)[static_cast<std::size_t>(x)];
            POMVELLA_FUZZ_CHECK(index < palette.size());
            auto& sum = sums[index];
            sum[0] += colour.red;
            sum[1] += colour.green;
            sum[2] += colour.blue;
            sum[3] += 1;
            // Colours of one depth-6 cell always share a leaf.
            const auto [cell, inserted] = indexOfCell.emplace(CellOf(colour), index);
            POMVELLA_FUZZ_CHECK(cell->second == index);
        }
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const auto& sum = sums[i];
        POMVELLA_FUZZ_CHECK(sum[3] > 0);
        POMVELLA_FUZZ_CHECK(palette[i] == (Rgb{static_cast<std::uint8_t>(sum[0] / sum[3]),
                                               static_cast<std::uint8_t>(sum[1] / sum[3]),
                                               static_cast<std::uint8_t>(sum[2] / sum[3])}));
    }
    // A picture that fits into colourCount cells is not trimmed: one entry a cell.
    if (indexOfCell.size() <= static_cast<std::size_t>(colourCount))
        POMVELLA_FUZZ_CHECK(palette.size() == indexOfCell.size());
}

}  // namespace

void FuzzOctree(ByteSpan input)
{
    InputCursor cursor(input);
    const int colourCount = ColourCount(cursor);
    const bool indexed = cursor.Next() % 16 == 15;
    const int width = cursor.Next() % (kMaxSide + 1);
    // A picture without columns may claim any height: nothing may loop over its rows.
    const int height = width == 0 ? static_cast<int>(cursor.NextU32() & 0x7FFFFFFF) : cursor.Next() % (kMaxSide + 1);

    Picture source(indexed ? PixelFormat::Indexed8 : PixelFormat::Bgr24, width, height);
    // Few distinct values make colours repeat and cells fill up; the rest spread out.
    const std::uint8_t mask = cursor.Next();
    for (std::uint8_t& value : source.Pixels())
        value = cursor.Next() & (mask | 0x0F);

    std::unique_ptr<Picture> reduced;
    try {
        reduced = ReduceColors(source, colourCount);
    } catch (const Error& error) {
        const bool countValid = colourCount >= 2 && colourCount <= 256;
        POMVELLA_FUZZ_CHECK(error.what() == AssertionText(countValid ? 172 : 171));
        POMVELLA_FUZZ_CHECK(!countValid || indexed);
        return;
    }
    POMVELLA_FUZZ_CHECK(colourCount >= 2 && colourCount <= 256 && !indexed);
    POMVELLA_FUZZ_CHECK(reduced != nullptr);
    CheckReduction(source, *reduced, colourCount);
}

}  // namespace pomvella::fuzz
