// The whole grid build on the largest map (540 x 540 blocks), read from an
// in-memory height values stream.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "forge/grid/elevation_grid.h"

using namespace qarn;

namespace {

constexpr int SIDE = 540;

// Contour bands of a few hills, with some flat areas, as "%1.0f" block lines.
std::string heightValues()
{
    std::string text;
    char number[16];
    for (int r = 0; r < SIDE; ++r) {
        for (int c = 0; c < SIDE; ++c) {
            const int band = ((r / 37) * 3 + (c / 23) * 5 + (r * c) / 9000) % 18;
            const bool lake = (r % 97 > 80) && (c % 113 > 90);
            std::snprintf(number, sizeof number, c ? " %d" : "%d", lake ? -9020 : 100 + 20 * band);
            text += number;
        }
        text += '\n';
    }
    return text;
}

void BM_GridBuild540(benchmark::State& state)
{
    std::string text = heightValues();
    ElevationGrid grid;
    for (auto _ : state) {
        std::FILE* stream = fmemopen(text.data(), text.size(), "r");
        const GridResult result = grid.build(stream, SIDE, SIDE, 20.0f, 100.0f);
        std::fclose(stream);
        if (result != GridResult::Ok)
            state.SkipWithError("build failed");
        benchmark::DoNotOptimize(grid.height(SIDE / 2, SIDE / 2));
    }
}
BENCHMARK(BM_GridBuild540)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
