#pragma once

namespace qarn {

// Result codes of the grid file and report writers, and their words for the
// window. Errors: every writer returns one of these; nothing is thrown.
enum class OutputResult {
    Ok,
    BadGridSize, // rows or cols outside 1 .. the header's declared size, or no heights given
    BadHeight,   // a height that is not finite or whose whole metres do not fit the file's integers
    WriteFailed, // the stream refused the bytes (full disk, closed handle, I/O error)
    FileFailed,  // the file could not be created or put in place; the save's error text says why
};

// Plain words for a code, for messages such as "Cannot save <file>: <words>".
const char* describe(OutputResult result);

} // namespace qarn
