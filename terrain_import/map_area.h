#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/map_data_file.h"
#include "terrain_import/import_result.h"

// How many blocks an imported map has, by the calculator's own size rule, so
// the map data file written with it matches the picture. Pure arithmetic on
// metres in the map's own flat frame; no GDAL.

namespace qarn {

struct AreaRequest {
    std::optional<double> widthKm;  // asked size; none: the room below
    std::optional<double> heightKm;
    // Metres from the map's centre to the edge of the valid data, each way.
    double roomWest = 0;
    double roomEast = 0;
    double roomNorth = 0;
    double roomSouth = 0;
};

struct MapArea {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    bool cropped = false; // the valid data was more than the largest map
    MapData mapData;      // the sizes as the calculator would have been given them
};

// An asked size goes through the calculator as typed (tens of metres, its
// limits); without one, the largest map of whole blocks centred in the room,
// at most the largest legal map. Errors: EntryRefused or AreaTooLarge for an
// asked size, EmptyArea when the room holds no map; `detail` says which.
ImportResult chooseMapArea(const AreaRequest& request, MapArea& area, std::string& detail);

} // namespace qarn
