#pragma once

#include <cstdint>

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
