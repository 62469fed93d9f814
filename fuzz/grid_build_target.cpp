#include "fuzz/fuzz_targets.h"

#include "forge/extract/block_heights.h"
#include "forge/extract/build_pipeline.h"
#include "forge/grid/elevation_grid.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

// A height values file of any content is read back as the build pipeline
// does: the header lines, then the grid's whole build sequence over the block
// heights.

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Grids above this many cells are read but not built: smoothing a full map
// under the sanitizers takes long enough to starve the fuzzer.
constexpr long MAX_BUILT_CELLS = 4000;

// Heights within this bound come from a real file (int32 metres); beyond it a
// sum of candidates may leave the float range, which is no promise broken.
constexpr float REALISTIC_HEIGHT = 1e9f;

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

std::string fuzzGridBuild(const std::uint8_t* data, std::size_t size)
{
    FilePtr file(::fmemopen(const_cast<std::uint8_t*>(data), size, "r"));
    if (!file)
        return {};
    HeightValuesHeader header;
    if (!readHeightValuesHeader(file.get(), header))
        return {};
    if (header.blockRows < 1 || header.blockCols < 1 || header.blockRows > MAX_MAP_BLOCKS
        || header.blockCols > MAX_MAP_BLOCKS)
        return "header accepted with " + std::to_string(header.blockRows) + " x "
            + std::to_string(header.blockCols) + " blocks";
    if (header.blockRows * header.blockCols > MAX_BUILT_CELLS)
        return {};
    const int rows = static_cast<int>(header.blockRows);
    const int cols = static_cast<int>(header.blockCols);
    const float contourInterval = static_cast<float>(header.contourInterval);
    // A real file's first set height is the minimum elevation, which the
    // pipeline passes as the level of an area without a rim.
    const float rimless = header.colourHeights.empty() ? 0.0f : static_cast<float>(header.colourHeights.front());

    ElevationGrid built;
    if (int result = built.build(file.get(), rows, cols, contourInterval, rimless))
        return "build of a " + std::to_string(rows) + " x " + std::to_string(cols) + " grid gave "
            + std::to_string(result);
    if (built.rows() != rows || built.cols() != cols)
        return "built grid has the wrong size";

    // Flat-area cells carry their area's starting level as base height; every
    // other cell still holds the value loaded for it.
    bool realistic = std::fabs(contourInterval) <= REALISTIC_HEIGHT && std::fabs(rimless) <= REALISTIC_HEIGHT;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const GridCell& cell = built.cell(r, c);
            if (!std::isfinite(cell.baseHeight))
                return "a loaded base height is not finite";
            if (cell.kind != CellKind::Blue1 && cell.kind != cellKindForValue(cell.baseHeight))
                return "a loaded cell has the wrong kind";
            realistic = realistic && std::fabs(cell.baseHeight) <= REALISTIC_HEIGHT;
        }

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const GridCell& cell = built.cell(r, c);
            if (realistic && !std::isfinite(cell.height))
                return "a height is not finite";
            if ((cell.kind == CellKind::Blue1) != (cell.areaId > 0))
                return "a flat-area cell has no area, or another cell has one";
            if (cell.areaId > 0 && !sameFloat(cell.height, built.areaLevel(cell.areaId)))
                return "a flat-area cell is not at its area's level";
        }
    truncatedHeights(built);
    return {};
}
