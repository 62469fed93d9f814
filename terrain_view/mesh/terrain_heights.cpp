#include "terrain_view/mesh/terrain_heights.h"

#include <new>

#include "forge/grid/elevation_grid.h"

namespace qarn {

TerrainHeights terrainOfGrid(const ElevationGrid& grid)
{
    TerrainHeights t;
    const std::size_t count = static_cast<std::size_t>(grid.rows()) * static_cast<std::size_t>(grid.cols());
    try {
        t.heights.reserve(count);
        t.flat.reserve(count);
        t.outside.reserve(count);
    } catch (const std::bad_alloc&) {
        return TerrainHeights{};
    }
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c) {
            const GridCell& cell = grid.cell(r, c);
            t.heights.push_back(cell.height);
            t.flat.push_back(cell.kind == CellKind::Blue1 ? 1 : 0);
            t.outside.push_back(cell.kind == CellKind::Blue || cell.kind == CellKind::Other ? 1 : 0);
        }
    t.rows = grid.rows();
    t.cols = grid.cols();
    return t;
}

} // namespace qarn
