#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "terrain_import/import_result.h"
#include "terrain_import/map_area.h"

// An elevation raster through GDAL, and the flat frame a map of it is laid
// out in: the raster's own metric system when its pixels are the builder's
// cells (taken pixel for pixel), else a transverse Mercator centred on the
// map, into which GDAL's warper averages the raster. Errors: ImportResult
// codes with the particulars in `detail`; nothing is thrown across the seam.

namespace qarn {

struct LatLon;

class DemRaster {
public:
    DemRaster();
    ~DemRaster();
    DemRaster(const DemRaster&) = delete;
    DemRaster& operator=(const DemRaster&) = delete;

    // Opens a regular file GDAL reads as a raster with an elevation band,
    // a coordinate system and georeferencing, and finds its valid data.
    ImportResult open(const std::string& path, std::string& detail);

    std::string coordinateSystemName() const;
    bool pixelForPixel() const;

    // Centres the frame on `centre`, or on the valid data's middle, and
    // gives the room from there to the valid data's edges.
    ImportResult centreOn(const std::optional<LatLon>& centre, LatLon& chosen, AreaRequest& room, std::string& detail);

    // The heights of the area's blocks, row 0 the north: averaged or taken
    // as they are, holes filled from their neighbours (counted in `filled`).
    ImportResult blockHeights(const MapArea& area, std::vector<float>& heights, std::size_t& filled,
                              std::string& detail);

    // The area's corners in latitude and longitude: NW, NE, SE, SW.
    std::array<LatLon, 4> corners(const MapArea& area) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace qarn
