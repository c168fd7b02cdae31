#pragma once

#include "imaging/Picture.h"

namespace pomvella {

// Every pixel of an Indexed8 picture takes the colour its index stands for
// (black for an index past the palette); a Bgr24 picture is copied.
Picture ConvertTo24(const Picture& picture);

// Copies sourceRect of source into targetRect of target (Bgr24), pixel for
// pixel: both rectangles must have the same size. Pixels of sourceRect that
// lie outside source arrive black; pixels of targetRect outside target are
// dropped. The source may be Indexed8 (read through its palette).
void CopyRect(const Picture& source, const Rect& sourceRect, Picture& target, const Rect& targetRect);

// Paints colour over the pixels that are exactly black and connected to
// (x, y) through black pixels, four neighbours to a pixel. A seed outside the
// picture or on a pixel that is not black changes nothing. Bgr24 only.
void FloodFill(Picture& picture, int x, int y, Rgb colour);

// Paints colour over rect, clipped to the picture. Bgr24 only.
void FillRect(Picture& picture, const Rect& rect, Rgb colour);

}  // namespace pomvella
