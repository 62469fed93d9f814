#pragma once

#include <cstdint>
#include <vector>

#include "forge/extract/picture_check.h"

namespace qarn {

// The check's warnings as the canvas draws them, one byte of flags a block
// (row-major, rows x cols): a box round the block for most warnings, and for
// a cliff the edge between its two blocks, or for a diagonal pair the corner
// they share. An edge or corner is kept by the pair's upper block, or its left
// one in a row. Plain values; nothing fails.

enum WarningMark : std::uint8_t {
    MarkBox = 1,        // round the block
    MarkRight = 2,      // the edge with the block to the right
    MarkBelow = 4,      // the edge with the block below
    MarkBelowRight = 8, // the corner with the block below and to the right
    MarkBelowLeft = 16, // the corner with the block below and to the left
};

std::vector<std::uint8_t> warningMarks(const PictureCheck& check, std::int32_t rows, std::int32_t cols);

// Drops every mark about block (row, col), counted from 0: its box and the
// edges and corners it shares with its neighbours (painting it answers them).
void clearWarningMarks(std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                       std::int32_t col);

// Whether the corner mark `corner` (MarkBelowRight or MarkBelowLeft) of block
// (row, col) needs drawing: not when marked edges through that corner already
// part its two blocks on both ways round it (a diagonal along a straight or
// bent run of edges, as round a plateau, would only clutter them).
bool cornerDrawn(const std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                 std::int32_t col, WarningMark corner);

// Whether a mark touches block (row, col): its box, or an edge or corner of it.
bool warningMarked(const std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                   std::int32_t col);

} // namespace qarn
