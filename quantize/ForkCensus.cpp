#include "quantize/ForkCensus.h"

#include <algorithm>

namespace pomvella {

ForkCensus::ForkCensus(const TOctreeNode& root)
{
    Collect(root);
    std::sort(forks_.begin(), forks_.end(), [](const Fork& a, const Fork& b) { return a.pixels < b.pixels; });

    childrenAbove_.assign(forks_.size() + 1, 0);
    for (std::size_t i = forks_.size(); i-- > 0;)
        childrenAbove_[i] = childrenAbove_[i + 1] + forks_[i].children;
    pixelsBelow_.assign(forks_.size() + 1, 0);
    for (std::size_t i = 0; i < forks_.size(); ++i)
        pixelsBelow_[i + 1] = pixelsBelow_[i] + (forks_[i].pixels - 1);

    byLargestForkChild_.resize(forks_.size());
    for (std::size_t i = 0; i < forks_.size(); ++i)
        byLargestForkChild_[i] = i;
    std::sort(byLargestForkChild_.begin(), byLargestForkChild_.end(), [this](std::size_t a, std::size_t b) {
        return forks_[a].largestForkChild < forks_[b].largestForkChild;
    });
}

void ForkCensus::Collect(const TOctreeNode& node)
{
    if (node.IsLeaf)
        return;
    Fork fork{node.PixelCount, node.ChildCount, 0};
    for (const auto& child : node.Children) {
        if (!child || child->IsLeaf)
            continue;
        fork.largestForkChild = std::max(fork.largestForkChild, child->PixelCount);
        Collect(*child);
    }
    forks_.push_back(fork);
}

std::size_t ForkCensus::FirstAbove(std::int64_t t) const
{
    return static_cast<std::size_t>(
        std::upper_bound(forks_.begin(), forks_.end(), t, [](std::int64_t value, const Fork& fork) {
            return value < fork.pixels;
        }) -
        forks_.begin());
}

std::int32_t ForkCensus::NodeCountAfterTrim(std::int32_t t) const
{
    // Every node but the root hangs below a fork; it survives when that fork does.
    return static_cast<std::int32_t>(1 + childrenAbove_[FirstAbove(t)]);
}

std::int32_t ForkCensus::LeafCountAfterTrim(std::int32_t t) const
{
    const std::size_t survivingForks = forks_.size() - FirstAbove(t);
    return NodeCountAfterTrim(t) - static_cast<std::int32_t>(survivingForks);
}

std::int32_t ForkCensus::SmallestThresholdReaching(std::int32_t target) const
{
    // The node count after a pass changes only at the forks' pixel counts, so
    // the answer is 1 or one of them.
    if (NodeCountAfterTrim(1) <= target)
        return 1;
    for (std::size_t i = 0; i < forks_.size(); ++i) {
        const std::int32_t t = forks_[i].pixels;
        if (t > 1 && 1 + childrenAbove_[i + 1] <= target &&
            (i + 1 == forks_.size() || forks_[i + 1].pixels > t))
            return t;
    }
    // A pass at the root's pixel count leaves the root alone.
    return forks_.empty() ? 1 : std::max(forks_.back().pixels, 1);
}

std::int32_t ForkCensus::MinPrunableForkPixels(std::int32_t t)
{
    while (nextCandidate_ < byLargestForkChild_.size() &&
           forks_[byLargestForkChild_[nextCandidate_]].largestForkChild <= t) {
        prunable_.push(forks_[byLargestForkChild_[nextCandidate_]].pixels);
        ++nextCandidate_;
    }
    // Forks with at most t pixels are leaves now.
    while (!prunable_.empty() && prunable_.top() <= t)
        prunable_.pop();
    if (prunable_.empty())
        return kNoPrunableFork;
    return std::min(prunable_.top(), kNoPrunableFork);
}

std::int64_t ForkCensus::SmallForkPixels(std::int32_t t, std::int64_t limit) const
{
    const std::size_t first = FirstAbove(t);
    const std::size_t end = std::max(first, FirstAbove(limit));
    return pixelsBelow_[end] - pixelsBelow_[first];
}

}  // namespace pomvella
