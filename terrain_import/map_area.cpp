#include "terrain_import/map_area.h"

#include <algorithm>
#include <cmath>

#include "sizer/get_results.h"
#include "sizer/map_size_calculation.h"

namespace qarn {

namespace {

constexpr std::int32_t MAX_TENS = MAX_MAP_METRES / 10;

// The calculator's blocks for one side of `tens` tens of metres, or 0 when it refuses.
std::int32_t blocksFor(std::int32_t tens)
{
    RunDetails details;
    if (getResults(details, std::to_string(tens), std::to_string(tens), ColourSet::System) != SizeCheck::Passed)
        return 0;
    return details.calculation.pixelWidth / BLOCK_PIXELS;
}

// The whole blocks (a multiple of the calculator's step) that fit `metres`,
// and the tens of metres that give the calculator exactly that many.
std::int32_t fittingBlocks(double metres, std::int32_t largest)
{
    const auto whole = static_cast<std::int32_t>(std::min<double>(std::floor(metres / METRES_PER_SRTM_GRID), largest));
    return whole - whole % BLOCK_MULTIPLE;
}

std::int32_t tensFor(std::int32_t blocks)
{
    // The calculator adds one spare block at least, so ask for one less.
    return static_cast<std::int32_t>(std::floor((blocks - 1) * METRES_PER_SRTM_GRID / 10));
}

} // namespace

ImportResult chooseMapArea(const AreaRequest& request, MapArea& area, std::string& detail)
{
    const std::int32_t largest = blocksFor(MAX_TENS);
    MapArea chosen;
    if (request.widthKm || request.heightKm) {
        std::int32_t tens[2] = {};
        const double km[2] = {request.widthKm.value_or(0), request.heightKm.value_or(0)};
        for (int i = 0; i < 2; ++i) {
            if (!std::isfinite(km[i]) || std::lround(km[i] * 100) < 1) {
                detail = "--size needs two sides of at least 0.01 km";
                return ImportResult::EntryRefused;
            }
            if (std::lround(km[i] * 100) > MAX_TENS) {
                detail = "the largest map is " + std::to_string(MAX_TENS / 100) + " x " +
                         std::to_string(MAX_TENS / 100) + " km (" + std::to_string(largest) + " x " +
                         std::to_string(largest) + " blocks)";
                return ImportResult::AreaTooLarge;
            }
            tens[i] = static_cast<std::int32_t>(std::lround(km[i] * 100));
        }
        chosen.cols = blocksFor(tens[0]);
        chosen.rows = blocksFor(tens[1]);
        chosen.mapData = {tens[1], tens[0], METRES_PER_ARC_SECOND};
    } else {
        const double width = 2 * std::min(request.roomWest, request.roomEast);
        const double height = 2 * std::min(request.roomNorth, request.roomSouth);
        chosen.cols = fittingBlocks(width, largest);
        chosen.rows = fittingBlocks(height, largest);
        if (chosen.cols < BLOCK_MULTIPLE || chosen.rows < BLOCK_MULTIPLE) {
            detail = "the valid data around the centre is smaller than the smallest map (" +
                     std::to_string(BLOCK_MULTIPLE) + " x " + std::to_string(BLOCK_MULTIPLE) + " blocks)";
            return ImportResult::EmptyArea;
        }
        chosen.cropped = width >= (largest + 1) * METRES_PER_SRTM_GRID ||
                         height >= (largest + 1) * METRES_PER_SRTM_GRID;
        chosen.mapData = {tensFor(chosen.rows), tensFor(chosen.cols), METRES_PER_ARC_SECOND};
    }
    area = chosen;
    return ImportResult::Ok;
}

} // namespace qarn
