#include <gtest/gtest.h>

#include <cstdint>

#include "imaging/RoundingDivider.h"

namespace pomvella {
namespace {

std::uint64_t Expected(std::uint64_t sum, std::uint64_t area) { return (2 * sum + area) / (2 * area); }

TEST(RoundingDividerTest, SmallAreasExhaustively)
{
    for (std::uint64_t area = 1; area <= 300; ++area) {
        const RoundingDivider divide(area);
        for (std::uint64_t sum = 0; sum <= 255 * area; ++sum)
            ASSERT_EQ(divide(sum), Expected(sum, area)) << sum << " / " << area;
    }
}

// Around every rounding threshold of every quotient, for areas on both sides of
// the limits where the divider changes its method.
TEST(RoundingDividerTest, ThresholdsOfLargeAreas)
{
    const std::uint64_t areas[] = {
        25600,                            // 160 × 160
        (1u << 23) - 1, 1u << 23,         // multiply / floating point
        4096ull * 4096, 4200ull * 4100,   // the 32-bit / 64-bit sums limit lies between
        (1ull << 44) - 1, 1ull << 44,     // floating point / integer division
        (1ull << 50) + 12345,
    };
    for (const std::uint64_t area : areas) {
        const RoundingDivider divide(area);
        for (std::uint64_t q = 0; q <= 255; ++q) {
            // 2·sum + area crosses q·2·area at sum = q·area − area/2.
            const std::uint64_t threshold = q * area - (q == 0 ? 0 : area / 2);
            for (std::uint64_t sum = threshold >= 3 ? threshold - 3 : 0; sum <= threshold + 3; ++sum) {
                if (sum <= 255 * area) {
                    ASSERT_EQ(divide(sum), Expected(sum, area)) << sum << " / " << area;
                }
            }
        }
        ASSERT_EQ(divide(255 * area), 255u) << area;
        ASSERT_EQ(divide(255 * area - 1), 255u) << area;
    }
}

}  // namespace
}  // namespace pomvella
