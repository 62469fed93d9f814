#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "painter/model/block_map.h"
#include "painter/model/brush.h"

namespace qarn {

// One stroke's changes to a map, each block at most once with its colour
// before the stroke and after it, so the stroke is undone and redone as one
// step; and the tools that paint a stroke. Tools clip to the map and never
// fail; the edit holds only colours and block numbers, the caller owns the map.

struct BlockChange {
    std::size_t index; // into BlockMap::blocks
    Rgb before;
    Rgb after;
};

class BlockEdit {
public:
    // Paints block (row, col) in `colour`, remembering its colour before the
    // stroke. False when the block lies outside the map or already has it.
    bool set(BlockMap& map, std::int32_t row, std::int32_t col, Rgb colour);
    // Whether this stroke has changed block (row, col).
    bool touched(const BlockMap& map, std::int32_t row, std::int32_t col) const;
    // Block (row, col)'s colour before this stroke (inside the map only).
    Rgb before(const BlockMap& map, std::int32_t row, std::int32_t col) const;

    // Ends the stroke: the lookup of touched blocks is dropped, so a kept
    // undo step holds its changes alone. Only undo and redo may follow.
    void finish() { slot_ = {}; }

    void undo(BlockMap& map) const;
    void redo(BlockMap& map) const;

    const std::vector<BlockChange>& changes() const { return changes_; }
    bool empty() const { return changes_.empty(); }

private:
    std::vector<BlockChange> changes_;
    std::unordered_map<std::size_t, std::size_t> slot_; // block index -> its entry in changes_
};

// The pencil: one dab of `brush` around (row, col) (see brush.h).
void paintDab(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, Rgb colour);
// The pencil dragged from one block to the next: dabs along the line between
// them, so a fast drag leaves no gaps.
void paintLine(BlockMap& map, BlockEdit& edit, std::int32_t row0, std::int32_t col0, std::int32_t row1,
               std::int32_t col1, Brush brush, Rgb colour);
// Every block of the rectangle with these two corners, in any order.
void paintRectangle(BlockMap& map, BlockEdit& edit, std::int32_t row0, std::int32_t col0, std::int32_t row1,
                    std::int32_t col1, Rgb colour);
// The connected area (sharing sides) of the colour of block (row, col).
void floodFill(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Rgb colour);
// Raises (steps 1) or lowers (steps -1) each block of the brush's dab by
// one rung, each block once in a stroke however often a dab covers it;
// the top and bottom rungs stay, blocks not painted in a rung are left alone.
void stepRungs(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, int steps);

// The slope brush: raises (steps 1) or lowers (steps -1) each block of the
// brush's dab to one rung above (below) its rung before the stroke, however
// often a dab covers it, and moves the blocks around it, as far as
// needed, so that no block it moved ends more than one rung from a neighbour
// (across or diagonally): the stroke adds no cliff. Blocks off the ladder (a
// flat area, an unknown colour) are left alone and stop the spread.
void slopeRungs(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, int steps);

} // namespace qarn
