#pragma once

#include <cstdint>
#include <vector>

#include "quantize/Octree.h"

namespace pomvella {

// Every answer of a numbered tree's GetColorIndex, low byte only, laid out by
// the top six bits of each channel. A leaf at depth d answers for a block of
// 8^(6 - d) cells; cells that no leaf covers answer 0, as GetColorIndex does
// for a colour that was never added. One table lookup replaces a walk of up
// to seven nodes per pixel.
class ColorIndexTable {
public:
    explicit ColorIndexTable(const TOctree& tree);

    std::uint8_t Lookup(Color color) const { return cells_[CellOf(color)]; }

    // The cell of a colour: the child slots of its path (red, green, blue bit
    // 7, then bit 6, ... down to bit 2) read as one number.
    static std::uint32_t CellOf(Color color);

private:
    void Fill(const TOctreeNode& node, int depth, std::uint32_t path);

    std::vector<std::uint8_t> cells_;
};

}  // namespace pomvella
