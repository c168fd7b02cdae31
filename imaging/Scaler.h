#pragma once

#include "imaging/Picture.h"

namespace pomvella {

// Scales source to width × height by exact area averaging, the same on every
// platform. Source w × h, target W × H: source column i covers [i·W, (i+1)·W)
// and target column X covers [X·w, (X+1)·w) (rows likewise with H and h). The
// weight of source pixel (i, j) in target pixel (X, Y) is the product of the
// horizontal and vertical overlaps, the weights of one target pixel add up to
// w·h, and each channel is
//     target = (2·Σ weight·source + w·h) div (2·w·h)
// the nearest integer, halves upwards. Pure black stays pure black.
//
// The result is Bgr24; an Indexed8 source is read through its palette. A
// target of width or height 0 is an empty picture; an empty source (width or
// height 0) gives a black target of the requested size. Negative sizes raise
// std::invalid_argument.
Picture ScaleAreaAverage(const Picture& source, int width, int height);

}  // namespace pomvella
