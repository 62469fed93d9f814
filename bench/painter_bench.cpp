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
#include "tests/support/support.h"

namespace {

constexpr std::int32_t SIDE = 540;
constexpr std::int32_t MIN_ELEVATION = 100;
constexpr std::int32_t CONTOUR_INTERVAL = 20;

// The largest map painted with the model's own tools: hills of nested
// rectangles a rung higher each, topped by a square peak, and a lake.
BlockMap paintedMap(std::int32_t rows)
{
    BlockMap map = blankMap(ColourSet::System, {}, rows, SIDE);
    const std::vector<Rgb> rungs = rungColours(map);
    BlockEdit edit;
    struct Hill {
        std::int32_t row, col, reach;
        int top; // rung of the peak
    };
    for (const Hill& hill : {Hill{140, 150, 120, 12}, Hill{380, 160, 100, 9}, Hill{250, 400, 130, 17},
                             Hill{450, 430, 60, 6}}) {
        for (int rung = 1; rung < hill.top; ++rung) {
            const std::int32_t reach = hill.reach * (hill.top - rung) / (hill.top - 1);
            paintRectangle(map, edit, hill.row - reach, hill.col - reach, hill.row + reach, hill.col + reach,
                           rungs[static_cast<std::size_t>(rung)]);
        }
        paintSquare(map, edit, hill.row, hill.col, 5, rungs[static_cast<std::size_t>(hill.top)]);
    }
    paintRectangle(map, edit, 20, 300, 70, 420, FLAT_AREA_COLOUR);
    return map;
}

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

// The canvas's repaint after a stroke (target under 16 ms) belongs here once
// the QarnPainter window exists: link the window's library to painter_bench
// in bench/CMakeLists.txt (under QARN_BUILD_GUI) and replace BENCHMARK_MAIN()
// with a main() that makes an offscreen QApplication first, as
// forge_ui_bench.cpp does.

} // namespace

BENCHMARK_MAIN();
