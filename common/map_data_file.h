#pragma once

#include <cstdint>
#include <string>

#include "common/file_result.h"

namespace qarn {

// The 16-byte map data file the calculator writes and the builder reads:
// height in tens of metres (int32), width in tens of metres (int32), metres per
// arc second (IEEE double), all little-endian, nothing else.

inline constexpr const char* MAP_DATA_FILE_NAME = "QarnSizer_MAP_Data.xdt";
inline constexpr double METRES_PER_ARC_SECOND = 30.92208078;
inline constexpr std::size_t MAP_DATA_FILE_SIZE = 16;

struct MapData {
    std::int32_t heightTens = 0;
    std::int32_t widthTens = 0;
    double metresPerArcSecond = 0.0;
};

// The file's 16 bytes for the values, little-endian whatever the host.
std::string encodeMapData(const MapData& data);

// Errors: CannotOpen, NotRegular (a FIFO, device or folder), or TooShort for
// fewer than 16 bytes (the builder counts each as missing); `out` is then left unchanged.
FileResult readMapDataFile(const std::string& path, MapData& out);

// Writes the record through a temporary and renames it over `path`.
// Errors: the failing step's code with the reason in `error`; an earlier file
// is left intact.
FileResult writeMapDataFile(const std::string& path, const MapData& data, std::string& error);

// Where the builder looks for the file: the picture path cut back to its last
// slash, with the file name appended; a path without a slash gives the bare
// name (the working directory).
std::string mapDataPathFor(const std::string& picturePath);

} // namespace qarn
