#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/block_convention.h"
#include "common/regular_file.h"
#include "forge/extract/block_layout.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/result_codes.h"

namespace qarn {

// Turns a map picture into the height values file: one height per 10 x 10 pixel
// block, sampled at the block's sixth column and row; the picture's size is
// checked from its header and only the sampled rows are decoded. Errors come back as a
// result code with nothing written; the caller owns the output stream, this
// function owns the picture and the colour set for the length of the call.

inline constexpr const char* HEIGHT_VALUES_FILE_NAME = "hightvals.dat";

struct ExtractionResult {
    ExtractResult result = ExtractResult::Ok;
    bool colourError = false; // a block or band colour was reserved or unknown (file still complete)
};

// The plan that keeps only the pixels the extraction reads (each block's sample
// pixel, and a user band's two rows) and refuses a picture without a whole
// block or with more than a grid holds from its header alone.
BmpPlan samplingPlan(ColourSet colourSet);

// Opens the BMP at `bmpFilePath` (a regular file only), checks its first two
// bytes and reads it with `plan`, as the extraction does before anything else
// (same codes, same diagnostics).
ExtractResult readMapPicture(const std::string& bmpFilePath, BmpImage& image, const BmpPlan& plan = {});

// The same for reading the picture in bands of up to `bandRows` rows through
// `reader`; `bmp` holds the open file for as long as the reader reads.
ExtractResult openMapPictureBands(const std::string& bmpFilePath, std::int32_t bandRows, FileHandle& bmp,
                                  BmpBandReader& reader);

// Reads the BMP at `bmpFilePath` and writes the height values layout to
// `heightsFile` (open for writing in text mode; not closed here). On any result
// but ExtractResult::Ok nothing has been written. Writes "Error opening source
// file" or "Error getting file type" to stderr, perror-style, for codes 2020 and 3.
ExtractionResult extractBlockHeights(const std::string& bmpFilePath, std::FILE* heightsFile,
                                     std::int32_t minElevation, std::int32_t contourInterval,
                                     ColourSet colourSet);

} // namespace qarn
