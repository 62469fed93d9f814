#pragma once

#include <cstdio>
#include <string>

#include "common/map_data_file.h"
#include "forge/output/output_result.h"

namespace qarn {

// The build data report: the values to type into the map production dialog,
// in its full form when the last build read the map data file, otherwise the
// short form with dots for every value. Windows-1252 text (the apostrophe of
// "10's" is the single byte 0x92), "\n" line ends.
// Errors: the writers return an OutputResult code (forge/output/output_result.h);
// nothing is thrown. The caller owns the stream.

// The report's bytes. Numbers are formatted without the process locale, so a
// window that set one still writes "30.922".
std::string buildDataReportText(bool mapDataPresent, const MapData& mapData);

OutputResult writeBuildDataReport(std::FILE* out, bool mapDataPresent, const MapData& mapData);

} // namespace qarn
