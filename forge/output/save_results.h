#pragma once

#include <string>
#include <vector>

#include "forge/output/output_result.h"
#include "common/map_data_file.h"
#include "forge/grid/elevation_grid.h"

namespace qarn {

// Save and Save As over a built grid: the table's whole numbers go back into
// the grid, then the grid file (and for Save As the build data report) is
// written through a temporary. Errors: an OutputResult code with `error` naming the
// file and the reason; an earlier file of that name stays intact. The caller
// owns the grid.

// Stores each table value (row-major, rows x cols of the grid) as the height
// of its real cell.
void applyTableValues(ElevationGrid& grid, const std::vector<int>& values);

// The grid file at `ascPath`.
OutputResult saveGridFile(const ElevationGrid& grid, const std::string& ascPath, std::string& error);

struct SaveAsResult {
    OutputResult result = OutputResult::Ok; // or the first failure
    std::string gridPath;    // the grid file name formed from the chosen name
    std::string reportPath;  // the build data report's name
    std::string error;       // which file failed and why
    std::vector<int> heights; // saveBuiltGrid: the whole metres written, row-major
};

// The grid file and the build data report named from the name the user chose:
// both are written whole before they replace earlier files, and either both
// replace them or neither does.
SaveAsResult saveGridAndReport(const ElevationGrid& grid, const std::string& chosenName, bool mapDataPresent,
                               const MapData& mapData);

// What Save As writes right after a build, the table unedited: the heights
// as the table shows them (truncated to whole metres) go into the grid, then
// the grid file and report as saveGridAndReport writes them.
SaveAsResult saveBuiltGrid(ElevationGrid& grid, const std::string& chosenName, bool mapDataPresent,
                           const MapData& mapData);

} // namespace qarn
