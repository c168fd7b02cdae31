#include "quantize/Octree.h"

#include <algorithm>

#include "quantize/ForkCensus.h"
#include "quantize/OctreeVisitors.h"

namespace pomvella {

TOctreeNode::TOctreeNode(TOctree& tree, TOctreeNode* parent) : Tree(&tree), Parent(parent)
{
    ++Tree->NodeCount;
    if (Parent != nullptr)
        ++Parent->ChildCount;
}

TOctreeNode::~TOctreeNode()
{
    --Tree->NodeCount;
    if (IsLeaf)
        --Tree->LeafCount;
    if (Parent != nullptr) {
        --Parent->ChildCount;
        if (IsLeaf)
            --Parent->LeafChildCount;
    }
    // Explicitly, in slot order, while this node's counters are still alive.
    for (auto& child : Children)
        child.reset();
}

void TOctreeNode::SetLeaf()
{
    IsLeaf = true;
    ++Tree->LeafCount;
    if (Parent != nullptr)
        ++Parent->LeafChildCount;
}

void TOctreeNode::DestroyChild(int slot)
{
    Children[static_cast<std::size_t>(slot)].reset();
}

void TOctreeNode::AddColor(std::uint8_t depth, Color color)
{
    TOctreeNode* node = this;
    for (int level = depth;; ++level) {
        ++node->PixelCount;
        node->RedSum += color.red;
        node->GreenSum += color.green;
        node->BlueSum += color.blue;
        if (node->IsLeaf)
            return;
        std::unique_ptr<TOctreeNode>& child = node->Children[static_cast<std::size_t>(ChildSlot(color, level))];
        if (!child) {
            child = std::make_unique<TOctreeNode>(*Tree, node);
            // A fork below depth 5 cannot exist; ">=" keeps a misplaced call finite.
            if (level >= kOctreeLeafDepth - 1)
                child->SetLeaf();
        }
        node = child.get();
    }
}

std::int32_t TOctreeNode::GetColorIndex(std::uint8_t depth, Color color) const
{
    const TOctreeNode* node = this;
    for (int level = depth; !node->IsLeaf; ++level) {
        if (level >= kOctreeLeafDepth)
            return 0;
        const TOctreeNode* child = node->Children[static_cast<std::size_t>(ChildSlot(color, level))].get();
        if (child == nullptr)
            return 0;  // a colour that was never added
        node = child;
    }
    return node->ColorIndex;
}

bool TOctreeNode::Accept(TOctreeNodeVisitor& visitor, int depth)
{
    for (auto& child : Children) {
        if (child && !child->Accept(visitor, depth + 1))
            return false;
    }
    bool keepGoing = true;
    visitor.Visit(*this, depth, keepGoing);
    return keepGoing;
}

Rgb TOctreeNode::GetAverageColor() const
{
    if (PixelCount <= 0)
        return kBlack;
    return Rgb{static_cast<std::uint8_t>(RedSum / PixelCount), static_cast<std::uint8_t>(GreenSum / PixelCount),
               static_cast<std::uint8_t>(BlueSum / PixelCount)};
}

TOctree::TOctree()
{
    // In the body: the root counts itself into NodeCount, which is declared
    // after Root and initialised only then.
    Root = std::make_unique<TOctreeNode>(*this, nullptr);
}

TOctree::~TOctree()
{
    // Before the counters go: the nodes uncount themselves.
    Root.reset();
}

void TOctree::AddColor(Color color)
{
    Root->AddColor(0, color);
    if (NodeCount > kNodeCap)
        ApplyNodeCap();
}

void TOctree::AddColors(Color color, std::int32_t count)
{
    if (count <= 0)
        return;
    AddColor(color);
    // The first pixel left a path to a leaf (the cap only replaces subtrees by
    // leaves), so the others create no node and cannot bring the cap on: they
    // only enter the sums along that path.
    const std::int32_t more = count - 1;
    if (more == 0)
        return;
    TOctreeNode* node = Root.get();
    for (int level = 0;; ++level) {
        node->PixelCount += more;
        node->RedSum += static_cast<std::int64_t>(color.red) * more;
        node->GreenSum += static_cast<std::int64_t>(color.green) * more;
        node->BlueSum += static_cast<std::int64_t>(color.blue) * more;
        if (node->IsLeaf)
            return;
        node = node->Children[static_cast<std::size_t>(ChildSlot(color, level))].get();
    }
}

void TOctree::TrimPass()
{
    TTrimNodeVisitor trim;
    Root->Accept(trim, 0);
}

// The cap trims at thresholds 1, 2, 3, ... until at most kNodeCapTarget nodes
// are left. The passes fold (see ForkCensus) all forks up to the last
// threshold, so one pass there leaves the same tree; TrimThreshold ends one
// above it, as after the last of the passes.
void TOctree::ApplyNodeCap()
{
    const std::int32_t last = ForkCensus(*Root).SmallestThresholdReaching(kNodeCapTarget);
    TrimThreshold = last;
    TrimPass();
    TrimThreshold = last + 1;
}

// Each round trims at TrimThreshold, finds the smallest prunable fork and
// the small-fork counters, then raises the threshold by 8, 4, 2 or 0 from
// there depending on how many nodes are in excess. The rounds run on the
// census (see ForkCensus): the thresholds rise from round to round (the
// smallest prunable fork after a pass at t has more than t pixels), so the
// tree after the last round is the tree after one pass at its threshold.
void TOctree::Reduce(int colorCount)
{
    ForkCensus census(*Root);
    TrimThreshold = 1;
    std::int32_t leafCount = LeafCount;
    std::int32_t trimmedAt = 0;  // no pass yet
    while (colorCount < leafCount) {
        trimmedAt = TrimThreshold;
        const std::int32_t nodeCount = census.NodeCountAfterTrim(trimmedAt);
        leafCount = census.LeafCountAfterTrim(trimmedAt);
        TrimThreshold = census.MinPrunableForkPixels(trimmedAt);
        SmallForkCount2 = census.SmallForkPixels(trimmedAt, std::int64_t{TrimThreshold} + 2);
        SmallForkCount4 = census.SmallForkPixels(trimmedAt, std::int64_t{TrimThreshold} + 4);
        SmallForkCount8 = census.SmallForkPixels(trimmedAt, std::int64_t{TrimThreshold} + 8);
        const std::int32_t excess = nodeCount - colorCount;
        if (excess > SmallForkCount8)
            TrimThreshold += 8;
        else if (excess > SmallForkCount4)
            TrimThreshold += 4;
        else if (excess > SmallForkCount2)
            TrimThreshold += 2;
    }
    if (trimmedAt > 0) {
        const std::int32_t next = TrimThreshold;
        TrimThreshold = trimmedAt;
        TrimPass();
        TrimThreshold = next;
    }

    NextIndex = 0;
    TColorIndexVisitor number;
    Root->Accept(number, 0);
}

void TOctree::GetMinForkPixels()
{
    TrimThreshold = kNoPrunableFork;
    TGetMinForkPixels visitor;
    Root->Accept(visitor, 0);
}

void TOctree::CountSmallForkNodes()
{
    SmallForkCount2 = 0;
    SmallForkCount4 = 0;
    SmallForkCount8 = 0;
    TCountSmallForkNodes visitor;
    Root->Accept(visitor, 0);
}

std::vector<Rgb> TOctree::BuildPalette()
{
    NextIndex = 0;
    Palette = LogPalette{};
    Palette.Version = kLogPaletteVersion;
    // Reduce leaves at most 256 leaves; the record has room for no more.
    const auto entryCount = static_cast<std::uint16_t>(std::clamp(LeafCount, 0, 256));
    Palette.NumEntries = entryCount;
    TGetColorEntry visitor;
    Root->Accept(visitor, 0);

    std::vector<Rgb> colors;
    colors.reserve(entryCount);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const PaletteEntry& entry = Palette.Entries[i];
        colors.push_back(Rgb{entry.red, entry.green, entry.blue});
    }
    return colors;
}

std::int32_t TOctree::GetColorIndex(Color color) const
{
    return Root->GetColorIndex(0, color);
}

}  // namespace pomvella
