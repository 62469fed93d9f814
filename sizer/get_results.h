#pragma once

#include <optional>
#include <string>

#include "common/block_convention.h"
#include "sizer/run_details_report.h"
#include "sizer/size_entry_checks.h"

namespace qarn {

// One press of "Get Results", for the window and `qarn size` alike: the two
// entries (tens of metres, as typed) are converted into `details`, which keeps
// them even when the press is refused; when the checks pass, the size rule's
// results and the user-band pixel sizes are stored too. Returns the check's
// verdict (its box through sizeCheckMessage); nothing is thrown.
SizeCheck getResults(RunDetails& details, const std::string& widthText, const std::string& heightText,
                     std::optional<ColourSet> colourSet);

} // namespace qarn
