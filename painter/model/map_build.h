#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/map_data_file.h"
#include "painter/model/block_map.h"
#include "forge/output/grid_files.h"
#include "painter/model/map_picture_file.h"

namespace qarn {

// "Build grid" from the map as it is, not from its file (which stays as it
// was): the map's picture, and `mapData` as its map data file when given,
// written to a private folder and built there by buildGridFiles with
// `request`'s entries and onMessage. A failure to write them is the build's
// TempFileFailed.
GridBuild buildGridFromMap(const BlockMap& map, const std::optional<MapData>& mapData, const BuildRequest& request,
                           const std::string& chosenName);

} // namespace qarn
