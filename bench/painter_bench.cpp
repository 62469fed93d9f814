// The painter's model on the largest map (540 x 540 blocks) as a user paints
// it: a pencil stroke and the relief preview redrawn after it (the preview
// must be ready within 150 ms of the stroke's end), opening the largest
// 24-bit picture (under 0.5 s), and one stroke applied and undone.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "forge/output/relief_preview.h"
#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/map_picture_file.h"
#include "painter/model/map_terrain.h"
#include "bench/bench_pictures.h"
#include "tests/support/support.h"

using namespace qarn;

namespace {

using qarn_bench::paintedMap;

constexpr std::int32_t SIDE = 540;
constexpr std::int32_t MIN_ELEVATION = 100;
constexpr std::int32_t CONTOUR_INTERVAL = 20;

// One pencil stroke of size 3 over 100 blocks, across the first hill's slope.
void pencilStroke(BlockMap& map, BlockEdit& edit, Rgb colour)
{
    paintLine(map, edit, 200, 100, 230, 199, 3, colour);
}

void BM_PreviewAfterStroke(benchmark::State& state)
{
    BlockMap map = paintedMap(SIDE);
    if (mapHeights(map, MIN_ELEVATION, CONTOUR_INTERVAL).wrongCount != 0) {
        state.SkipWithError("the painted map has colours a build refuses");
        return;
    }
    const std::vector<Rgb> rungs = rungColours(map);
    const int perCell = previewPixelsPerCell(SIDE, SIDE, 300);
    // Alternate colours so every stroke changes the map.
    bool odd = false;
    for (auto _ : state) {
        BlockEdit edit;
        pencilStroke(map, edit, rungs[odd ? 5 : 8]);
        odd = !odd;
        TerrainPreview preview = previewTerrain(map, MIN_ELEVATION, CONTOUR_INTERVAL, perCell);
        if (preview.result != ExtractResult::Ok || preview.image.empty())
            state.SkipWithError("no preview");
        benchmark::DoNotOptimize(preview.image.rgb.data());
    }
}
BENCHMARK(BM_PreviewAfterStroke)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenLargest24Bit(benchmark::State& state)
{
    // 5400 x 5410 pixels, the largest map the calculator gives.
    const BlockMap painted = paintedMap(541);
    const qarn_test::TempDir dir;
    const std::string path = dir.file("largest.bmp");
    std::string error;
    if (saveMapPicture(painted, path, error) != OutputResult::Ok) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        BlockMap opened;
        if (openMapPicture(path, ColourSet::System, opened) != ExtractResult::Ok || opened.blocks != painted.blocks)
            state.SkipWithError("the picture did not open as saved");
        benchmark::DoNotOptimize(opened.blocks.data());
    }
}
BENCHMARK(BM_OpenLargest24Bit)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StrokeModel(benchmark::State& state)
{
    BlockMap map = paintedMap(SIDE);
    const Rgb colour = rungColours(map)[8];
    std::size_t changed = 0;
    for (auto _ : state) {
        BlockEdit edit;
        pencilStroke(map, edit, colour);
        edit.undo(map);
        changed = edit.changes().size();
    }
    state.counters["blocks"] = static_cast<double>(changed);
}
BENCHMARK(BM_StrokeModel)->Unit(benchmark::kMicrosecond);

// The window's side (the canvas's repaint, the preview shown after a
// stroke, opening in the window) is painter_window_bench.cpp.

} // namespace

BENCHMARK_MAIN();
