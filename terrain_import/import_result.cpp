#include "terrain_import/import_result.h"

namespace qarn {

const char* describe(ImportResult result)
{
    switch (result) {
    case ImportResult::Ok:
        return "imported";
    case ImportResult::EntryRefused:
        return "an entry is out of range";
    case ImportResult::AreaTooLarge:
        return "the area is larger than the largest map";
    case ImportResult::CannotOpen:
        return "the elevation raster cannot be opened";
    case ImportResult::NoElevationBand:
        return "the raster has no elevation band";
    case ImportResult::NoCoordinates:
        return "the raster has no coordinate system";
    case ImportResult::EmptyArea:
        return "the area holds no elevation data";
    case ImportResult::ResampleFailed:
        return "the raster could not be resampled";
    case ImportResult::NoMemory:
        return "out of memory";
    }
    return "unknown import result";
}

} // namespace qarn
