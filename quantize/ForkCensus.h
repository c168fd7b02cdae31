#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

#include "quantize/Octree.h"

namespace pomvella {

// What trim passes would do to a tree, worked out from one walk instead of
// one walk per pass.
//
// A trim pass at threshold t turns into a leaf exactly the forks whose
// PixelCount is at most t. A fork's pixel count is the sum of its children's,
// so counts never grow from a node to its descendants. By induction on the
// height of a fork F with PixelCount <= t: each child of F is a leaf, or a fork
// with at most t pixels that the post-order pass visited before F and turned
// into a leaf; so F is prunable when it is visited and becomes a leaf too. A
// fork with more than t pixels is never turned into a leaf, and neither is
// any of its ancestors, which have at least as many pixels; so it survives.
//
// Hence after a pass at t a node survives if and only if it is the root or
// its parent has more than t pixels (the parent has the fewest pixels of all
// its ancestors), and the surviving forks are those with more than t pixels.
// Passes at t1 <= t2 in a row leave the same tree as one pass at t2. A run of
// passes at rising thresholds, such as the node cap's 1, 2, 3, ... or the
// reduction's, therefore needs only the census to find where it stops and one
// real pass at the last threshold.
class ForkCensus {
public:
    explicit ForkCensus(const TOctreeNode& root);

    // NodeCount and LeafCount after a trim pass at t.
    std::int32_t NodeCountAfterTrim(std::int32_t t) const;
    std::int32_t LeafCountAfterTrim(std::int32_t t) const;

    // The smallest t >= 1 for which a trim pass at t leaves at most target
    // nodes.
    std::int32_t SmallestThresholdReaching(std::int32_t target) const;

    // What GetMinForkPixels finds after a trim pass at t: the smallest
    // pixel count of a fork with more than t pixels whose fork children have
    // at most t (and are leaves now), or kNoPrunableFork. Successive calls
    // must give non-decreasing t.
    std::int32_t MinPrunableForkPixels(std::int32_t t);

    // Sum of PixelCount - 1 over the forks that survive a trim pass at t and
    // have at most limit pixels: CountSmallForkNodes's counter for
    // limit = TrimThreshold + k.
    std::int64_t SmallForkPixels(std::int32_t t, std::int64_t limit) const;

private:
    struct Fork {
        std::int32_t pixels;           // PixelCount
        std::int32_t children;         // ChildCount
        std::int32_t largestForkChild; // most pixels among its fork children, 0 if none
    };

    void Collect(const TOctreeNode& node);
    // Index of the first fork (in pixel order) with more than t pixels.
    std::size_t FirstAbove(std::int64_t t) const;

    std::vector<Fork> forks_;                 // ascending by pixels
    std::vector<std::int64_t> childrenAbove_; // [i]: sum of children of forks_[i..]
    std::vector<std::int64_t> pixelsBelow_;   // [i]: sum of pixels - 1 of forks_[..i)

    // MinPrunableForkPixels's state: forks in ascending largestForkChild
    // order, and the pixel counts of those that have become prunable.
    std::vector<std::size_t> byLargestForkChild_;
    std::size_t nextCandidate_ = 0;
    std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> prunable_;
};

}  // namespace pomvella
