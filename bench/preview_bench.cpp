// The relief preview of the largest map (540 x 540 cells), one pixel a cell,
// from a heights array and from a built grid; and at 4 pixels a cell.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "forge/grid/elevation_grid.h"
#include "forge/output/relief_preview.h"

using namespace qarn;

namespace {

constexpr int SIDE = 540;

// Rolling hills in whole metres with a few flat patches.
void terrain(std::vector<float>& heights, std::vector<std::uint8_t>& flat)
{
    heights.resize(SIDE * SIDE);
    flat.resize(SIDE * SIDE);
    for (int r = 0; r < SIDE; ++r) {
        for (int c = 0; c < SIDE; ++c) {
            const double h = 300.0 + 150.0 * std::sin(r / 40.0) * std::cos(c / 55.0) + 0.3 * (r + c);
            const bool lake = (r % 97 > 80) && (c % 113 > 90);
            heights[static_cast<std::size_t>(r * SIDE + c)] = static_cast<float>(std::trunc(h));
            flat[static_cast<std::size_t>(r * SIDE + c)] = lake ? 1 : 0;
        }
    }
}

void BM_Preview540Array(benchmark::State& state)
{
    std::vector<float> heights;
    std::vector<std::uint8_t> flat;
    terrain(heights, flat);
    for (auto _ : state) {
        PreviewImage image = renderReliefPreview(SIDE, SIDE, heights.data(), flat.data(), 1);
        benchmark::DoNotOptimize(image.rgb.data());
    }
}
BENCHMARK(BM_Preview540Array)->Unit(benchmark::kMillisecond);

void BM_Preview540Grid(benchmark::State& state)
{
    std::vector<float> heights;
    std::vector<std::uint8_t> flat;
    terrain(heights, flat);
    std::string text;
    char number[16];
    for (int i = 0; i < SIDE * SIDE; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        std::snprintf(number, sizeof number, "%d%c", flat[at] ? -9020 : static_cast<int>(heights[at]),
                      (i + 1) % SIDE ? ' ' : '\n');
        text += number;
    }
    ElevationGrid grid;
    std::FILE* stream = fmemopen(text.data(), text.size(), "r");
    const GridResult result = grid.build(stream, SIDE, SIDE, 20.0f, 100.0f);
    std::fclose(stream);
    if (result != GridResult::Ok) {
        state.SkipWithError("build failed");
        return;
    }
    for (auto _ : state) {
        PreviewImage image = renderReliefPreview(grid, 1);
        benchmark::DoNotOptimize(image.rgb.data());
    }
}
BENCHMARK(BM_Preview540Grid)->Unit(benchmark::kMillisecond);

void BM_Preview540Array4PixelsPerCell(benchmark::State& state)
{
    std::vector<float> heights;
    std::vector<std::uint8_t> flat;
    terrain(heights, flat);
    for (auto _ : state) {
        PreviewImage image = renderReliefPreview(SIDE, SIDE, heights.data(), flat.data(), 4);
        benchmark::DoNotOptimize(image.rgb.data());
    }
}
BENCHMARK(BM_Preview540Array4PixelsPerCell)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
