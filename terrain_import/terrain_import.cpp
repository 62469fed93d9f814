#include "terrain_import/terrain_import.h"

#include <algorithm>
#include <cmath>

#include "forge/extract/colour_height_set.h"
#include "painter/model/map_picture_file.h"
#include "terrain_import/dem_raster.h"

namespace qarn {

ImportResult importTerrain(const ImportRequest& request, ImportedTerrain& terrain, std::string& detail)
{
    detail.clear();
    if (request.seaLevel && !std::isfinite(*request.seaLevel)) {
        detail = "--sea-level needs a height in metres";
        return ImportResult::EntryRefused;
    }
    DemRaster raster;
    ImportedTerrain made;
    made.source = request.demPath;
    if (const ImportResult opened = raster.open(request.demPath, detail); opened != ImportResult::Ok)
        return opened;
    made.coordinateSystem = raster.coordinateSystemName();
    made.pixelForPixel = raster.pixelForPixel();
    AreaRequest room;
    if (const ImportResult centred = raster.centreOn(request.centre, made.centre, room, detail);
        centred != ImportResult::Ok)
        return centred;
    room.widthKm = request.widthKm;
    room.heightKm = request.heightKm;
    if (const ImportResult sized = chooseMapArea(room, made.area, detail); sized != ImportResult::Ok)
        return sized;
    if (const ImportResult resampled = raster.blockHeights(made.area, made.heights, made.filled, detail);
        resampled != ImportResult::Ok)
        return resampled;
    made.corners = raster.corners(made.area);
    const auto [lowest, highest] = std::minmax_element(made.heights.begin(), made.heights.end());
    // A band of other values (or a nodata value not declared) would give no ladder a build takes.
    if (!(*lowest >= -MAX_EXACT_HEIGHT && *highest <= MAX_EXACT_HEIGHT)) {
        detail = request.demPath + ": values beyond " + std::to_string(MAX_EXACT_HEIGHT) + " m, not heights";
        return ImportResult::NoElevationBand;
    }
    if (request.ladder) {
        made.ladder = *request.ladder;
    } else {
        made.ladder = ladderFor(*lowest, *highest);
        made.ladderChosen = true;
    }
    made.mapping = mapToRungs(made.heights, made.area.rows, made.area.cols, made.ladder, request.seaLevel);
    terrain = std::move(made);
    return ImportResult::Ok;
}

BlockMap importedMap(const ImportedTerrain& terrain)
{
    BlockMap map = blankMap(ColourSet::System, {}, terrain.area.rows, terrain.area.cols);
    const std::vector<Rgb> rungs = rungColours(map);
    for (std::size_t i = 0; i < map.blocks.size(); ++i) {
        const int rung = terrain.mapping.rungs[i];
        map.blocks[i] = rung == FLAT_RUNG ? FLAT_AREA_COLOUR : rungs[static_cast<std::size_t>(rung)];
    }
    map.mapData = terrain.area.mapData;
    return map;
}

std::string importReportPathFor(const std::string& picturePath)
{
    const std::size_t slash = picturePath.find_last_of('/');
    const std::size_t dot = picturePath.find_last_of('.');
    const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasSuffix ? picturePath.substr(0, dot) : picturePath) + "-Import.txt";
}

OutputResult saveImportedMap(const ImportedTerrain& terrain, const std::string& picturePath, std::string& error)
{
    return saveMapPicture(importedMap(terrain), picturePath, error,
                          {{importReportPathFor(picturePath), importReport(terrain)}});
}

} // namespace qarn
