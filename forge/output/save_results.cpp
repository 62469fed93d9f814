#include "forge/output/save_results.h"

#include "forge/grid/grid_views.h"
#include "forge/output/ascii_grid_writer.h"
#include "forge/output/build_data_report.h"
#include "forge/output/output_result.h"
#include "forge/output/save_names.h"

void applyTableValues(ElevationGrid& grid, const std::vector<int>& values)
{
    std::size_t i = 0;
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c, ++i)
            grid.setHeight(r, c, i < values.size() ? static_cast<float>(values[i]) : 0.0f);
}

OutputResult saveGridFile(const ElevationGrid& grid, const std::string& ascPath, std::string& error)
{
    const std::vector<float> heights = realCellHeights(grid);
    return saveAsciiGrid(ascPath, grid.header(), grid.rows(), grid.cols(), heights.data(), error);
}

SaveAsResult saveGridAndReport(const ElevationGrid& grid, const std::string& chosenName, bool mapDataPresent,
                               const MapData& mapData)
{
    SaveAsResult saved;
    saved.gridPath = gridFileNameFor(chosenName);
    saved.reportPath = reportFileNameFor(chosenName);
    saved.result = saveGridFile(grid, saved.gridPath, saved.error);
    if (saved.result == OutputResult::Ok)
        saved.result = saveBuildDataReport(saved.reportPath, mapDataPresent, mapData, saved.error);
    return saved;
}
