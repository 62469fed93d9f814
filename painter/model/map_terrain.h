#pragma once

#include <cstdint>
#include <vector>

#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"
#include "forge/grid/elevation_grid.h"
#include "forge/output/relief_preview.h"
#include "painter/model/block_map.h"
#include "terrain_view/mesh/terrain_heights.h"

namespace qarn {

// What a painted map means as terrain: each block's height through the
// builder's colour set, and the relief preview built from those heights in
// memory through the grid's own build sequence. Errors come back as result
// codes; nothing is thrown. Results own their buffers; the map is only read.

struct MapHeights {
    ExtractResult result = ExtractResult::Ok; // HeightsTooLarge or NoMemory: no heights
    ColourHeightSet set;          // the set a build would use for this map
    std::vector<float> heights;   // rows x cols, row-major: the heights a build reads
    std::vector<std::uint8_t> wrong; // per block: 1 where the colour would stop a build
    std::size_t wrongCount = 0;
};

MapHeights mapHeights(const BlockMap& map, std::int32_t minElevation, std::int32_t contourInterval);

// The rung of `colour` (0 the lowest) in the map's set, or -1 for a colour
// that is no rung (the flat-area colour, a reserved or an unknown colour).
int rungOf(const BlockMap& map, Rgb colour);

struct TerrainPreview {
    ExtractResult result = ExtractResult::Ok; // the heights' result, or NoMemory
    PreviewImage image;
    qarn::TerrainHeights terrain; // the built grid's cells, for the 3D view
};

// The relief preview of the built grid, at `pixelsPerCell`, or one pixel for
// `cellsPerPixel` cells each way (see renderReliefPreview); the terrain has
// every cell. Blocks whose colour would stop a build count as the lowest
// rung, so one stray colour does not hide the terrain (the canvas marks them).
// The grid is built in `grid` when given (the last preview's, so a preview
// after each stroke takes no memory afresh; the caller keeps it, for one
// preview at a time), else in memory of its own.
TerrainPreview previewTerrain(const BlockMap& map, std::int32_t minElevation, std::int32_t contourInterval,
                              int pixelsPerCell = 1, int cellsPerPixel = 1, ElevationGrid* grid = nullptr);

} // namespace qarn
