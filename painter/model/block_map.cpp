#include "painter/model/block_map.h"

#include <algorithm>

#include "sizer/get_results.h"

namespace qarn {

std::vector<Rgb> rungColours(const BlockMap& map)
{
    std::vector<Rgb> rungs;
    if (map.colourSet == ColourSet::System) {
        for (const Rgb& colour : SYSTEM_COLOUR_SET)
            if (reservedCodeFor(colour) == 0)
                rungs.push_back(colour);
    } else {
        for (const Rgb& colour : map.band)
            if (reservedCodeFor(colour) == 0)
                rungs.push_back(colour);
    }
    return rungs;
}

std::string bandProblem(const std::vector<Rgb>& band, std::int32_t cols)
{
    if (band.empty())
        return "the band needs at least one colour";
    for (std::size_t i = 0; i < band.size(); ++i) {
        if (reservedCodeFor(band[i]) != 0)
            return "colour " + std::to_string(i + 1) + " is reserved";
        if (std::find(band.begin(), band.begin() + static_cast<std::ptrdiff_t>(i), band[i]) !=
            band.begin() + static_cast<std::ptrdiff_t>(i))
            return "colour " + std::to_string(i + 1) + " is in the band twice";
    }
    // A band that does not fill the row ends with a white block.
    if (band.size() > static_cast<std::size_t>(cols))
        return "the band has " + std::to_string(band.size()) + " colours but the map is " + std::to_string(cols) +
               " blocks wide";
    return {};
}

BlockMap blankMap(ColourSet colourSet, std::vector<Rgb> band, std::int32_t rows, std::int32_t cols)
{
    BlockMap map;
    map.colourSet = colourSet;
    map.band = std::move(band);
    map.rows = rows;
    map.cols = cols;
    const std::vector<Rgb> rungs = rungColours(map);
    map.blocks.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols),
                      rungs.empty() ? FLAT_AREA_COLOUR : rungs.front());
    return map;
}

SizeCheck newMapFromSizes(const std::string& widthText, const std::string& heightText, ColourSet colourSet,
                          std::vector<Rgb> band, BlockMap& map)
{
    RunDetails details;
    const SizeCheck check = getResults(details, widthText, heightText, colourSet);
    if (check != SizeCheck::Passed)
        return check;
    BlockMap made = blankMap(colourSet, std::move(band), details.calculation.pixelHeight / BLOCK_PIXELS,
                             details.calculation.pixelWidth / BLOCK_PIXELS);
    made.mapData = MapData{details.heightTens, details.widthTens, METRES_PER_ARC_SECOND};
    map = std::move(made);
    return check;
}

} // namespace qarn
