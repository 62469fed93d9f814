#include "forge/extract/colour_height_set.h"

#include "forge/extract/result_codes.h"

#include <cstdint>
#include <new>

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

ExtractResult buildColourHeightSet(const BmpImage& image, ColourSet colourSet, std::int32_t minElevation,
                         std::int32_t contourInterval, ColourHeightSet& set)
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
        // The band's blocks are sampled in their sixth pixel column: counted on
        // row 3 up to the first white block, their colours taken from row 5. A
        // band without white uses every block.
        constexpr Rgb white{255, 255, 255};
        std::int32_t painted = 0;
        if (image.height > USER_BAND_COLOUR_ROW) {
            for (std::int64_t x = BLOCK_SAMPLE_OFFSET; x < image.width; x += 10, ++painted)
                if (colourAt(image, static_cast<std::int32_t>(x), USER_BAND_COUNT_ROW) == white)
                    break;
        }
        set.entries.reserve(static_cast<std::size_t>(painted) + RESERVED_COLOURS.size());
        for (std::int32_t i = 0; i < painted; ++i)
            if (!addClassified(set, colourAt(image, 10 * i + BLOCK_SAMPLE_OFFSET, USER_BAND_COLOUR_ROW), minElevation,
                               contourInterval, rung))
                return ExtractResult::HeightsTooLarge;
        for (const ReservedColour& reserved : RESERVED_COLOURS)
            set.entries.push_back({reserved.colour.blue, reserved.colour.green, reserved.colour.red, reserved.code});
    } catch (const std::bad_alloc&) {
        set = ColourHeightSet{};
        return ExtractResult::NoMemory;
    }
    return ExtractResult::Ok;
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
