#pragma once

#include <cstdint>

#include "common/block_convention.h"

namespace qarn {

// The calculator's size rule: map metres become whole 10 x 10 pixel blocks, one
// block per SRTM grid square, the block count a multiple of 5 with at least one
// spare. Plain values, no failures: compute() is defined for every input (see
// there) and never throws.

inline constexpr int BLOCK_MULTIPLE = 5;
inline constexpr int MAX_MAP_METRES = 50000;   // 5000 entered, in tens of metres

// For x >= 0: the integer part of x, plus 1 when the dropped fraction is 0.5 or more.
std::int64_t roundHalfUp(double x);

struct MapSizeCalculation {
    std::int32_t colourSet = 1; // a ColourSet as its number
    std::int32_t widthMetres = 0;
    std::int32_t heightMetres = 0;
    std::int32_t approxWidthMetres = 0;
    std::int32_t approxHeightMetres = 0;
    std::int32_t pixelWidth = 0;
    std::int32_t pixelHeight = 0;

    // colourSet 1, everything else 0.
    void reset();
    // Stores the input and clears the four results.
    void setInput(std::int32_t width, std::int32_t height, std::int32_t colourSetCode);
    // Fills the results from the metres. A side outside 1..MAX_MAP_METRES (which
    // the entry checks never let through) gets zero pixels and zero metres.
    void compute();
};

} // namespace qarn
