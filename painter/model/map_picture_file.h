#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forge/output/output_result.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "painter/model/block_map.h"

namespace qarn {

// A painted map as the picture the builder reads, and back. Errors: opening
// returns the reader's result code (map unchanged unless Ok); saving returns
// an OutputResult with the file and the reason in `error`, and a failed save
// leaves earlier files as they were. The caller owns the map.

// Reads the picture at `path` as a build does: block (row, col) takes the
// colour of the pixel the builder samples, a user set's band comes from the
// picture's top rows. Only the sampled rows are decoded.
ExtractResult openMapPicture(const std::string& path, ColourSet colourSet, BlockMap& map);

// A file saved with the picture, such as an import report: its name and bytes.
struct CompanionFile {
    std::string path;
    std::string bytes;
};

// Writes the map as a 24-bit BMP of cols x 10 by rows x 10 pixels (a user
// set's band of 10 rows above it, ended by a white block) and, when the map
// has a map data record, the map data file beside it, then the companions:
// all or none. OutputResult::BadGridSize for a map without blocks, with more
// than a grid holds, or whose band does not fit its width.
OutputResult saveMapPicture(const BlockMap& map, const std::string& path, std::string& error,
                            const std::vector<CompanionFile>& companions = {});

} // namespace qarn
