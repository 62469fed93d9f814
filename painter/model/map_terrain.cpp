#include "painter/model/map_terrain.h"

#include <algorithm>
#include <new>
#include <span>

#include "forge/grid/elevation_grid.h"

namespace qarn {

MapHeights mapHeights(const BlockMap& map, std::int32_t minElevation, std::int32_t contourInterval)
{
    MapHeights out;
    out.result = buildColourHeightSet(map.band, map.colourSet, minElevation, contourInterval, out.set);
    if (out.result != ExtractResult::Ok)
        return out;
    try {
        out.heights.resize(map.blocks.size());
        out.wrong.assign(map.blocks.size(), 0);
    } catch (const std::bad_alloc&) {
        out.heights = {};
        out.wrong = {};
        out.result = ExtractResult::NoMemory;
        return out;
    }
    // The lookup takes pixels as the picture stores them: blue, green, red.
    // Neighbouring blocks mostly share a colour: its lookup is kept.
    Rgb last{};
    float lastHeight = 0.0f;
    bool lastWrong = false;
    for (std::size_t i = 0; i < map.blocks.size(); ++i) {
        const Rgb& colour = map.blocks[i];
        if (i == 0 || !(colour == last)) {
            const std::uint8_t pixel[3] = {colour.blue, colour.green, colour.red};
            out.set.colourError = false;
            lastHeight = heightForColour(out.set, pixel);
            lastWrong = out.set.colourError;
            last = colour;
        }
        out.heights[i] = lastHeight;
        if (lastWrong) {
            out.wrong[i] = 1;
            ++out.wrongCount;
        }
    }
    out.set.colourError = out.wrongCount > 0;
    return out;
}

int rungOf(const BlockMap& map, Rgb colour)
{
    const std::vector<Rgb> rungs = rungColours(map);
    const auto found = std::find(rungs.begin(), rungs.end(), colour);
    return found == rungs.end() ? -1 : static_cast<int>(found - rungs.begin());
}

TerrainPreview previewTerrain(const BlockMap& map, std::int32_t minElevation, std::int32_t contourInterval,
                              int pixelsPerCell, int cellsPerPixel, ElevationGrid* grid)
{
    TerrainPreview preview;
    MapHeights heights = mapHeights(map, minElevation, contourInterval);
    preview.result = heights.result;
    if (heights.result != ExtractResult::Ok)
        return preview;
    for (std::size_t i = 0; i < heights.heights.size(); ++i)
        if (heights.wrong[i])
            heights.heights[i] = static_cast<float>(minElevation);
    ElevationGrid own;
    if (!grid)
        grid = &own;
    // As a build does: an area of flat-area blocks with no rim sits at the minimum.
    const GridResult built = grid->rebuild(std::span<const float>(heights.heights), map.rows, map.cols,
                                          static_cast<float>(contourInterval), static_cast<float>(minElevation));
    if (built != GridResult::Ok) {
        preview.result = built == GridResult::NoMemory ? ExtractResult::NoMemory : ExtractResult::NoMapBlocks;
        return preview;
    }
    // The picture is drawn from the 3D view's copy of the cells: the same
    // heights and flat areas as the grid's, read once.
    preview.terrain = qarn::terrainOfGrid(*grid);
    if (preview.terrain.rows == 0) {
        preview.result = ExtractResult::NoMemory;
        return preview;
    }
    preview.image = renderReliefPreview(preview.terrain.rows, preview.terrain.cols, preview.terrain.heights.data(),
                                        preview.terrain.flat.empty() ? nullptr : preview.terrain.flat.data(),
                                        pixelsPerCell, cellsPerPixel);
    return preview;
}

} // namespace qarn
