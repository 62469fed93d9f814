#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/block_convention.h"
#include "common/map_data_file.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/result_codes.h"
#include "forge/grid/elevation_grid.h"

namespace qarn {

// Everything "Build It" does except showing things: the height values file
// (locked while the build runs), the extraction, the map data file beside the
// picture, the grid's build sequence, and the removal of the height values
// file after a successful build. Errors come back in the outcome (a result
// code and the boxes: those that do not end the build also go to onMessage as
// they arise, the last one ends the list); the outcome owns the built grid.

struct BuildOutcome;

struct BuildRequest {
    std::string bmpFilePath;  // the picture, as 8-bit text of the file system
    std::int32_t minElevation = 0;
    std::int32_t contourInterval = 0;
    ColourSet colourSet = ColourSet::System;
    // Where the height values file goes: "hightvals.dat" in the working
    // directory as the window has it; qarn uses a private folder of its own.
    std::string heightsFilePath = HEIGHT_VALUES_FILE_NAME;
    // Told each box that does not end the build, as the build reaches it.
    std::function<void(const UserMessage&)> onMessage;
    // Told the finished outcome (its last box the results) while the height
    // values file is still there, as the window shows its results before the
    // file is removed.
    std::function<void(BuildOutcome&)> onBuilt;
};

// The header lines of the height values file as read back.
struct HeightValuesHeader {
    long pixelRows = 0, pixelCols = 0;
    long blockRows = 0, blockCols = 0;
    int contourInterval = 0;
    std::vector<int> colourHeights;
};

struct BuildOutcome {
    ExtractResult result = ExtractResult::Ok;
    bool colourError = false;   // this build's extraction met a reserved or unknown colour
    bool mapDataChecked = false; // the build got as far as looking for the map data file
    bool mapDataRead = false;   // ... and read it; mapData then holds its values
    MapData mapData;
    HeightValuesHeader heights;
    std::vector<UserMessage> messages; // every box of the build in order; the last one ends it
    ElevationGrid grid;         // the finished grid when built()

    bool built() const { return result == ExtractResult::Ok && !colourError; }
};

BuildOutcome runBuild(const BuildRequest& request);

// Reads the header lines of a height values file (sizes, contour interval and
// the colour set's heights), leaving the stream at the first block height.
// False when a line is missing or unreadable, or a block count or the entry
// count is out of range.
bool readHeightValuesHeader(std::FILE* f, HeightValuesHeader& h);

} // namespace qarn
