#include "sizer/map_size_calculation.h"

#include <cmath>

namespace qarn {

std::int64_t roundHalfUp(double x)
{
    const double whole = std::trunc(x);
    return static_cast<std::int64_t>(whole) + (x - whole >= 0.5 ? 1 : 0);
}

namespace {

struct SideSize {
    std::int32_t pixels = 0;
    std::int32_t approxMetres = 0;
};

SideSize sizeOneSide(std::int32_t metres)
{
    if (metres < 1 || metres > MAX_MAP_METRES)
        return {};
    const auto squares = static_cast<std::int32_t>(std::ceil(metres / METRES_PER_SRTM_GRID));
    // Always at least one spare block: a count already on a multiple of 5 gains 5 more.
    const std::int32_t blocks = squares + (BLOCK_MULTIPLE - squares % BLOCK_MULTIPLE);
    const std::int64_t covered = roundHalfUp(blocks * METRES_PER_SRTM_GRID);
    return {blocks * BLOCK_PIXELS, static_cast<std::int32_t>(covered / 10 * 10)};
}

} // namespace

void MapSizeCalculation::reset()
{
    *this = MapSizeCalculation{};
    colourSet = 1;
}

void MapSizeCalculation::setInput(std::int32_t width, std::int32_t height, std::int32_t colourSetCode)
{
    colourSet = colourSetCode;
    widthMetres = width;
    heightMetres = height;
    approxWidthMetres = approxHeightMetres = pixelWidth = pixelHeight = 0;
}

void MapSizeCalculation::compute()
{
    const SideSize width = sizeOneSide(widthMetres);
    const SideSize height = sizeOneSide(heightMetres);
    pixelWidth = width.pixels;
    approxWidthMetres = width.approxMetres;
    pixelHeight = height.pixels;
    approxHeightMetres = height.approxMetres;
}

} // namespace qarn
