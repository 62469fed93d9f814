#pragma once

#include <vector>

#include "forge/grid/elevation_grid.h"

namespace qarn {

// Views of a built grid's real cells, row 0 (the map's top) first: what the
// results table shows and what the file writers take. Copies; no errors
// (a failed allocation throws std::bad_alloc to the caller).

// A height as the results table shows it: truncated toward zero, clamped to
// the int range (NaN gives 0).
int truncatedHeight(float height);

// The table's whole metres for every real cell.
std::vector<int> truncatedHeights(const ElevationGrid& grid);

// The real cells' heights as they are.
std::vector<float> realCellHeights(const ElevationGrid& grid);

} // namespace qarn
