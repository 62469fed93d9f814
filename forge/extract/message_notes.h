#pragma once

#include <cstdint>
#include <string>

#include "forge/extract/result_codes.h"

namespace qarn {

// One plain line under a box whose kept words say too little or mislead (the
// box text itself stays as it is): qarn prints it after the box, QarnForge
// shows it in its status bar. Each is empty when the box says enough.

// After a build or a picture check stops on `result`; `colourError` for the
// colour error box. The picture at `picturePath` is looked at again for the
// words (how short a cut-off file is, what a refused one uses).
std::string buildStopNote(const std::string& picturePath, ExtractResult result, bool colourError);

// After CONFIRM DATA refuses the contour interval `value` (a whole number).
std::string contourIntervalNote(std::int32_t value);

// After the warning that no map data file lies beside the picture at
// `picturePath`: where it was looked for and how to make it.
std::string mapDataMissingNote(const std::string& picturePath);

} // namespace qarn
