// The painter's model as a user paints: a pencil stroke and the relief
// preview redrawn after it (ready within 150 ms of the stroke's end on a
// 540 x 540 map, 250 ms on the largest legal one, 1200 x 1200), opening the
// largest 24-bit picture (under 0.5 s), one stroke applied and undone, and the
// background picture check of a saved map (1 s and 150 MB on 12000 x 12000
// pixels; counter peak_MB, the process's peak resident memory during it).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "forge/extract/picture_check.h"
#include "forge/output/relief_preview.h"
#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/map_picture_file.h"
#include "painter/model/map_terrain.h"
#include "painter/model/warning_marks.h"
#include "painter/model/problem_list.h"
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

// Arg: the map's side in blocks.
void BM_PreviewAfterStroke(benchmark::State& state)
{
    const auto side = static_cast<std::int32_t>(state.range(0));
    BlockMap map = paintedMap(side, side);
    if (mapHeights(map, MIN_ELEVATION, CONTOUR_INTERVAL).wrongCount != 0) {
        state.SkipWithError("the painted map has colours a build refuses");
        return;
    }
    const std::vector<Rgb> rungs = rungColours(map);
    // As the window asks: at least 300 pixels along the longer side.
    const int perCell = previewPixelsPerCell(side, side, 300);
    const int cellsPerPixel = previewCellsPerPixel(side, side, 300);
    // Alternate colours so every stroke changes the map.
    bool odd = false;
    ElevationGrid grid; // the last preview's, as the window keeps it
    for (auto _ : state) {
        BlockEdit edit;
        pencilStroke(map, edit, rungs[odd ? 5 : 8]);
        odd = !odd;
        TerrainPreview preview = previewTerrain(map, MIN_ELEVATION, CONTOUR_INTERVAL, perCell, cellsPerPixel, &grid);
        if (preview.result != ExtractResult::Ok || preview.image.empty())
            state.SkipWithError("no preview");
        benchmark::DoNotOptimize(preview.image.rgb.data());
    }
}
BENCHMARK(BM_PreviewAfterStroke)->Arg(540)->Arg(1200)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// The process's peak resident memory in MB since the last reset, which
// restarts it from the memory in use now (Linux).
double peakResidentMB()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    double kB = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kB = std::strtod(line + 6, nullptr);
    std::fclose(status);
    return kB / 1024.0;
}

bool resetPeakResident()
{
    std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
    if (!refs)
        return false;
    const bool written = std::fputs("5", refs) >= 0;
    return std::fclose(refs) == 0 && written;
}

// What the painter's background check does with a saved map: the picture
// check and the per-block marks and problem list drawn from it. A painted map
// with one steep square (a cliff) on it. Arg: the map's side in blocks.
void BM_PainterCheck(benchmark::State& state)
{
    const auto side = static_cast<std::int32_t>(state.range(0));
    const qarn_test::TempDir dir;
    const std::string path = dir.file("map.bmp");
    {
        BlockMap map = paintedMap(side, side);
        BlockEdit edit;
        paintRectangle(map, edit, side - 60, 20, side - 20, 60, rungColours(map)[10]);
        std::string error;
        if (saveMapPicture(map, path, error) != OutputResult::Ok) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    PictureCheckRequest request;
    request.bmpFilePath = path;
    request.colourSet = ColourSet::System;
    request.drawable = false; // as the window asks
    const bool resettable = resetPeakResident();
    const double before = peakResidentMB();
    double peak = 0;
    for (auto _ : state) {
        resetPeakResident();
        const PictureCheck check = checkPicture(request);
        const std::vector<std::uint8_t> marks = warningMarks(check, side, side);
        const ProblemList problems = problemList(check, side, side);
        if (check.result != ExtractResult::Ok || check.cliffs.size() != 1 || problems.problems.empty())
            state.SkipWithError("the check did not find the one cliff");
        benchmark::DoNotOptimize(marks.data());
        peak = std::max(peak, peakResidentMB());
    }
    if (resettable) {
        state.counters["peak_MB"] = peak;
        state.counters["before_MB"] = before;
    }
}
BENCHMARK(BM_PainterCheck)->Arg(540)->Arg(1200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The window's side (the canvas's repaint, the preview shown after a
// stroke, opening in the window) is painter_window_bench.cpp.

} // namespace

BENCHMARK_MAIN();
