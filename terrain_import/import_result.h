#pragma once

namespace qarn {

// Why an import stopped. describe() gives the words; the caller adds the
// detail (the file, GDAL's own message, the sizes that fit).
enum class ImportResult {
    Ok,
    EntryRefused,     // --centre, --size or --sea-level out of range
    AreaTooLarge,     // more than the largest legal map was asked for
    CannotOpen,       // missing, not a regular file, or no raster GDAL reads
    NoElevationBand,  // no band, or a colour or complex band
    NoCoordinates,    // no coordinate system or no georeferencing
    EmptyArea,        // the area holds no elevation data or is smaller than a map
    ResampleFailed,   // GDAL's warper or reader stopped
    NoMemory,
};

const char* describe(ImportResult result);

} // namespace qarn
