#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/block_convention.h"

namespace qarn {

// Reading the two size entries of "Get Results" and checking them with the
// colour-set choice. Pure functions: a rejected entry is a SizeCheck code with
// its message, never an exception.

// Both entries converted from tens of metres; text that is not a whole number
// (common/whole_number.h) counts as 0. The metres are kept in 64 bits so that an entry whose
// x10 leaves the 32-bit range still counts as above the limit.
struct SizeEntries {
    std::int32_t widthTens = 0;
    std::int32_t heightTens = 0;
    std::int64_t widthMetres = 0;
    std::int64_t heightMetres = 0;
};
SizeEntries convertSizeEntries(const std::string& widthText, const std::string& heightText);

// The checks in the order they run; the first failing one is reported.
enum class SizeCheck {
    Passed = 0,
    NoColourSet = 1,
    BothTooLarge = 2,
    HeightTooLarge = 3,
    WidthTooLarge = 4,
    NotPositive = 5,
};
SizeCheck checkSizeEntries(std::optional<ColourSet> colourSet, std::int64_t widthMetres, std::int64_t heightMetres);

// Which fields a failed check empties.
enum EmptiedField : unsigned {
    EMPTY_NONE = 0,
    EMPTY_HEIGHT_ENTRY = 1u << 0, // "HeightIn"
    EMPTY_WIDTH_ENTRY = 1u << 1,  // "WidthIn"
    EMPTY_HEIGHT_ECHO = 1u << 2,  // "RheightIn"
    EMPTY_WIDTH_ECHO = 1u << 3,   // "RWidthIn"
};

struct SizeCheckMessage {
    const char* caption = "";
    const char* text = "";
    unsigned emptied = EMPTY_NONE;
};
// The critical box of a failed check; Passed gives empty texts.
SizeCheckMessage sizeCheckMessage(SizeCheck check);

// One plain line under the box where its words mislead: an entry that is not a
// whole number ("12.5", "abc") is counted as 0 and so called "equal to ZERO or
// less than ZERO". Empty when the box says enough.
std::string sizeCheckNote(SizeCheck check, const std::string& widthText, const std::string& heightText);

} // namespace qarn
