#pragma once

#include <string>
#include <vector>

namespace qarn {

// File names of the save dialogs. Every occurrence is removed in one pass from
// the left, as the names have always been formed, but only from the file name:
// folder names in the path stay as they are. Errors: none; any text gives a name.

// The Save As dialog's starting name for an opened picture: every ".bmp"
// (any letter case) removed, then "-arcinfo-ascii.asc" appended.
std::string proposedSaveName(const std::string& bmpPath);

// The grid file for the name chosen in Save As: every ".asc" (exact case)
// removed, then ".asc" appended. "map.ASC" gives "map.ASC.asc".
std::string gridFileNameFor(const std::string& chosenName);

// The build data report beside it: every ".asc" (any letter case) removed,
// then "-Build_Data.txt" appended. "map.ASC" gives "map-Build_Data.txt".
std::string reportFileNameFor(const std::string& chosenName);

// Both files a save under the chosen name writes: the grid file, the report.
std::vector<std::string> gridAndReportFileNames(const std::string& chosenName);

} // namespace qarn
