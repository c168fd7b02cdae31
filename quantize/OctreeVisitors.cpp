#include "quantize/OctreeVisitors.h"

namespace pomvella {

namespace {

bool IsPrunableFork(const TOctreeNode& node)
{
    return !node.IsLeaf && node.ChildCount == node.LeafChildCount;
}

}  // namespace

void TTrimNodeVisitor::Visit(TOctreeNode& node, int, bool&)
{
    if (!IsPrunableFork(node) || node.PixelCount > node.Tree->TrimThreshold)
        return;
    for (int slot = 0; slot < 8; ++slot)
        node.DestroyChild(slot);
    node.SetLeaf();
}

void TGetMinForkPixels::Visit(TOctreeNode& node, int, bool&)
{
    if (IsPrunableFork(node) && node.PixelCount < node.Tree->TrimThreshold)
        node.Tree->TrimThreshold = node.PixelCount;
}

void TCountSmallForkNodes::Visit(TOctreeNode& node, int, bool&)
{
    if (node.IsLeaf)
        return;
    TOctree& tree = *node.Tree;
    // 64-bit: TrimThreshold may be the no-fork marker near 10^9.
    const std::int64_t threshold = tree.TrimThreshold;
    if (node.PixelCount <= threshold + 2)
        tree.SmallForkCount2 += node.PixelCount - 1;
    if (node.PixelCount <= threshold + 4)
        tree.SmallForkCount4 += node.PixelCount - 1;
    if (node.PixelCount <= threshold + 8)
        tree.SmallForkCount8 += node.PixelCount - 1;
}

void TColorIndexVisitor::Visit(TOctreeNode& node, int, bool&)
{
    if (!node.IsLeaf)
        return;
    node.ColorIndex = node.Tree->NextIndex;
    ++node.Tree->NextIndex;
}

void TGetColorEntry::Visit(TOctreeNode& node, int, bool&)
{
    if (!node.IsLeaf)
        return;
    TOctree& tree = *node.Tree;
    // A tree with more leaves than the record has room for is never turned
    // into a palette (BuildPalette refuses it); keep the write in bounds anyway.
    if (tree.NextIndex >= 0 && static_cast<std::size_t>(tree.NextIndex) < tree.Palette.Entries.size()) {
        const Rgb mean = node.GetAverageColor();
        tree.Palette.Entries[static_cast<std::size_t>(tree.NextIndex)] = PaletteEntry{mean.red, mean.green, mean.blue, 0};
    }
    ++tree.NextIndex;
}

}  // namespace pomvella
