#include "forge/extract/colour_height_set.h"

#include "forge/extract/result_codes.h"

#include <cstdint>
#include <new>

namespace qarn {

namespace {

// Adds `colour` with its reserved code or the next rung of the height ladder.
// False when the rung's height is not a whole number the grid's float32
// heights hold exactly (it would come out wrong).
bool addClassified(ColourHeightSet& set, const Rgb& colour, std::int32_t minElevation,
                   std::int32_t contourInterval, std::int64_t& rung)
{
    std::int32_t height = reservedCodeFor(colour);
    if (height == 0) {
        const std::int64_t wide = std::int64_t{minElevation} + rung * std::int64_t{contourInterval};
        if (wide < -MAX_EXACT_HEIGHT || wide > MAX_EXACT_HEIGHT)
            return false;
        height = static_cast<std::int32_t>(wide);
        ++rung;
    }
    set.entries.push_back({colour.blue, colour.green, colour.red, height});
    return true;
}

Rgb colourAt(const BmpImage& image, std::int32_t x, std::int32_t y)
{
    const std::uint8_t* p = image.pixel(x, y);
    return {p[2], p[1], p[0]};
}

} // namespace

std::vector<Rgb> userBandColours(const BmpImage& image)
{
    constexpr Rgb white{255, 255, 255};
    std::vector<Rgb> band;
    if (image.height <= USER_BAND_COLOUR_ROW)
        return band;
    for (std::int64_t x = BLOCK_SAMPLE_OFFSET; x < image.width; x += BLOCK_PIXELS) {
        const auto column = static_cast<std::int32_t>(x);
        if (colourAt(image, column, USER_BAND_COUNT_ROW) == white)
            break;
        band.push_back(colourAt(image, column, USER_BAND_COLOUR_ROW));
    }
    return band;
}

ExtractResult buildColourHeightSet(std::span<const Rgb> bandColours, ColourSet colourSet,
                                   std::int32_t minElevation, std::int32_t contourInterval, ColourHeightSet& set)
{
    set = ColourHeightSet{};
    std::int64_t rung = 0;
    try {
        if (colourSet == ColourSet::System) {
            set.entries.reserve(SYSTEM_COLOUR_SET.size());
            for (const Rgb& colour : SYSTEM_COLOUR_SET)
                if (!addClassified(set, colour, minElevation, contourInterval, rung))
                    return ExtractResult::HeightsTooLarge;
            return ExtractResult::Ok;
        }
        set.entries.reserve(bandColours.size() + RESERVED_COLOURS.size());
        for (const Rgb& colour : bandColours)
            if (!addClassified(set, colour, minElevation, contourInterval, rung))
                return ExtractResult::HeightsTooLarge;
        for (const ReservedColour& reserved : RESERVED_COLOURS)
            set.entries.push_back({reserved.colour.blue, reserved.colour.green, reserved.colour.red, reserved.code});
    } catch (const std::bad_alloc&) {
        set = ColourHeightSet{};
        return ExtractResult::NoMemory;
    }
    return ExtractResult::Ok;
}

ExtractResult buildColourHeightSet(const BmpImage& image, ColourSet colourSet, std::int32_t minElevation,
                         std::int32_t contourInterval, ColourHeightSet& set)
{
    std::vector<Rgb> band;
    try {
        if (colourSet == ColourSet::User)
            band = userBandColours(image);
    } catch (const std::bad_alloc&) {
        set = ColourHeightSet{};
        return ExtractResult::NoMemory;
    }
    return buildColourHeightSet(band, colourSet, minElevation, contourInterval, set);
}

float heightForColour(ColourHeightSet& set, const std::uint8_t* pixel)
{
    std::int32_t height = RESERVED_BLACK;
    for (const ColourHeightEntry& entry : set.entries) {
        if (entry.blue == pixel[0] && entry.green == pixel[1] && entry.red == pixel[2]) {
            height = entry.height;
            break;
        }
    }
    if (height < 0 && raisesColourError(height))
        set.colourError = true;
    return static_cast<float>(height);
}

} // namespace qarn
