#pragma once

#include <cstdint>
#include <vector>

namespace qarn {

// The brush the pencil, raise, lower and the slope brushes dab with: how many
// blocks across and its shape. A square brush of size n covers the n x n
// blocks around the block it is dabbed at (an even size reaches one block
// further down and right). A round one covers the blocks of that square whose
// centres lie within the circle inscribed in it: diameter n blocks, centred on
// the square's centre. No block centre ever lies on that circle (measured in
// half blocks, a centre's squared distance is a multiple of 4 for an odd size,
// 2 more than one for an even size; the circle's, size squared, is neither),
// so the rule needs no tie-break. Sizes 1 to 3 cover their whole square
// either way.

enum class BrushShape { Square, Round };

inline constexpr int MAX_BRUSH_SIZE = 50;

struct Brush {
    // A size alone is the square brush of that size.
    constexpr Brush(int blocks = 1, BrushShape form = BrushShape::Square) : size(blocks), shape(form) {}
    int size;         // blocks across, 1 to MAX_BRUSH_SIZE (others are taken as the nearest)
    BrushShape shape;
};

// One row of a dab: its blocks from column `left` to `right`, both included.
struct BrushSpan {
    std::int32_t row, left, right;
};

// The blocks a dab of `brush` at block (row, col) covers, one span a row, top
// row first. Not clipped: the tools clip to their map.
std::vector<BrushSpan> brushSpans(Brush brush, std::int32_t row, std::int32_t col);

// The size one step larger (or smaller) than `size` for the size keys: by one
// block up to 10, by two up to 20, by five up to MAX_BRUSH_SIZE, so both ends
// are a few presses away; a size between steps goes to the next one.
int steppedBrushSize(int size, bool larger);

} // namespace qarn
