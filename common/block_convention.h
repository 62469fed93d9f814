#pragma once

namespace qarn {

// The block convention both programs share: a 10 x 10 pixel block of the
// picture is one 3-arc-second SRTM grid square of this many metres a side.
inline constexpr double METRES_PER_SRTM_GRID = 92.7658712627587;

// The same side to 8 decimals (92.76587126), as the grid's smoothing ramps
// take it: every grid file stays what it has always been. Both the product
// and the quotient are exact or correctly rounded, so this is the very double
// the 8-decimal literal gives.
inline constexpr double CELL_SPACING_METRES =
    static_cast<double>(static_cast<long long>(METRES_PER_SRTM_GRID * 1e8 + 0.5)) / 1e8;
inline constexpr int BLOCK_PIXELS = 10;         // pixels a block has along each side
inline constexpr int USER_COLOUR_SET_ROWS = 10; // picture rows a user colour set takes above the map

// Which elevation colour set the picture is painted with, in both programs; a
// window with none chosen yet holds no value.
enum class ColourSet : int { User = 0, System = 1 };

} // namespace qarn
