#pragma once

// The block convention both programs share: a 10 x 10 pixel block of the
// picture is one 3-arc-second SRTM grid square of this many metres a side.
inline constexpr double METRES_PER_SRTM_GRID = 92.7658712627587;

// Which elevation colour set the picture is painted with, in both programs.
inline constexpr int COLOUR_SET_USER = 0;
inline constexpr int COLOUR_SET_SYSTEM = 1;
