#pragma once

#include <cstdint>

namespace qarn {

// The map's fixed place, the grid file's lower-left corner at 9.0 degrees east
// and 1.0 degree north, in arc seconds, and the alpha that goes with it, in
// mils: the window's labels and the build data report show them.
inline constexpr int MAP_CORNER_LONGITUDE_SECONDS = 32400;
inline constexpr int MAP_CORNER_LATITUDE_SECONDS = 3600;
inline constexpr double MAP_ALPHA_MILS = 0.1;

// The six fixed header lines of the exported ESRI ArcInfo ASCII grid and the
// size of the grid they declare. Set once and never changed.
struct AsciiGridHeader {
    char ncolsLine[11] = "ncols 1201";
    char nrowsLine[11] = "nrows 1201";
    char xllcornerLine[19] = "xllcorner 9.000000";
    char yllcornerLine[20] = "yllcorner 1.000000";
    char cellsizeLine[18] = "cellsize 0.000833";
    char nodataLine[17] = "nodata_value -99";
    std::int32_t declaredCols = 1201;
    std::int32_t declaredRows = 1201;
};

} // namespace qarn
