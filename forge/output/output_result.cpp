#include "forge/output/output_result.h"

const char* outputResultText(int code)
{
    switch (code) {
    case OUTPUT_OK:
        return "saved";
    case OUTPUT_BAD_GRID_SIZE:
        return "the grid does not fit the 1201 x 1201 file";
    case OUTPUT_BAD_HEIGHT:
        return "a height is too large to be written as whole metres";
    case OUTPUT_WRITE_FAILED:
        return "the data could not be written";
    case OUTPUT_FILE_FAILED:
        return "the file could not be created or replaced";
    default:
        return "unknown error";
    }
}
