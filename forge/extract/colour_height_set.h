#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "common/block_convention.h"
#include "forge/extract/block_layout.h"
#include "forge/extract/bmp_image.h"

namespace qarn {

// Elevation colour sets: which painted colour stands for which height. Nothing
// here fails except storage (a result code); an unknown or forbidden colour is
// reported through the set's own colourError flag, which belongs to one build.

// The largest height, in metres either way, that a float32 holds as a whole
// number; a colour set whose rungs pass it is refused.
inline constexpr std::int64_t MAX_EXACT_HEIGHT = 16777216;

// Codes of the reserved colours; RESERVED_BLACK is also the height of any colour
// the set does not know.
inline constexpr std::int32_t RESERVED_BLUE = -9010;
inline constexpr std::int32_t RESERVED_BLUE1 = -9020; // flat-area marker, allowed in a map
inline constexpr std::int32_t RESERVED_BLUE2 = -9030;
inline constexpr std::int32_t RESERVED_GREEN = -9040;
inline constexpr std::int32_t RESERVED_YELLOW = -9050;
inline constexpr std::int32_t RESERVED_WHITE = -9990;
inline constexpr std::int32_t RESERVED_BLACK = -9999;

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct ReservedColour {
    const char* name;
    Rgb colour;
    std::int32_t code;
    bool raisesColourError;
};

// In the order they are appended to a user set.
inline constexpr std::array<ReservedColour, 7> RESERVED_COLOURS = {{
    {"blue", {0, 0, 255}, RESERVED_BLUE, true},
    {"blue1", {0, 128, 192}, RESERVED_BLUE1, false},
    {"blue2", {0, 192, 192}, RESERVED_BLUE2, true},
    {"green", {0, 255, 0}, RESERVED_GREEN, true},
    {"yellow", {255, 255, 0}, RESERVED_YELLOW, true},
    {"white", {255, 255, 255}, RESERVED_WHITE, true},
    {"black", {0, 0, 0}, RESERVED_BLACK, true},
}};

// The built-in set, in order: 18 height colours, lowest first, then the reserved ones.
inline constexpr std::array<Rgb, 25> SYSTEM_COLOUR_SET = {{
    {0, 132, 33},    {99, 198, 0},    {66, 231, 0},    {165, 231, 66},  {165, 198, 0},
    {165, 165, 0},   {198, 198, 0},   {231, 198, 132}, {231, 198, 66},  {231, 165, 0},
    {198, 165, 66},  {198, 165, 132}, {173, 123, 41},  {165, 99, 0},    {132, 66, 66},
    {165, 66, 0},    {198, 99, 0},    {231, 99, 0},    {0, 0, 255},     {0, 128, 192},
    {0, 192, 192},   {0, 255, 0},     {255, 255, 0},   {255, 255, 255}, {0, 0, 0},
}};

// The code of a reserved colour, or 0 for a colour that takes a height rung.
constexpr std::int32_t reservedCodeFor(const Rgb& colour)
{
    for (const ReservedColour& reserved : RESERVED_COLOURS)
        if (reserved.colour == colour)
            return reserved.code;
    return 0;
}

// Whether looking up a colour that yields `height` marks the picture as wrong.
constexpr bool raisesColourError(std::int32_t height)
{
    for (const ReservedColour& reserved : RESERVED_COLOURS)
        if (reserved.code == height)
            return reserved.raisesColourError;
    return false;
}

struct ColourHeightEntry {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::int32_t height; // metres, or a reserved code
};

struct ColourHeightSet {
    std::vector<ColourHeightEntry> entries; // lookups take the first match
    bool colourError = false;               // raised by heightForColour, never cleared
};

// The colours of a user set's band in the picture's top rows: its blocks are
// sampled in their sixth pixel column, counted along row 3 up to the first
// white block and their colours taken from row 5; a band without white uses
// every block. Needs those two rows of `image`.
std::vector<Rgb> userBandColours(const BmpImage& image);

// Builds the set for one extraction: the system table, or (ColourSet::User)
// `bandColours` followed by the seven reserved colours. Non-reserved colours
// get minElevation + k x contourInterval in order. Returns ExtractResult::Ok,
// ExtractResult::NoMemory, or ExtractResult::HeightsTooLarge when a rung's
// height would pass MAX_EXACT_HEIGHT; `set` is replaced either way.
ExtractResult buildColourHeightSet(std::span<const Rgb> bandColours, ColourSet colourSet,
                                   std::int32_t minElevation, std::int32_t contourInterval, ColourHeightSet& set);

// The same with a user set's band read from the picture's top rows.
ExtractResult buildColourHeightSet(const BmpImage& image, ColourSet colourSet, std::int32_t minElevation,
                         std::int32_t contourInterval, ColourHeightSet& set);

// Height of the colour of `pixel` (blue, green, red): the first matching entry,
// or RESERVED_BLACK when none matches. Raises set.colourError for every reserved
// code but RESERVED_BLUE1.
float heightForColour(ColourHeightSet& set, const std::uint8_t* pixel);

} // namespace qarn
