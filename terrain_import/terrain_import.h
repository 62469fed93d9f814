#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "forge/output/output_result.h"
#include "painter/model/block_map.h"
#include "terrain_import/import_result.h"
#include "terrain_import/map_area.h"
#include "terrain_import/rung_mapping.h"

// A real place made into a block map: an elevation raster GDAL reads, in any
// coordinate system, resampled to one height per builder grid cell in a flat
// frame centred on the area, then laddered into the system colour set.
// Errors: an ImportResult with the particulars in `detail`; the result is
// filled only on Ok. GDAL's own messages are kept from standard error.

namespace qarn {

struct LatLon {
    double lat = 0;
    double lon = 0;
};

struct ImportRequest {
    std::string demPath;
    std::optional<LatLon> centre;      // none: the centre of the valid data
    std::optional<double> widthKm;     // both or neither; none: the valid data, cropped to the largest map
    std::optional<double> heightKm;
    std::optional<Ladder> ladder;      // none: chosen so the heights fill the rungs
    std::optional<double> seaLevel;    // metres; the sea joined to the edge becomes flat area
};

struct ImportedTerrain {
    std::string source;            // the raster's path as given
    std::string coordinateSystem;  // its name, with the authority code when it has one
    bool pixelForPixel = false;    // metric with the block's pixel size: no resampling
    LatLon centre;
    MapArea area;
    std::array<LatLon, 4> corners{}; // north-west, north-east, south-east, south-west
    std::vector<float> heights;      // rows x cols, row 0 the north: the resampled raster, holes filled
    std::size_t filled = 0;          // blocks without data, filled from their neighbours
    Ladder ladder;
    bool ladderChosen = false;
    RungMapping mapping;
};

ImportResult importTerrain(const ImportRequest& request, ImportedTerrain& terrain, std::string& detail);

// The map to paint on: the system colour set's rungs, the sea as flat area,
// and the map data record of the import's sizes.
BlockMap importedMap(const ImportedTerrain& terrain);

// "MAP-Import.txt" beside "MAP.bmp".
std::string importReportPathFor(const std::string& picturePath);

// The import report: where the map comes from and how faithful its rungs are.
std::string importReport(const ImportedTerrain& terrain);

// The picture, its map data file and the import report, all or none
// (saveMapPicture's results and wording).
OutputResult saveImportedMap(const ImportedTerrain& terrain, const std::string& picturePath, std::string& error);

} // namespace qarn
