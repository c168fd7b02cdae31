#pragma once

#include <cstdint>

namespace pomvella {

// sum / area rounded to the nearest integer, halves upwards:
// (2·sum + area) div (2·area), for an area of at least 1 and sums of at most
// 255·area. The scaler needs it once per channel of every target pixel, so it
// avoids a division where that can be done exactly:
// - area below 2^23: n·m >> 56 with m = ceil(2^56 / d). The error n·(m − 2^56/d)
//   stays below 2^56·(1/d) while n·d < 2^56 (n ≤ 511·area, d = 2·area), so it
//   never carries the quotient past the next integer; n·m stays below 2^64.
// - divisor below 2^45: both operands are exact doubles and the correctly
//   rounded quotient of a value at least 1/d short of the next integer never
//   reaches that integer, so truncating it is exact.
// - beyond: integer division.
class RoundingDivider {
public:
    explicit RoundingDivider(std::uint64_t area)
        : area_(area), divisor_(2 * area),
          method_(area < (std::uint64_t{1} << 23)       ? Method::kMultiply
                  : divisor_ < (std::uint64_t{1} << 45) ? Method::kDouble
                                                        : Method::kDivide),
          multiplier_(method_ == Method::kMultiply ? ((std::uint64_t{1} << kShift) + divisor_ - 1) / divisor_ : 0),
          divisorValue_(static_cast<double>(divisor_))
    {
    }

    std::uint8_t operator()(std::uint64_t sum) const
    {
        const std::uint64_t numerator = 2 * sum + area_;
        switch (method_) {
        case Method::kMultiply:
            return static_cast<std::uint8_t>((numerator * multiplier_) >> kShift);
        case Method::kDouble:
            return static_cast<std::uint8_t>(static_cast<double>(numerator) / divisorValue_);
        case Method::kDivide:
            break;
        }
        return static_cast<std::uint8_t>(numerator / divisor_);
    }

private:
    enum class Method { kMultiply, kDouble, kDivide };
    static constexpr int kShift = 56;

    std::uint64_t area_;
    std::uint64_t divisor_;
    Method method_;
    std::uint64_t multiplier_;
    double divisorValue_;
};

}  // namespace pomvella
