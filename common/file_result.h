#pragma once

namespace qarn {

// Result codes of the file helpers of this folder (the map data file, the
// atomic writer); the words of each code start the reason a user is shown.
enum class FileResult {
    Ok,
    NoName,        // an empty file name
    CannotOpen,    // the file could not be opened for reading
    NotRegular,    // a FIFO, device or folder where a file was expected
    TooShort,      // the file holds fewer bytes than its format needs
    CannotCreate,  // the temporary beside the target could not be made
    WriteFailed,   // the bytes could not be written out
    CannotReplace, // the finished temporary could not be renamed over the target
};

// Plain words for a code.
const char* describe(FileResult result);

} // namespace qarn
