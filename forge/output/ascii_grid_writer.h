#pragma once

#include <cstdio>
#include <string>

#include "forge/grid/ascii_grid_header.h"
#include "forge/output/output_result.h"

namespace qarn {

// Writes the ESRI ArcInfo ASCII grid file: the six header lines, then
// (declaredRows - rows) rows of zeros, then the map's rows from the top, each
// value " %d" of its height in whole metres and padded with zeros to
// declaredCols; "\n" line ends.
// Errors: each function returns an OutputResult code (forge/output/output_result.h)
// and writes nothing when it refuses its input. The caller owns the stream and
// the heights; `heights` holds rows * cols values, row 0 (the top) first.

OutputResult writeHeader(std::FILE* out, const AsciiGridHeader& header);

OutputResult writeValues(std::FILE* out, const AsciiGridHeader& header, int rows, int cols, const float* heights);

// OutputResult::Ok when the grid can be written: rows and cols from 1 to the declared
// size, heights present, and every height whole-metre representable as int.
OutputResult checkGridForExport(const AsciiGridHeader& header, int rows, int cols, const float* heights);

// Header and values.
OutputResult writeAsciiGrid(std::FILE* out, const AsciiGridHeader& header, int rows, int cols, const float* heights);

// checkGridForExport with `error` naming the file and the reason.
OutputResult checkGridForSaving(const std::string& path, const AsciiGridHeader& header, int rows, int cols,
                                const float* heights, std::string& error);

// Header and values into `path`, replacing an earlier file only on success.
// `error` names the file and the reason when the result is not OutputResult::Ok.
OutputResult saveAsciiGrid(const std::string& path, const AsciiGridHeader& header, int rows, int cols,
                  const float* heights, std::string& error);

} // namespace qarn
