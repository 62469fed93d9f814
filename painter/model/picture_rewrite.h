#pragma once

#include <cstdint>
#include <string>

#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"

namespace qarn {

// What saving a map over the picture it was opened from changes besides the
// blocks painted since: the painter writes 24-bit pictures of whole blocks,
// each one colour, so a picture drawn otherwise is not written back as it was.
struct PictureRewrite {
    ExtractResult result = ExtractResult::Ok; // the picture's read; nothing else is valid unless Ok
    int bitsPerPixel = 24;                    // of the picture there
    std::int32_t width = 0, height = 0;       // of the picture there
    std::int32_t savedWidth = 0, savedHeight = 0; // of the picture a save writes
    std::int64_t mixedBlocks = 0;             // blocks there of more than one colour

    bool changesMore() const
    {
        return result == ExtractResult::Ok &&
               (bitsPerPixel != 24 || width != savedWidth || height != savedHeight || mixedBlocks > 0);
    }
};

// Reads the picture at `path`, painted in `colourSet`, a stripe of block rows
// at a time so a large one needs little memory.
PictureRewrite describePictureRewrite(const std::string& path, ColourSet colourSet);

} // namespace qarn
