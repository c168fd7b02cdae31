#pragma once

// The colour tree written out step by step, with no shortcut: every trim pass
// is run, one per threshold, and every lookup walks the tree. The production
// tree must give the same tree, palette and indices.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/Error.h"
#include "imaging/Picture.h"
#include "quantize/Octree.h"

namespace pomvella::reference {

struct Tree;

struct Node {
    Node(Tree& owner, Node* parentNode);
    ~Node();

    bool isLeaf = false;
    Tree* tree;
    Node* parent;
    std::array<std::unique_ptr<Node>, 8> children;
    std::int32_t pixelCount = 0;
    std::int64_t redSum = 0;
    std::int64_t greenSum = 0;
    std::int64_t blueSum = 0;
    std::int32_t colorIndex = 0;
    std::int32_t childCount = 0;
    std::int32_t leafChildCount = 0;
};

using Visit = std::function<void(Node&, int depth, bool& keepGoing)>;

struct Tree {
    Tree() { root = std::make_unique<Node>(*this, nullptr); }
    ~Tree() { root.reset(); }

    std::unique_ptr<Node> root;
    std::int32_t nodeCount = 0;
    std::int32_t leafCount = 0;
    std::int32_t nextIndex = 0;
    std::int32_t trimThreshold = 0;
    std::int64_t smallForkCount2 = 0;
    std::int64_t smallForkCount4 = 0;
    std::int64_t smallForkCount8 = 0;
    std::vector<Rgb> palette;
    int trimPasses = 0;  // every pass run, for the tests
    int capEvents = 0;   // insertions after which the node cap acted
};

inline Node::Node(Tree& owner, Node* parentNode) : tree(&owner), parent(parentNode)
{
    tree->nodeCount += 1;
    if (parent)
        parent->childCount += 1;
}

inline Node::~Node()
{
    tree->nodeCount -= 1;
    if (isLeaf)
        tree->leafCount -= 1;
    if (parent) {
        parent->childCount -= 1;
        if (isLeaf)
            parent->leafChildCount -= 1;
    }
    for (int slot = 0; slot < 8; ++slot)
        children[slot].reset();
}

inline void SetLeaf(Node& node)
{
    node.isLeaf = true;
    node.tree->leafCount += 1;
    if (node.parent)
        node.parent->leafChildCount += 1;
}

inline int Slot(Color color, int depth)
{
    const int mask = 0x80 >> depth;
    int slot = 0;
    if (color.red & mask)
        slot += 4;
    if (color.green & mask)
        slot += 2;
    if (color.blue & mask)
        slot += 1;
    return slot;
}

inline void AddColor(Node& node, int depth, Color color)
{
    node.pixelCount += 1;
    node.redSum += color.red;
    node.greenSum += color.green;
    node.blueSum += color.blue;
    if (node.isLeaf)
        return;
    const int slot = Slot(color, depth);
    if (!node.children[slot]) {
        node.children[slot] = std::make_unique<Node>(*node.tree, &node);
        if (depth == 5)
            SetLeaf(*node.children[slot]);
    }
    AddColor(*node.children[slot], depth + 1, color);
}

inline bool Accept(Node& node, int depth, const Visit& visit)
{
    for (int slot = 0; slot < 8; ++slot) {
        if (node.children[slot] && !Accept(*node.children[slot], depth + 1, visit))
            return false;
    }
    bool keepGoing = true;
    visit(node, depth, keepGoing);
    return keepGoing;
}

inline void TrimPass(Tree& tree)
{
    tree.trimPasses += 1;
    Accept(*tree.root, 0, [](Node& node, int, bool&) {
        if (!node.isLeaf && node.pixelCount <= node.tree->trimThreshold && node.childCount == node.leafChildCount) {
            for (int slot = 0; slot < 8; ++slot)
                node.children[slot].reset();
            SetLeaf(node);
        }
    });
}

inline void AddColor(Tree& tree, Color color)
{
    AddColor(*tree.root, 0, color);
    if (tree.nodeCount <= 100000)
        return;
    tree.capEvents += 1;
    tree.trimThreshold = 1;
    while (tree.nodeCount > 99000) {
        TrimPass(tree);
        tree.trimThreshold += 1;
    }
}

inline void GetMinForkPixels(Tree& tree)
{
    tree.trimThreshold = 999999999;
    Accept(*tree.root, 0, [](Node& node, int, bool&) {
        if (!node.isLeaf && node.childCount == node.leafChildCount && node.pixelCount < node.tree->trimThreshold)
            node.tree->trimThreshold = node.pixelCount;
    });
}

inline void CountSmallForkNodes(Tree& tree)
{
    tree.smallForkCount2 = 0;
    tree.smallForkCount4 = 0;
    tree.smallForkCount8 = 0;
    Accept(*tree.root, 0, [](Node& node, int, bool&) {
        if (node.isLeaf)
            return;
        Tree& t = *node.tree;
        if (node.pixelCount <= std::int64_t{t.trimThreshold} + 2)
            t.smallForkCount2 += node.pixelCount - 1;
        if (node.pixelCount <= std::int64_t{t.trimThreshold} + 4)
            t.smallForkCount4 += node.pixelCount - 1;
        if (node.pixelCount <= std::int64_t{t.trimThreshold} + 8)
            t.smallForkCount8 += node.pixelCount - 1;
    });
}

inline void Reduce(Tree& tree, int n)
{
    tree.trimThreshold = 1;
    while (n < tree.leafCount) {
        TrimPass(tree);
        GetMinForkPixels(tree);
        CountSmallForkNodes(tree);
        const std::int32_t excess = tree.nodeCount - n;
        if (excess > tree.smallForkCount8)
            tree.trimThreshold += 8;
        else if (excess > tree.smallForkCount4)
            tree.trimThreshold += 4;
        else if (excess > tree.smallForkCount2)
            tree.trimThreshold += 2;
    }
    tree.nextIndex = 0;
    Accept(*tree.root, 0, [](Node& node, int, bool&) {
        if (node.isLeaf) {
            node.colorIndex = node.tree->nextIndex;
            node.tree->nextIndex += 1;
        }
    });
}

inline void BuildPalette(Tree& tree)
{
    tree.nextIndex = 0;
    tree.palette.assign(static_cast<std::size_t>(tree.leafCount), Rgb{});
    Accept(*tree.root, 0, [](Node& node, int, bool&) {
        if (!node.isLeaf)
            return;
        Rgb mean;
        if (node.pixelCount > 0) {
            mean.red = static_cast<std::uint8_t>(node.redSum / node.pixelCount);
            mean.green = static_cast<std::uint8_t>(node.greenSum / node.pixelCount);
            mean.blue = static_cast<std::uint8_t>(node.blueSum / node.pixelCount);
        }
        node.tree->palette[static_cast<std::size_t>(node.tree->nextIndex)] = mean;
        node.tree->nextIndex += 1;
    });
}

inline std::int32_t GetColorIndex(const Node& node, int depth, Color color)
{
    if (node.isLeaf)
        return node.colorIndex;
    const Node* child = node.children[Slot(color, depth)].get();
    return child ? GetColorIndex(*child, depth + 1, color) : 0;
}

}  // namespace pomvella::reference
