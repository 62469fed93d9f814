namespace qarn {

#pragma once

// The block convention both programs share: a 10 x 10 pixel block of the
// picture is one 3-arc-second SRTM grid square of this many metres a side.
inline constexpr double METRES_PER_SRTM_GRID = 92.7658712627587;
inline constexpr int BLOCK_PIXELS = 10;         // pixels a block has along each side
inline constexpr int USER_COLOUR_SET_ROWS = 10; // picture rows a user colour set takes above the map

// Which elevation colour set the picture is painted with, in both programs; a
// window with none chosen yet holds no value.
enum class ColourSet : int { User = 0, System = 1 };

} // namespace qarn
