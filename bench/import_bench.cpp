// qarn import of a 1 arc-second tile of 3601 x 3601 pixels into the largest
// map (540 x 540 blocks, target 2 s), and the fidelity of the result: the map
// built as qarn build builds it, its grid heights against the resampled
// heights (counter rms_m, and rms_intervals in contour intervals: at most 0.5,
// aim 0.33).
#include <benchmark/benchmark.h>

#include <cmath>

#include "forge/grid/grid_views.h"
#include "forge/output/grid_files.h"
#include "painter/model/map_picture_file.h"
#include "terrain_import/terrain_import.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_dem.h"

using namespace qarn;

namespace {

qarn_test::TempDir& workDir()
{
    static qarn_test::TempDir dir;
    static const bool made = [] {
        qarn_test::writeFractalTile(dir.file("N46E007.tif"), 3601, 46, 7);
        return true;
    }();
    (void)made;
    return dir;
}

void BM_ImportLargestMap(benchmark::State& state)
{
    qarn_test::TempDir& dir = workDir();
    ImportRequest request;
    request.demPath = dir.file("N46E007.tif");
    ImportedTerrain terrain;
    for (auto _ : state) {
        std::string detail;
        if (importTerrain(request, terrain, detail) != ImportResult::Ok ||
            saveImportedMap(terrain, dir.file("tile.bmp"), detail) != OutputResult::Ok) {
            state.SkipWithError(detail.c_str());
            return;
        }
    }
    state.counters["blocks"] = terrain.area.rows * terrain.area.cols;
    state.counters["interval_m"] = terrain.ladder.interval;
    state.counters["rung_rms_m"] = terrain.mapping.rms;

    BuildRequest buildRequest;
    buildRequest.bmpFilePath = dir.file("tile.bmp");
    buildRequest.minElevation = terrain.ladder.minElevation;
    buildRequest.contourInterval = terrain.ladder.interval;
    const GridBuild build = buildGridFiles(buildRequest, dir.file("tile.asc"));
    if (!build.outcome.built()) {
        state.SkipWithError("the imported map does not build");
        return;
    }
    const std::vector<float> built = realCellHeights(build.outcome.grid);
    double squares = 0, sum = 0, rungSum = 0;
    for (std::size_t i = 0; i < built.size(); ++i) {
        squares += (built[i] - terrain.heights[i]) * (built[i] - terrain.heights[i]);
        sum += built[i] - terrain.heights[i];
        rungSum += built[i] - (terrain.ladder.minElevation + terrain.mapping.rungs[i] * terrain.ladder.interval);
    }
    state.counters["bias_m"] = sum / static_cast<double>(built.size());
    state.counters["vs_rung_m"] = rungSum / static_cast<double>(built.size());
    const double rms = std::sqrt(squares / static_cast<double>(built.size()));
    state.counters["rms_m"] = rms;
    state.counters["rms_intervals"] = rms / terrain.ladder.interval;
}
BENCHMARK(BM_ImportLargestMap)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
