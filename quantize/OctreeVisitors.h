#pragma once

#include "quantize/Octree.h"

namespace pomvella {

// The visitors carry no state: what they compute goes into the tree they walk.

// Turns a prunable fork whose PixelCount is at most the tree's TrimThreshold
// into a leaf; its sums already cover the pixels of the leaves it replaces.
class TTrimNodeVisitor : public TOctreeNodeVisitor {
public:
    void Visit(TOctreeNode& node, int depth, bool& Continue) override;
};

// Lowers the tree's TrimThreshold to the pixel count of each smaller
// prunable fork.
class TGetMinForkPixels : public TOctreeNodeVisitor {
public:
    void Visit(TOctreeNode& node, int depth, bool& Continue) override;
};

// Adds PixelCount - 1 of every fork with at most TrimThreshold + k pixels to
// the tree's SmallForkCount<k>, for k of 2, 4 and 8.
class TCountSmallForkNodes : public TOctreeNodeVisitor {
public:
    void Visit(TOctreeNode& node, int depth, bool& Continue) override;
};

// Gives each leaf the tree's NextIndex as its ColorIndex and advances it.
class TColorIndexVisitor : public TOctreeNodeVisitor {
public:
    void Visit(TOctreeNode& node, int depth, bool& Continue) override;
};

// Writes each leaf's mean colour into the palette entry NextIndex and
// advances it.
class TGetColorEntry : public TOctreeNodeVisitor {
public:
    void Visit(TOctreeNode& node, int depth, bool& Continue) override;
};

}  // namespace pomvella
