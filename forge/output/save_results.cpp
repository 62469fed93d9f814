#include "forge/output/save_results.h"

#include "forge/grid/grid_views.h"
#include "forge/output/ascii_grid_writer.h"
#include "forge/output/build_data_report.h"
#include "forge/output/output_result.h"
#include "forge/output/save_file.h"
#include "forge/output/save_names.h"

namespace qarn {

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
    const std::vector<float> heights = realCellHeights(grid);
    saved.result = checkGridForSaving(saved.gridPath, grid.header(), grid.rows(), grid.cols(), heights.data(),
                                      saved.error);
    if (saved.result != OutputResult::Ok)
        return saved;

    // Both files complete before either replaces an earlier one.
    AtomicFile gridFile(saved.gridPath);
    AtomicFile reportFile(saved.reportPath);
    saved.result = writeTemporary(
        gridFile,
        [&](std::FILE* out) { return writeAsciiGrid(out, grid.header(), grid.rows(), grid.cols(), heights.data()); },
        saved.error);
    if (saved.result == OutputResult::Ok)
        saved.result = writeTemporary(
            reportFile, [&](std::FILE* out) { return writeBuildDataReport(out, mapDataPresent, mapData); },
            saved.error);
    if (saved.result != OutputResult::Ok)
        return saved;
    if (commitBoth(gridFile, reportFile) != FileResult::Ok) {
        const AtomicFile& failed = gridFile.error().empty() ? reportFile : gridFile;
        saved.error = saveFailureText(failed.targetPath(), failed.error());
        saved.result = OutputResult::FileFailed;
    }
    return saved;
}

SaveAsResult saveBuiltGrid(ElevationGrid& grid, const std::string& chosenName, bool mapDataPresent,
                           const MapData& mapData)
{
    std::vector<int> table = truncatedHeights(grid);
    applyTableValues(grid, table);
    SaveAsResult saved = saveGridAndReport(grid, chosenName, mapDataPresent, mapData);
    saved.heights = std::move(table);
    return saved;
}

} // namespace qarn
