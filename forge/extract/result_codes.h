#pragma once

namespace qarn {

// Result codes of the picture reader, the block height extraction and the
// build pipeline, one numbering; the pipeline turns them into messages and the
// numbers show in the box of an unexpected one. Errors travel only as these
// codes; nothing is thrown.
enum class ExtractResult : int {
    Ok = 0,
    ReadError = -1,        // the file ended early, or a read or seek failed
    TypeUnreadable = 3,    // the first two bytes could not be read
    NotBmp = 1000,         // the first two bytes are not "BM"
    BadHeader = 1001,      // a header sanity check failed
    UnsupportedBmp = 1002, // a legal header of a kind not decoded
    NoMemoryPixels = 1004, // the pixel rows could not be allocated
    NoMemory = 1005,       // working storage of the extraction or the grid
    NoMapBlocks = 1006,    // no whole 10 x 10 map block in the picture
    TooManyBlocks = 1007,  // more block rows or columns than a grid holds
    HeightsTooLarge = 1008, // a colour's height passes what float32 holds exactly
    TempFileFailed = 2005, // the height values file could not be made or read back
    CannotOpenBmp = 2020,  // the picture could not be opened
};

// Plain words for a code, for logs and the command line.
const char* describe(ExtractResult result);

// The number a box shows for the code.
constexpr int codeNumber(ExtractResult result)
{
    return static_cast<int>(result);
}

} // namespace qarn
