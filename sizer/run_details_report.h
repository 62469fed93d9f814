#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sizer/map_size_calculation.h"

namespace qarn {

// The calculator's exit-time files: the run details report "QarnSizer_Data.txt"
// and the map data file. Errors travel as return values (a list of the files
// not written, with the reason); the caller owns the stream it passes in.

inline constexpr const char* RUN_DETAILS_FILE_NAME = "QarnSizer_Data.txt";

// What the last "Get Results" press left behind: the entries of that press,
// and the results of the last accepted one.
struct RunDetails {
    std::int64_t widthMetres = 0;
    std::int64_t heightMetres = 0;
    std::int32_t widthTens = 0;
    std::int32_t heightTens = 0;
    MapSizeCalculation calculation;
    std::int32_t userPixelWidth = 0;
    std::int32_t userPixelHeight = 0;
};

// The exit writes the files only when both stored metre values are above 0.
bool exitWritesFiles(const RunDetails& details);

// The report's 20 formatted writes, "\n" line ends. Returns false when the
// stream reports a write error.
bool writeRunDetailsReport(std::FILE* out, const RunDetails& details);

struct ExitFileFailure {
    std::string fileName;
    std::string reason;
};

// Writes the report, then the map data file, each through a temporary that
// replaces the old file only when complete, into `directory` (empty: the
// working directory). A failure of one does not stop the other. Returns the
// files that could not be written, in that order; empty when both were.
std::vector<ExitFileFailure> writeExitFiles(const RunDetails& details, const std::string& directory = {});

} // namespace qarn
