#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Picture.h"
#include "quantize/ColorIndexTable.h"
#include "quantize/Octree.h"

namespace pomvella {

// ReduceColors in steps, for callers that hold a picture's rows one band at
// a time: every row (Bgr24, top row first) goes through AddRow, then Finish
// reduces the tree and returns the palette, then IndexRow maps rows to
// palette indices. The same rows in the same order give the same result as
// ReduceColors.
class ColorReducer {
public:
    // Fails with the assertion of line 171 when colorCount is outside 2 to 256.
    explicit ColorReducer(int colorCount);

    // Fails with the invalid-bitmap error once the rows hold more than
    // 999,999,998 pixels: the tree's 32-bit counters need that headroom.
    void AddRow(std::span<const std::uint8_t> row);
    std::vector<Rgb> Finish();
    // After Finish; indices holds one byte for each pixel of row.
    void IndexRow(std::span<const std::uint8_t> row, std::span<std::uint8_t> indices) const;

private:
    int colorCount_;
    std::int64_t pixels_ = 0;
    // Released by Finish: the table answers every lookup from then on.
    std::unique_ptr<TOctree> tree_;
    std::optional<ColorIndexTable> indices_;
};

}  // namespace pomvella
