#include "forge/output/output_result.h"

namespace qarn {

const char* describe(OutputResult result)
{
    switch (result) {
    case OutputResult::Ok:
        return "saved";
    case OutputResult::BadGridSize:
        return "the grid does not fit the 1201 x 1201 file";
    case OutputResult::BadHeight:
        return "a height is too large to be written as whole metres";
    case OutputResult::WriteFailed:
        return "the data could not be written";
    case OutputResult::FileFailed:
        return "the file could not be created or replaced";
    }
    return "unknown error";
}

} // namespace qarn
