#pragma once

#include <cstdint>
#include <vector>

namespace qarn {

class ElevationGrid;

// What the 3D view draws: rows x cols cells (row 0 the map's top, row-major)
// with their heights in metres, which are flat areas (drawn as water) and
// which lie outside the map (left out). Plain value; the masks are either
// empty (no such cells) or one byte a cell.
struct TerrainHeights {
    int rows = 0;
    int cols = 0;
    std::vector<float> heights;
    std::vector<std::uint8_t> flat;
    std::vector<std::uint8_t> outside;
};

// The real cells of a built grid: Blue1 cells are flat areas, cells of no map
// colour (Blue, Other) lie outside. Empty (0 x 0) when memory runs out.
TerrainHeights terrainOfGrid(const ElevationGrid& grid);

} // namespace qarn
