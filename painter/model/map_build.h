#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/map_data_file.h"
#include "painter/model/block_map.h"
#include "painter/model/map_picture_file.h"

namespace qarn {

// "Build grid" from the map as it is, not from its file (which stays as it
// was): the map's picture, and `mapData` as its map data file when given,
// written to a private folder and built there as a saved picture is built. A
// failure to write them is the build's TempFileFailed.
GridBuild buildGridFromMap(const BlockMap& map, const std::optional<MapData>& mapData, std::int32_t minElevation,
                           std::int32_t contourInterval, const std::string& chosenName);

} // namespace qarn
