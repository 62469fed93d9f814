#include <cmath>
#include <cstdio>

#include "common/block_convention.h"
#include "terrain_import/terrain_import.h"

namespace qarn {

namespace {

std::string format(const char* pattern, auto... values)
{
    char text[256];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string place(const LatLon& at)
{
    return format("%.6f %s, %.6f %s", std::fabs(at.lat), at.lat < 0 ? "S" : "N", std::fabs(at.lon),
                  at.lon < 0 ? "W" : "E");
}

} // namespace

std::string importReport(const ImportedTerrain& terrain)
{
    const MapArea& area = terrain.area;
    const RungMapping& mapping = terrain.mapping;
    std::string text = "Imported terrain\n";
    text += "Source: " + terrain.source + "\n";
    text += "Coordinate system: " + terrain.coordinateSystem + "\n";
    text += terrain.pixelForPixel ? std::string("Resampling: none, taken pixel for pixel\n")
                                  : "Resampling: averaged into a transverse Mercator centred on " +
                                        place(terrain.centre) + "\n";
    text += format("Blocks: %d across x %d down, %.2f x %.2f km%s\n", area.cols, area.rows,
                   area.cols * METRES_PER_SRTM_GRID / 1000, area.rows * METRES_PER_SRTM_GRID / 1000,
                   area.cropped ? ", cropped to the largest map" : "");
    const char* names[4] = {"North-west", "North-east", "South-east", "South-west"};
    for (std::size_t i = 0; i < 4; ++i)
        text += std::string(names[i]) + " corner: " + place(terrain.corners[i]) + "\n";
    const char* how = terrain.ladderChosen ? " (chosen)" : "";
    text += format("Minimum elevation: %d m%s\n", terrain.ladder.minElevation, how);
    text += format("Contour interval: %d m%s\n", terrain.ladder.interval, how);
    text += "Blocks per rung:";
    for (std::size_t k = 0; k < mapping.counts.size(); ++k)
        text += format(" %zu", mapping.counts[k]);
    text += format("\nBlocks of flat area (sea): %zu\n", mapping.flat);
    text += format("Blocks clamped to rung 0 or 17: %zu\n", mapping.clamped);
    text += format("Blocks filled from their neighbours: %zu\n", terrain.filled);
    text += format("Root mean square difference, rung heights against the resampled heights: %.2f m\n",
                   mapping.rms);
    return text;
}

} // namespace qarn
