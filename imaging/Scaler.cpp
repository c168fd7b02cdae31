#include "imaging/Scaler.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "imaging/PictureOps.h"
#include "imaging/RoundingDivider.h"

namespace pomvella {
namespace {

// Which source pixels of one axis fall into each target pixel, and by how
// much. The spans of neighbouring targets share at most one source pixel.
struct AxisWeights {
    std::vector<int> first;              // first source index of target t
    std::vector<std::uint32_t> begin;    // index into weights of target t; begin[t + 1] ends it
    std::vector<std::uint32_t> weights;  // overlap lengths, each at most min(sourceSize, targetSize)

    AxisWeights(int sourceSize, int targetSize)
    {
        const std::uint64_t s = static_cast<std::uint64_t>(sourceSize);
        const std::uint64_t t = static_cast<std::uint64_t>(targetSize);
        first.reserve(t);
        begin.reserve(t + 1);
        weights.reserve(s + t);
        for (std::uint64_t target = 0; target < t; ++target) {
            // Target pixel covers [target·s, (target+1)·s); source pixel i covers [i·t, (i+1)·t).
            const std::uint64_t from = target * s;
            const std::uint64_t to = from + s;
            const std::uint64_t firstSource = from / t;
            const std::uint64_t lastSource = (to - 1) / t;
            first.push_back(static_cast<int>(firstSource));
            begin.push_back(static_cast<std::uint32_t>(weights.size()));
            for (std::uint64_t i = firstSource; i <= lastSource; ++i) {
                const std::uint64_t overlap = std::min((i + 1) * t, to) - std::max(i * t, from);
                weights.push_back(static_cast<std::uint32_t>(overlap));
            }
        }
        begin.push_back(static_cast<std::uint32_t>(weights.size()));
    }

    int Count(std::size_t target) const { return static_cast<int>(begin[target + 1] - begin[target]); }
    const std::uint32_t* WeightsOf(std::size_t target) const { return weights.data() + begin[target]; }
};

// Separable pass: each source row is reduced horizontally once into exact
// integer sums, then the rows of a target row are added with their vertical
// weights. Sum is wide enough for 255·w·h.
template <typename Sum>
void ScaleBgr24(const Picture& source, Picture& target)
{
    const int targetWidth = target.Width();
    const AxisWeights columns(source.Width(), targetWidth);
    const AxisWeights rows(source.Height(), target.Height());
    const std::size_t values = static_cast<std::size_t>(targetWidth) * 3;
    std::vector<Sum> rowSums(values);
    std::vector<Sum> totals(values);
    int summedRow = -1;

    // Only the first and last source columns of a target column can be partly
    // inside it; those between count in full, with the weight of a whole
    // source column (the target width), so they are added first and weighted once.
    const Sum fullColumn = static_cast<Sum>(targetWidth);
    auto sumRow = [&](int y) {
        const std::uint8_t* pixels = source.Row(y).data();
        Sum* out = rowSums.data();
        for (std::size_t x = 0; x < static_cast<std::size_t>(targetWidth); ++x, out += 3) {
            const std::uint32_t* weight = columns.WeightsOf(x);
            const std::uint8_t* pixel = pixels + static_cast<std::size_t>(columns.first[x]) * 3;
            const int count = columns.Count(x);
            const Sum first = weight[0];
            Sum blue = first * pixel[0];
            Sum green = first * pixel[1];
            Sum red = first * pixel[2];
            if (count > 1) {
                Sum innerBlue = 0, innerGreen = 0, innerRed = 0;
                for (int k = 2; k < count; ++k) {
                    pixel += 3;
                    innerBlue += pixel[0];
                    innerGreen += pixel[1];
                    innerRed += pixel[2];
                }
                pixel += 3;
                const Sum last = weight[count - 1];
                blue += fullColumn * innerBlue + last * pixel[0];
                green += fullColumn * innerGreen + last * pixel[1];
                red += fullColumn * innerRed + last * pixel[2];
            }
            out[0] = blue;
            out[1] = green;
            out[2] = red;
        }
        summedRow = y;
    };

    const RoundingDivider divide(static_cast<std::uint64_t>(source.Width()) *
                                 static_cast<std::uint64_t>(source.Height()));
    for (int y = 0; y < target.Height(); ++y) {
        const std::size_t row = static_cast<std::size_t>(y);
        const int firstRow = rows.first[row];
        const std::uint32_t* weight = rows.WeightsOf(row);
        std::fill(totals.begin(), totals.end(), Sum{0});
        for (int k = 0; k < rows.Count(row); ++k) {
            if (summedRow != firstRow + k)
                sumRow(firstRow + k);
            const Sum w = static_cast<Sum>(weight[k]);
            const Sum* in = rowSums.data();
            Sum* total = totals.data();
            for (std::size_t v = 0; v < values; ++v)
                total[v] += w * in[v];
        }
        std::uint8_t* out = target.Row(y).data();
        for (std::size_t v = 0; v < values; ++v)
            out[v] = divide(totals[v]);
    }
}

}  // namespace

Picture ScaleAreaAverage(const Picture& source, int width, int height)
{
    if (source.Format() != PixelFormat::Bgr24)
        return ScaleAreaAverage(ConvertTo24(source), width, height);
    Picture target(PixelFormat::Bgr24, width, height);
    if (target.Pixels().empty() || source.Pixels().empty())
        return target;  // nothing to fill, or nothing to fill it from: black
    const std::uint64_t area = static_cast<std::uint64_t>(source.Width()) * static_cast<std::uint64_t>(source.Height());
    if (area <= std::numeric_limits<std::uint32_t>::max() / 255)
        ScaleBgr24<std::uint32_t>(source, target);
    else
        ScaleBgr24<std::uint64_t>(source, target);
    return target;
}

}  // namespace pomvella
