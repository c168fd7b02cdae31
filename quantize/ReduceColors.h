#pragma once

#include <memory>

#include "imaging/Picture.h"

namespace pomvella {

// Reduces a Bgr24 picture to an Indexed8 picture of the same size whose
// palette holds the mean colours of at most colorCount octree leaves (fewer
// when the trimming overshoots; none for an empty picture).
// Fails with "Assertion failure (Octree.cpp, 171 行)" when colorCount is
// outside 2 to 256 and "... 172 行" when the picture is not Bgr24, in that
// order and before any work.
std::unique_ptr<Picture> ReduceColors(const Picture& bitmap, int colorCount);

}  // namespace pomvella
