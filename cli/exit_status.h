#pragma once

#include "forge/extract/result_codes.h"

// qarn's exit statuses, one per kind of failure, shared by the subcommands
// that read a map picture. Plain values; no errors.

enum BuildExit {
    EXIT_BUILT = 0,
    EXIT_BAD_INPUT = 2,        // --min or --interval refused, or heights beyond the 32-bit range
    EXIT_NO_PICTURE = 3,       // the picture cannot be opened or read at all
    EXIT_BAD_PICTURE = 4,      // not a BMP, corrupt, unsupported, cut short, no blocks or too many
    EXIT_COLOUR_ERROR = 5,     // a reserved or unknown colour in the map
    EXIT_NO_MEMORY = 6,
    EXIT_TEMP_FILE = 7,        // "hightvals.dat" cannot be written or read back
    EXIT_SAVE_FAILED = 8,      // the grid file or the report cannot be written
};

// The status for a build that stopped with `result`, or on colours.
inline int exitForResult(int result, bool colourError)
{
    if (colourError)
        return EXIT_COLOUR_ERROR;
    switch (result) {
    case RESULT_CANNOT_OPEN_BMP:
    case RESULT_TYPE_UNREADABLE:
        return EXIT_NO_PICTURE;
    case RESULT_NO_MEMORY_PALETTE:
    case RESULT_NO_MEMORY_PIXELS:
    case RESULT_NO_MEMORY:
        return EXIT_NO_MEMORY;
    case RESULT_TEMP_FILE_FAILED:
        return EXIT_TEMP_FILE;
    case RESULT_HEIGHTS_TOO_LARGE:
        return EXIT_BAD_INPUT;
    default:
        return EXIT_BAD_PICTURE;
    }
}
