#include "forge/extract/result_codes.h"

namespace qarn {

const char* describe(ExtractResult result)
{
    switch (result) {
    case ExtractResult::Ok:
        return "read";
    case ExtractResult::ReadError:
        return "the file ended early or could not be read";
    case ExtractResult::TypeUnreadable:
        return "the file is too short to hold its type";
    case ExtractResult::NotBmp:
        return "not a BMP file";
    case ExtractResult::BadHeader:
        return "the BMP header is damaged";
    case ExtractResult::UnsupportedBmp:
        return "a kind of BMP that is not read";
    case ExtractResult::NoMemoryPixels:
    case ExtractResult::NoMemory:
        return "out of memory";
    case ExtractResult::NoMapBlocks:
        return "no whole 10 x 10 pixel block";
    case ExtractResult::TooManyBlocks:
        return "more than 1201 block rows or columns";
    case ExtractResult::HeightsTooLarge:
        return "colour heights beyond 16777216 m";
    case ExtractResult::TempFileFailed:
        return "the height values file could not be written or read back";
    case ExtractResult::CannotOpenBmp:
        return "the picture cannot be opened";
    }
    return "unknown result";
}

} // namespace qarn
