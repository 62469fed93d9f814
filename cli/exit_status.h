#pragma once

#include "forge/extract/result_codes.h"

namespace qarn {

// qarn's exit statuses, one per kind of failure, shared by every subcommand.
// Plain values; no errors.
enum class Exit : int {
    Ok = 0,
    Usage = 2,       // the command line or an entry refused, heights too large, a result over an input
    NoPicture = 3,   // the picture cannot be opened or read at all
    BadPicture = 4,  // not a BMP, corrupt, unsupported, cut short, no blocks or too many
    ColourError = 5, // a reserved or unknown colour in the map
    NoMemory = 6,
    TempFile = 7,    // the height values file cannot be written or read back
    NotWritten = 8,  // a result file (grid, report, preview, marked picture, sizer file) not written
    Unavailable = 9, // the command was left out of this build (qarn import without GDAL)
};

// The status for a build that stopped with `result`, or on colours.
inline Exit exitForResult(ExtractResult result, bool colourError)
{
    if (colourError)
        return Exit::ColourError;
    switch (result) {
    case ExtractResult::CannotOpenBmp:
    case ExtractResult::TypeUnreadable:
        return Exit::NoPicture;
    case ExtractResult::NoMemoryPixels:
    case ExtractResult::NoMemory:
        return Exit::NoMemory;
    case ExtractResult::TempFileFailed:
        return Exit::TempFile;
    case ExtractResult::HeightsTooLarge:
        return Exit::Usage;
    default:
        return Exit::BadPicture;
    }
}

} // namespace qarn
