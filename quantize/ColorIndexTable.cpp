#include "quantize/ColorIndexTable.h"

#include <algorithm>
#include <array>

namespace pomvella {

namespace {

constexpr int kCellBits = 3 * kOctreeLeafDepth;

// Spreads bits 7..2 of a channel byte three positions apart, bit 7 highest;
// shift 2 is red, 1 green, 0 blue.
constexpr std::array<std::uint32_t, 256> SpreadBits(int shift)
{
    std::array<std::uint32_t, 256> spread{};
    for (std::uint32_t value = 0; value < 256; ++value) {
        std::uint32_t cell = 0;
        for (int depth = 0; depth < kOctreeLeafDepth; ++depth) {
            if (value & (0x80u >> depth))
                cell |= 1u << (3 * (kOctreeLeafDepth - 1 - depth) + shift);
        }
        spread[value] = cell;
    }
    return spread;
}

constexpr std::array<std::uint32_t, 256> kRedBits = SpreadBits(2);
constexpr std::array<std::uint32_t, 256> kGreenBits = SpreadBits(1);
constexpr std::array<std::uint32_t, 256> kBlueBits = SpreadBits(0);

}  // namespace

ColorIndexTable::ColorIndexTable(const TOctree& tree) : cells_(std::size_t{1} << kCellBits, 0)
{
    Fill(*tree.Root, 0, 0);
}

std::uint32_t ColorIndexTable::CellOf(Color color)
{
    return kRedBits[color.red] | kGreenBits[color.green] | kBlueBits[color.blue];
}

void ColorIndexTable::Fill(const TOctreeNode& node, int depth, std::uint32_t path)
{
    if (node.IsLeaf) {
        const int shift = 3 * (kOctreeLeafDepth - depth);
        const auto first = cells_.begin() + (static_cast<std::ptrdiff_t>(path) << shift);
        std::fill(first, first + (std::ptrdiff_t{1} << shift), static_cast<std::uint8_t>(node.ColorIndex));
        return;
    }
    if (depth >= kOctreeLeafDepth)
        return;
    for (std::uint32_t slot = 0; slot < 8; ++slot) {
        if (const auto& child = node.Children[slot])
            Fill(*child, depth + 1, (path << 3) | slot);
    }
}

}  // namespace pomvella
