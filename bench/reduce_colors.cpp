// ReduceColors on photo-like pictures: the NAD picture's size, 1 Mpx and
// 16 Mpx. The larger ones have far more distinct colours than the node cap
// allows, so the cap acts again and again. Items are pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "quantize/ReduceColors.h"

namespace {

// Smooth colour waves plus per-pixel noise: many distinct colours, with the
// local coherence of a photograph.
pomvella::Picture PhotoLikePicture(int width, int height)
{
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0.0, 6.0);
    pomvella::Picture picture(pomvella::PixelFormat::Bgr24, width, height);
    auto channel = [&](double value) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(value + noise(random)), 0L, 255L));
    };
    for (int y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            const double red = 128 + 100 * std::sin(6.0 * u + 2.0 * v);
            const double green = 128 + 90 * std::sin(5.0 * v - 3.0 * u * v + 1.0);
            const double blue = 128 + 110 * std::cos(4.0 * (u + v));
            picture.SetPixel(x, y, pomvella::Rgb{channel(red), channel(green), channel(blue)});
        }
    }
    return picture;
}

void BM_ReduceColors(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const pomvella::Picture source = PhotoLikePicture(width, height);
    for (auto _ : state) {
        auto reduced = pomvella::ReduceColors(source, 256);
        benchmark::DoNotOptimize(reduced->Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(width) * height);
}

BENCHMARK(BM_ReduceColors)
    ->ArgNames({"w", "h"})
    ->Args({200, 186})
    ->Args({1024, 1024})
    ->Args({4096, 4096})
    ->Unit(benchmark::kMillisecond);

}  // namespace
