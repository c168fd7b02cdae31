#include <gtest/gtest.h>

#include "quantize/Octree.h"
#include "quantize/OctreeVisitors.h"
#include "tests/quantize/QuantizeTestSupport.h"
#include "tests/quantize/ReferenceOctree.h"

namespace pomvella {
namespace {

using testing::CountNodes;

// The leaf (or deepest node) a colour's path reaches.
const TOctreeNode& NodeOf(const TOctree& tree, Color color, int* depthOut = nullptr)
{
    const TOctreeNode* node = tree.Root.get();
    int depth = 0;
    while (!node->IsLeaf && node->Children[static_cast<std::size_t>(ChildSlot(color, depth))]) {
        node = node->Children[static_cast<std::size_t>(ChildSlot(color, depth))].get();
        ++depth;
    }
    if (depthOut)
        *depthOut = depth;
    return *node;
}

void ExpectCountersTrue(const TOctree& tree)
{
    const testing::Census census = CountNodes(*tree.Root);
    EXPECT_EQ(tree.NodeCount, census.nodes);
    EXPECT_EQ(tree.LeafCount, census.leaves);
}

TEST(OctreeTest, NewTreeIsARootForkWithoutChildren)
{
    const TOctree tree;
    EXPECT_EQ(tree.NodeCount, 1);
    EXPECT_EQ(tree.LeafCount, 0);
    ASSERT_NE(tree.Root, nullptr);
    EXPECT_FALSE(tree.Root->IsLeaf);
    EXPECT_EQ(tree.Root->Parent, nullptr);
    EXPECT_EQ(tree.Root->Tree, &tree);
    EXPECT_EQ(tree.Root->ChildCount, 0);
    EXPECT_EQ(tree.Root->PixelCount, 0);
    for (const auto& child : tree.Root->Children)
        EXPECT_EQ(child, nullptr);
}

TEST(OctreeTest, ChildSlotTakesRedGreenBlueBitsFromTheTop)
{
    struct Case {
        Color color;
        int depth;
        int slot;
    };
    const Case cases[] = {
        {{0, 0, 255}, 0, 4},   {{0, 0, 255}, 5, 4},   // red
        {{0, 255, 0}, 3, 2},                          // green
        {{255, 0, 0}, 4, 1},                          // blue
        {{255, 255, 255}, 2, 7}, {{0, 0, 0}, 1, 0},
        {{0x04, 0x00, 0x00}, 5, 1}, {{0x04, 0x00, 0x00}, 4, 0},  // bit 2 is depth 5
        {{0x00, 0x40, 0x80}, 0, 4}, {{0x00, 0x40, 0x80}, 1, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChildSlot(c.color, c.depth), c.slot) << "depth " << c.depth;
}

TEST(OctreeTest, OneColourMakesAChainOfSixNodesEndingInALeaf)
{
    TOctree tree;
    const Color color{10, 20, 30};
    tree.AddColor(color);
    EXPECT_EQ(tree.NodeCount, 7);
    EXPECT_EQ(tree.LeafCount, 1);
    EXPECT_EQ(tree.Root->PixelCount, 1);
    EXPECT_EQ(tree.Root->RedSum, 30);
    EXPECT_EQ(tree.Root->GreenSum, 20);
    EXPECT_EQ(tree.Root->BlueSum, 10);
    int depth = 0;
    const TOctreeNode& leaf = NodeOf(tree, color, &depth);
    EXPECT_TRUE(leaf.IsLeaf);
    EXPECT_EQ(depth, 6);
    EXPECT_EQ(leaf.Parent->ChildCount, 1);
    EXPECT_EQ(leaf.Parent->LeafChildCount, 1);

    tree.AddColor(color);
    EXPECT_EQ(tree.NodeCount, 7);
    EXPECT_EQ(leaf.PixelCount, 2);
    EXPECT_EQ(leaf.RedSum, 60);
    EXPECT_EQ(leaf.GreenSum, 40);
    EXPECT_EQ(leaf.BlueSum, 20);
}

TEST(OctreeTest, ColoursDifferingInTheTwoLowBitsShareALeaf)
{
    TOctree tree;
    tree.AddColor(Color{0, 0, 0});
    tree.AddColor(Color{3, 3, 3});
    EXPECT_EQ(tree.NodeCount, 7);
    EXPECT_EQ(tree.LeafCount, 1);
    EXPECT_EQ(NodeOf(tree, Color{0, 0, 0}).GetAverageColor(), (Rgb{1, 1, 1}));

    TOctree reds;
    reds.AddColor(Color{0, 0, 100});
    reds.AddColor(Color{0, 0, 101});
    EXPECT_EQ(NodeOf(reds, Color{0, 0, 100}).GetAverageColor(), (Rgb{100, 0, 0}));
    EXPECT_EQ(TOctree().Root->GetAverageColor(), kBlack);
}

TEST(OctreeTest, AddColorsEqualsRepeatedAddColor)
{
    TOctree once;
    TOctree repeated;
    for (int i = 0; i < 5; ++i)
        repeated.AddColor(Color{1, 2, 3});
    once.AddColors(Color{1, 2, 3}, 5);
    once.AddColors(Color{9, 9, 9}, 0);
    EXPECT_EQ(once.NodeCount, repeated.NodeCount);
    EXPECT_EQ(once.Root->PixelCount, 5);
    EXPECT_EQ(NodeOf(once, Color{1, 2, 3}).BlueSum, 5);
    EXPECT_EQ(NodeOf(once, Color{1, 2, 3}).RedSum, NodeOf(repeated, Color{1, 2, 3}).RedSum);
}

TEST(OctreeTest, DestroyingASubtreeUncountsEveryNodeInIt)
{
    TOctree tree;
    for (const Color color : {Color{0, 0, 0}, Color{255, 0, 0}, Color{0xFF, 0x80, 0}, Color{0xF0, 0x80, 0x10}})
        tree.AddColor(color);
    ExpectCountersTrue(tree);
    const std::int32_t before = tree.NodeCount;
    // Slots 0, 1 and 3 at the root; slot 3 (blue and green bit 7) holds two
    // colours that share depths 1 to 3 and part at red bit 4: 3 + 2 x 3 nodes.
    ASSERT_EQ(tree.Root->ChildCount, 3);
    ASSERT_NE(tree.Root->Children[3], nullptr);
    const std::int32_t subtree = CountNodes(*tree.Root->Children[3]).nodes;
    EXPECT_EQ(subtree, 9);
    tree.Root->DestroyChild(3);
    EXPECT_EQ(tree.Root->Children[3], nullptr);
    EXPECT_EQ(tree.NodeCount, before - subtree);
    EXPECT_EQ(tree.LeafCount, 2);
    EXPECT_EQ(tree.Root->ChildCount, 2);
    ExpectCountersTrue(tree);
}

TEST(OctreeTest, TrimmingAForkWithOneLeafRemovesOneNodeAndKeepsTheLeafCount)
{
    TOctree tree;
    tree.AddColor(Color{10, 20, 30});
    TOctreeNode& fork = *NodeOf(tree, Color{10, 20, 30}).Parent;
    tree.TrimThreshold = 1;
    TTrimNodeVisitor trim;
    bool keepGoing = true;
    trim.Visit(fork, 5, keepGoing);
    EXPECT_TRUE(fork.IsLeaf);
    EXPECT_EQ(tree.NodeCount, 6);
    EXPECT_EQ(tree.LeafCount, 1);
    EXPECT_EQ(fork.Parent->LeafChildCount, 1);

    // A fork above the threshold or with a fork child stays.
    tree.TrimThreshold = 0;
    trim.Visit(*fork.Parent, 4, keepGoing);
    EXPECT_FALSE(fork.Parent->IsLeaf);
    tree.TrimThreshold = 5;
    trim.Visit(*fork.Parent->Parent, 3, keepGoing);
    EXPECT_FALSE(fork.Parent->Parent->IsLeaf);
    ExpectCountersTrue(tree);
}

TEST(OctreeTest, TrimmingTheRootLeavesOneLeafThatAnswersEveryLookup)
{
    TOctree tree;
    const Color colors[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (const Color color : colors)
        tree.AddColor(color);
    EXPECT_EQ(tree.NodeCount, 31);
    EXPECT_EQ(tree.LeafCount, 5);
    tree.TrimThreshold = 5;
    TTrimNodeVisitor trim;
    EXPECT_TRUE(tree.Root->Accept(trim, 0));
    EXPECT_EQ(tree.NodeCount, 1);
    EXPECT_EQ(tree.LeafCount, 1);
    EXPECT_TRUE(tree.Root->IsLeaf);
    EXPECT_EQ(tree.Root->GetAverageColor(), (Rgb{102, 102, 102}));

    tree.Reduce(2);
    for (const Color color : colors)
        EXPECT_EQ(tree.GetColorIndex(color), 0);
    const std::vector<Rgb> palette = tree.BuildPalette();
    EXPECT_EQ(palette, (std::vector<Rgb>{{102, 102, 102}}));
}

TEST(OctreeTest, OverShootStepsOfTheReductionRoundByRound)
{
    // Black, blue, green, red, white: five chains of single pixels.
    TOctree tree;
    for (const Color color : {Color{0, 0, 0}, Color{255, 0, 0}, Color{0, 255, 0}, Color{0, 0, 255}, Color{255, 255, 255}})
        tree.AddColor(color);
    tree.TrimThreshold = 1;
    TTrimNodeVisitor trim;
    tree.Root->Accept(trim, 0);
    EXPECT_EQ(tree.NodeCount, 6);  // each chain folded into a leaf at depth 1
    EXPECT_EQ(tree.LeafCount, 5);
    tree.GetMinForkPixels();
    EXPECT_EQ(tree.TrimThreshold, 5);  // the root
    tree.CountSmallForkNodes();
    EXPECT_EQ(tree.SmallForkCount2, 4);
    EXPECT_EQ(tree.SmallForkCount4, 4);
    EXPECT_EQ(tree.SmallForkCount8, 4);

    tree.Root->Accept(trim, 0);
    EXPECT_EQ(tree.NodeCount, 1);
    tree.GetMinForkPixels();
    EXPECT_EQ(tree.TrimThreshold, kNoPrunableFork);
}

TEST(OctreeTest, ReduceNumbersLeavesInSlotOrderAndUnknownColoursGetZero)
{
    TOctree tree;
    const Color white{255, 255, 255};
    const Color red{0, 0, 255};
    const Color blue{255, 0, 0};
    for (const Color color : {white, red, blue})
        tree.AddColor(color);
    tree.Reduce(256);
    EXPECT_EQ(tree.NodeCount, 19);  // nothing trimmed
    EXPECT_EQ(tree.GetColorIndex(blue), 0);
    EXPECT_EQ(tree.GetColorIndex(red), 1);
    EXPECT_EQ(tree.GetColorIndex(white), 2);
    EXPECT_EQ(tree.GetColorIndex(Color{0, 255, 0}), 0);        // empty slot at the root
    EXPECT_EQ(tree.GetColorIndex(Color{255, 255, 0xFB}), 0);  // empty slot at depth 5
    EXPECT_EQ(tree.GetColorIndex(Color{255, 255, 0xFC}), 2);  // same leaf as white
    EXPECT_EQ(TOctree().GetColorIndex(white), 0);
}

TEST(OctreeTest, BuildPaletteFillsTheRecord)
{
    TOctree tree;
    tree.AddColor(Color{0, 0, 255});
    tree.AddColor(Color{255, 0, 0});
    tree.AddColor(Color{10, 20, 30});
    tree.Reduce(256);
    const std::vector<Rgb> palette = tree.BuildPalette();
    EXPECT_EQ(tree.Palette.Version, 0x300);
    EXPECT_EQ(tree.Palette.NumEntries, 3);
    EXPECT_EQ(tree.NextIndex, 3);
    // Slot 0 (the dark colour), then blue (slot 1), then red (slot 4).
    EXPECT_EQ(palette, (std::vector<Rgb>{{30, 20, 10}, {0, 0, 255}, {255, 0, 0}}));
    EXPECT_EQ(tree.Palette.Entries[1].blue, 255);
    EXPECT_EQ(tree.Palette.Entries[1].flags, 0);
    EXPECT_EQ(tree.Palette.Entries[3].red, 0);

    TOctree empty;
    empty.Reduce(2);
    EXPECT_TRUE(empty.BuildPalette().empty());
    EXPECT_EQ(empty.Palette.NumEntries, 0);
}

// Counts visits and clears Continue at the visit numbered stopAt (from 1).
class StoppingVisitor : public TOctreeNodeVisitor {
public:
    explicit StoppingVisitor(int stopAt) : stopAt_(stopAt) {}
    void Visit(TOctreeNode& node, int depth, bool& Continue) override
    {
        visited.push_back({&node, depth});
        if (static_cast<int>(visited.size()) == stopAt_)
            Continue = false;
    }
    std::vector<std::pair<const TOctreeNode*, int>> visited;

private:
    int stopAt_;
};

TEST(OctreeTest, AcceptIsPostOrderAndStopsAtTheFirstClearedContinue)
{
    TOctree tree;
    tree.AddColor(Color{0, 0, 255});  // red: slot 4 all the way down
    tree.AddColor(Color{255, 0, 0});  // blue: slot 1
    StoppingVisitor all(0);
    EXPECT_TRUE(tree.Root->Accept(all, 0));
    ASSERT_EQ(all.visited.size(), 13u);
    // Blue's chain first, deepest node first, the root last.
    EXPECT_EQ(all.visited[0].first, &NodeOf(tree, Color{255, 0, 0}));
    EXPECT_EQ(all.visited[0].second, 6);
    EXPECT_EQ(all.visited[5].second, 1);
    EXPECT_EQ(all.visited[6].first, &NodeOf(tree, Color{0, 0, 255}));
    EXPECT_EQ(all.visited[12].first, tree.Root.get());
    EXPECT_EQ(all.visited[12].second, 0);

    for (const int stopAt : {1, 6, 7, 13}) {
        StoppingVisitor stopping(stopAt);
        EXPECT_FALSE(tree.Root->Accept(stopping, 0)) << stopAt;
        EXPECT_EQ(stopping.visited.size(), static_cast<std::size_t>(stopAt));
    }
}

// The colour whose path is the cell's slots: cell bits 17..15 are the slot
// at depth 0, and so on down to bits 2..0 at depth 5.
Color ColorOfCell(std::uint32_t cell)
{
    Color color;
    for (int depth = 0; depth < 6; ++depth) {
        const std::uint32_t slot = (cell >> (3 * (5 - depth))) & 7;
        const auto bit = static_cast<std::uint8_t>(0x80 >> depth);
        if (slot & 4)
            color.red |= bit;
        if (slot & 2)
            color.green |= bit;
        if (slot & 1)
            color.blue |= bit;
    }
    return color;
}

int NodesAddedBy(const TOctree& tree, Color color)
{
    int depth = 0;
    const TOctreeNode& node = NodeOf(tree, color, &depth);
    return node.IsLeaf ? 0 : 6 - depth;
}

TEST(OctreeTest, NodeCapActsAboveOneHundredThousandNodesAndTrimsTo99000)
{
    TOctree tree;
    reference::Tree expected;
    auto add = [&](Color color) {
        tree.AddColor(color);
        reference::AddColor(expected, color);
    };
    // Every depth-5 fork gets the leaves of slots 0 to 6 (7 pixels), leaving
    // slot 7 free so that single nodes can be added near the cap.
    std::uint32_t forks = 0;
    while (tree.NodeCount + NodesAddedBy(tree, ColorOfCell(forks * 8)) + 6 <= kNodeCap - 8) {
        for (std::uint32_t slot = 0; slot < 7; ++slot)
            add(ColorOfCell(forks * 8 + slot));
        ++forks;
    }
    std::uint32_t spares = 0;
    while (tree.NodeCount < kNodeCap) {
        ASSERT_EQ(NodesAddedBy(tree, ColorOfCell(spares * 8 + 7)), 1);
        add(ColorOfCell(spares * 8 + 7));
        ++spares;
    }
    EXPECT_EQ(tree.NodeCount, kNodeCap);  // exactly at the cap: nothing trimmed
    EXPECT_EQ(expected.trimPasses, 0);
    const std::int32_t leavesAtCap = tree.LeafCount;

    add(ColorOfCell(spares * 8 + 7));
    ++spares;
    // Passes at 1 to 6 find nothing; 7 folds the depth-5 forks of 7 pixels.
    const auto folded = static_cast<std::int32_t>(forks - spares);
    EXPECT_EQ(expected.trimPasses, 7);
    EXPECT_EQ(tree.TrimThreshold, 8);
    EXPECT_EQ(tree.NodeCount, kNodeCap + 1 - 7 * folded);
    EXPECT_EQ(tree.LeafCount, leavesAtCap + 1 - 6 * folded);
    EXPECT_LE(tree.NodeCount, kNodeCapTarget);
    ExpectCountersTrue(tree);
    testing::ExpectSameTree(tree, expected);
}

}  // namespace
}  // namespace pomvella
