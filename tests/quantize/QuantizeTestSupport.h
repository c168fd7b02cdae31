#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/Picture.h"
#include "quantize/Octree.h"
#include "tests/quantize/ReferenceOctree.h"

namespace pomvella::testing {

// A Bgr24 picture from rows of colours, top row first.
inline Picture MakePicture(const std::vector<std::vector<Rgb>>& rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    Picture picture(PixelFormat::Bgr24, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    return picture;
}

// Every channel independent and uniform: the worst case for the node cap.
inline Picture NoisePicture(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Picture picture(PixelFormat::Bgr24, width, height);
    for (std::uint8_t& byte : picture.Pixels())
        byte = static_cast<std::uint8_t>(random() >> 24);
    return picture;
}

// Smooth gradients with some noise and a few flat patches: many distinct
// colours, like a photograph.
inline Picture PhotoLikePicture(int width, int height, std::uint32_t seed, int noise = 24)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> jitter(-noise, noise);
    Picture picture(PixelFormat::Bgr24, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool flat = ((x / 37) + (y / 29)) % 11 == 0;
            auto channel = [&](int base) {
                return static_cast<std::uint8_t>(std::clamp(base + (flat ? 0 : jitter(random)), 0, 255));
            };
            const int red = 255 * x / std::max(1, width - 1);
            const int green = 255 * y / std::max(1, height - 1);
            const int blue = (x + y) * 255 / std::max(1, width + height - 2);
            picture.SetPixel(x, y, Rgb{channel(red), channel(green), channel(255 - blue)});
        }
    }
    return picture;
}

inline Color ColorOf(Rgb rgb) { return Color{rgb.blue, rgb.green, rgb.red}; }

// The first difference between two subtrees, slot by slot, or "" when they
// hold the same nodes with the same counters.
inline std::string FirstDifference(const TOctreeNode& node, const reference::Node& expected, const std::string& path)
{
    auto differ = [&](const char* field, auto actual, auto wanted) {
        return path + ": " + field + " " + std::to_string(actual) + " instead of " + std::to_string(wanted);
    };
    if (node.IsLeaf != expected.isLeaf)
        return differ("IsLeaf", node.IsLeaf, expected.isLeaf);
    if (node.PixelCount != expected.pixelCount)
        return differ("PixelCount", node.PixelCount, expected.pixelCount);
    if (node.RedSum != expected.redSum || node.GreenSum != expected.greenSum || node.BlueSum != expected.blueSum)
        return differ("RedSum", node.RedSum, expected.redSum) + " (or another sum)";
    if (node.ColorIndex != expected.colorIndex)
        return differ("ColorIndex", node.ColorIndex, expected.colorIndex);
    if (node.ChildCount != expected.childCount || node.LeafChildCount != expected.leafChildCount)
        return differ("ChildCount", node.ChildCount, expected.childCount) + " (or LeafChildCount)";
    for (std::size_t slot = 0; slot < 8; ++slot) {
        const std::string childPath = path + std::to_string(slot);
        if ((node.Children[slot] != nullptr) != (expected.children[slot] != nullptr))
            return childPath + ": present in one tree only";
        if (!node.Children[slot])
            continue;
        if (node.Children[slot]->Parent != &node || node.Children[slot]->Tree != node.Tree)
            return childPath + ": wrong Parent or Tree";
        std::string difference = FirstDifference(*node.Children[slot], *expected.children[slot], childPath);
        if (!difference.empty())
            return difference;
    }
    return "";
}

inline void ExpectSameTree(const TOctree& tree, const reference::Tree& expected)
{
    EXPECT_EQ(tree.NodeCount, expected.nodeCount);
    EXPECT_EQ(tree.LeafCount, expected.leafCount);
    EXPECT_EQ(tree.TrimThreshold, expected.trimThreshold);
    EXPECT_EQ(FirstDifference(*tree.Root, *expected.root, "/"), "");
}

// Counts the nodes and leaves of a subtree by walking it.
struct Census {
    std::int32_t nodes = 0;
    std::int32_t leaves = 0;
};

inline Census CountNodes(const TOctreeNode& node)
{
    Census census{1, node.IsLeaf ? 1 : 0};
    for (const auto& child : node.Children) {
        if (child) {
            const Census below = CountNodes(*child);
            census.nodes += below.nodes;
            census.leaves += below.leaves;
        }
    }
    return census;
}

}  // namespace pomvella::testing
