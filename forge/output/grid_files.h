#pragma once

#include <string>

#include "forge/extract/build_pipeline.h"
#include "forge/output/save_results.h"

namespace qarn {

// A map picture built into the grid file and its build data report in one
// step, as qarn build and QarnPainter's Build Grid do it: the height values
// file goes into a private folder of this run, so builds side by side never
// meet, and the unedited table is saved as Save As saves it. Errors: the
// build's result and boxes in `outcome`, a write failure in `saved`, and
// `folderError` when no private folder could be made (nothing was built).

struct GridBuild {
    std::string folderError; // why the private folder could not be made
    BuildOutcome outcome;    // the build's boxes, its result and grid
    SaveAsResult saved;      // when built: the files written
};

// `request.heightsFilePath` is replaced by the private folder's file;
// `chosenName` names the results as the Save As dialog's name does.
GridBuild buildGridFiles(BuildRequest request, const std::string& chosenName);

} // namespace qarn
