#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/Picture.h"

namespace pomvella {

// The source file named by the octree's assertion failures.
inline constexpr char kOctreeSourceFile[] = "Octree.cpp";
inline constexpr int kColorCountAssertionLine = 171;
inline constexpr int kPixelFormatAssertionLine = 172;

// Leaves made by insertion sit at this depth: they tell colours apart by the
// top six bits of each channel.
inline constexpr int kOctreeLeafDepth = 6;
// The node cap: an insertion that leaves more than kNodeCap nodes trims the
// tree back to kNodeCapTarget nodes or fewer.
inline constexpr std::int32_t kNodeCap = 100000;
inline constexpr std::int32_t kNodeCapTarget = 99000;
// What GetMinForkPixels leaves in TrimThreshold when no fork is prunable.
inline constexpr std::int32_t kNoPrunableFork = 999999999;

// One 24-bit pixel in scan-line byte order.
struct Color {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

// The child slot of a colour at depth 0 to 5: bit 7 - depth of red, green and
// blue gives 4, 2 and 1.
inline int ChildSlot(Color color, int depth)
{
    const unsigned mask = 0x80u >> depth;
    return ((color.red & mask) ? 4 : 0) | ((color.green & mask) ? 2 : 0) | ((color.blue & mask) ? 1 : 0);
}

class TOctree;
class TOctreeNodeVisitor;

// A node of the colour tree. Its counters and sums are public so that the
// visitors, which carry no state of their own, can read them; NodeCount,
// LeafCount, ChildCount and LeafChildCount change only through creation,
// destruction and SetLeaf, which keep them true.
class TOctreeNode {
public:
    // Counts itself in the tree and in its parent; the caller stores it in
    // the parent's slot.
    TOctreeNode(TOctree& tree, TOctreeNode* parent);
    // Uncounts itself from the tree and its parent, then destroys its
    // children in slots 0 to 7.
    virtual ~TOctreeNode();
    TOctreeNode(const TOctreeNode&) = delete;
    TOctreeNode& operator=(const TOctreeNode&) = delete;

    // Turns a fork into a leaf; its children must be gone already.
    void SetLeaf();
    // Destroys the child in the slot, if any, and clears the slot.
    void DestroyChild(int slot);

    // Adds one pixel at every node from this one (at depth) down to a leaf,
    // creating missing nodes; new nodes at depth 6 are leaves.
    void AddColor(std::uint8_t depth, Color color);
    // The ColorIndex of the leaf the colour falls into; 0 for a colour whose
    // path meets an empty slot (one that was never added).
    std::int32_t GetColorIndex(std::uint8_t depth, Color color) const;
    // Post-order, slots ascending; false as soon as a visit clears Continue.
    bool Accept(TOctreeNodeVisitor& visitor, int depth);
    // The mean colour of the node's pixels, rounded down; black for none.
    Rgb GetAverageColor() const;

    bool IsLeaf = false;
    TOctree* Tree;          // not owned
    TOctreeNode* Parent;    // not owned; null for the root
    std::array<std::unique_ptr<TOctreeNode>, 8> Children;
    std::int32_t PixelCount = 0;
    // 64-bit: a picture of 4096 x 4096 white pixels sums to more than 2^31
    // in every channel of the root.
    std::int64_t RedSum = 0;
    std::int64_t GreenSum = 0;
    std::int64_t BlueSum = 0;
    std::int32_t ColorIndex = 0;
    std::int32_t ChildCount = 0;
    std::int32_t LeafChildCount = 0;
};

// One entry of the logical palette: red, green, blue, flags.
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

// The logical palette record the reduction fills: version 0x300, the entry
// count and room for 256 entries.
struct LogPalette {
    std::uint16_t Version = 0;
    std::uint16_t NumEntries = 0;
    std::array<PaletteEntry, 256> Entries{};
};

inline constexpr std::uint16_t kLogPaletteVersion = 0x300;

// The colour tree: one level per colour bit, most significant first.
class TOctree {
public:
    TOctree();
    virtual ~TOctree();
    TOctree(const TOctree&) = delete;
    TOctree& operator=(const TOctree&) = delete;

    // Adds one pixel, then trims the tree back to kNodeCapTarget nodes when
    // it holds more than kNodeCap.
    void AddColor(Color color);
    // The same as count calls of AddColor(color).
    void AddColors(Color color, std::int32_t count);
    // Trims the tree until it has at most colorCount leaves, then numbers
    // the leaves in visiting order.
    void Reduce(int colorCount);
    // Sets TrimThreshold to the smallest pixel count of a prunable fork.
    void GetMinForkPixels();
    // Fills SmallForkCount2, 4 and 8 for the current TrimThreshold.
    void CountSmallForkNodes();
    // Fills Palette with one entry per leaf in visiting order and returns
    // those LeafCount colours.
    std::vector<Rgb> BuildPalette();
    std::int32_t GetColorIndex(Color color) const;

    std::unique_ptr<TOctreeNode> Root;
    std::int32_t NodeCount = 0;
    std::int32_t LeafCount = 0;
    LogPalette Palette;
    std::int32_t NextIndex = 0;
    std::int32_t TrimThreshold = 0;
    // 64-bit: each is a sum of fork pixel counts, which reaches six times
    // the picture's pixel count.
    std::int64_t SmallForkCount2 = 0;
    std::int64_t SmallForkCount4 = 0;
    std::int64_t SmallForkCount8 = 0;

private:
    void ApplyNodeCap();
    void TrimPass();
};

// A visit of one node during Accept. Setting Continue to false ends the
// traversal at once.
class TOctreeNodeVisitor {
public:
    virtual ~TOctreeNodeVisitor() = default;
    virtual void Visit(TOctreeNode& node, int depth, bool& Continue) = 0;
};

}  // namespace pomvella
