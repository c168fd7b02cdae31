// Area-averaging scaler: the pose and NAD picture sizes, and a large picture.
// Items are source pixels, so items_per_second reads as source pixels a second.
#include <benchmark/benchmark.h>

#include <random>

#include "imaging/Scaler.h"

namespace {

pomvella::Picture RandomPicture(int width, int height)
{
    std::mt19937 random(42);
    pomvella::Picture picture(pomvella::PixelFormat::Bgr24, width, height);
    for (std::uint8_t& value : picture.Pixels())
        value = static_cast<std::uint8_t>(random());
    return picture;
}

void BM_ScaleAreaAverage(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const pomvella::Picture source = RandomPicture(width, height);
    for (auto _ : state) {
        pomvella::Picture scaled =
            pomvella::ScaleAreaAverage(source, static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
        benchmark::DoNotOptimize(scaled.Pixels().data());
    }
    const std::int64_t sourcePixels = static_cast<std::int64_t>(width) * height;
    state.SetItemsProcessed(state.iterations() * sourcePixels);
    state.counters["source_Mpx_per_s"] =
        benchmark::Counter(static_cast<double>(sourcePixels) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ScaleAreaAverage)
    ->ArgNames({"w", "h", "W", "H"})
    ->Args({355, 355, 160, 160})
    ->Args({404, 377, 200, 186})
    ->Args({4096, 4096, 1024, 1024})
    ->Args({160, 160, 355, 355})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
