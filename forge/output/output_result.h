#pragma once

// Result codes of the grid file and report writers, and their words for the
// window. Errors: every writer returns one of these; nothing is thrown.

inline constexpr int OUTPUT_OK = 0;
// rows or cols outside 1 .. the header's declared size, or no heights given.
inline constexpr int OUTPUT_BAD_GRID_SIZE = 3101;
// A height that is not finite or whose whole metres do not fit the file's integers.
inline constexpr int OUTPUT_BAD_HEIGHT = 3102;
// The stream refused the bytes (full disk, closed handle, I/O error).
inline constexpr int OUTPUT_WRITE_FAILED = 3103;
// The file could not be created or put in place; the save's error text says why.
inline constexpr int OUTPUT_FILE_FAILED = 3104;

// Plain words for a code, for messages such as "Cannot save <file>: <words>".
const char* outputResultText(int code);
