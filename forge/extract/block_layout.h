#pragma once

#include <cstdint>

#include "common/block_convention.h"
#include "forge/extract/result_codes.h"

namespace qarn {

// Where the map's 10 x 10 pixel blocks lie in a picture and which pixel of each
// the builder reads, for the extraction and for anything that must read a
// picture the same way. Plain values; a picture without usable blocks is
// reported by blockLayoutResult as a result code.

inline constexpr std::int32_t MAX_MAP_BLOCKS = 1201;    // block rows or columns of a grid
inline constexpr std::int32_t BLOCK_SAMPLE_OFFSET = 5; // a block is read at its sixth column and row
// A user band's blocks are counted along this row up to the first white one
// and their colours taken from the other.
inline constexpr std::int32_t USER_BAND_COUNT_ROW = 3;
inline constexpr std::int32_t USER_BAND_COLOUR_ROW = 5;

struct BlockLayout {
    std::int32_t top = 0;       // first pixel row of the map: below a user colour set's band
    std::int32_t pixelRows = 0; // picture rows from `top` down
    std::int32_t pixelCols = 0;
    std::int32_t blockRows = 0; // whole blocks; pixels beyond them are ignored
    std::int32_t blockCols = 0;

    // The pixel that decides block (row, col), both counted from 0.
    std::int32_t sampleX(std::int32_t col) const { return BLOCK_PIXELS * col + BLOCK_SAMPLE_OFFSET; }
    std::int32_t sampleY(std::int32_t row) const { return top + BLOCK_PIXELS * row + BLOCK_SAMPLE_OFFSET; }
    // First pixel of block (row, col).
    std::int32_t left(std::int32_t col) const { return BLOCK_PIXELS * col; }
    std::int32_t upper(std::int32_t row) const { return top + BLOCK_PIXELS * row; }
};

inline BlockLayout blockLayoutFor(ColourSet colourSet, std::int32_t width, std::int32_t height)
{
    BlockLayout layout;
    layout.top = colourSet == ColourSet::User ? USER_COLOUR_SET_ROWS : 0;
    layout.pixelRows = height - layout.top;
    layout.pixelCols = width;
    layout.blockRows = layout.pixelRows / BLOCK_PIXELS;
    layout.blockCols = layout.pixelCols / BLOCK_PIXELS;
    return layout;
}

// Ok, NoMapBlocks or TooManyBlocks.
inline ExtractResult blockLayoutResult(const BlockLayout& layout)
{
    if (layout.blockRows <= 0 || layout.blockCols <= 0)
        return ExtractResult::NoMapBlocks;
    if (layout.blockRows > MAX_MAP_BLOCKS || layout.blockCols > MAX_MAP_BLOCKS)
        return ExtractResult::TooManyBlocks;
    return ExtractResult::Ok;
}

} // namespace qarn
