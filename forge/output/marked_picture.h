#pragma once

#include <cstdint>

#include "forge/extract/picture_check.h"
#include "forge/output/relief_preview.h"

namespace qarn {

// The checked picture with every finding outlined, to be read at a glance:
// errors in red, warnings in blue, over the picture faded towards white.
// Errors: an empty image when the check holds no picture or memory runs out;
// nothing is thrown. The image owns its pixels.

inline constexpr int MARKED_PICTURE_FIT = 1200; // the longer side, about, in pixels
inline constexpr std::uint8_t MARK_ERROR_RGB[3] = {230, 0, 0};
inline constexpr std::uint8_t MARK_WARNING_RGB[3] = {0, 60, 230};

// Pixels a block gets in the marked picture of a width x height picture: the
// longer side fits about MARKED_PICTURE_FIT pixels, and a block has at least 1.
int markedPixelsPerBlock(std::int32_t width, std::int32_t height);

PreviewImage renderMarkedPicture(const PictureCheck& check);

} // namespace qarn
