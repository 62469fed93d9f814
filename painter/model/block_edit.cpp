#include "painter/model/block_edit.h"

#include <algorithm>
#include <cstdlib>

#include "forge/extract/picture_check.h"
#include "painter/model/map_terrain.h"

namespace qarn {

bool BlockEdit::set(BlockMap& map, std::int32_t row, std::int32_t col, Rgb colour)
{
    if (!map.contains(row, col))
        return false;
    const std::size_t index = map.index(row, col);
    Rgb& block = map.blocks[index];
    if (block == colour)
        return false;
    const auto [slot, fresh] = slot_.try_emplace(index, changes_.size());
    if (fresh)
        changes_.push_back({index, block, colour});
    else
        changes_[slot->second].after = colour;
    block = colour;
    return true;
}

bool BlockEdit::touched(const BlockMap& map, std::int32_t row, std::int32_t col) const
{
    return map.contains(row, col) && slot_.contains(map.index(row, col));
}

Rgb BlockEdit::before(const BlockMap& map, std::int32_t row, std::int32_t col) const
{
    const auto found = slot_.find(map.index(row, col));
    return found == slot_.end() ? map.at(row, col) : changes_[found->second].before;
}

void BlockEdit::undo(BlockMap& map) const
{
    for (const BlockChange& change : changes_)
        map.blocks[change.index] = change.before;
}

void BlockEdit::redo(BlockMap& map) const
{
    for (const BlockChange& change : changes_)
        map.blocks[change.index] = change.after;
}

namespace {

// A dab whose spans were worked out around block (0, 0), moved to (row, col).
void paintSpans(BlockMap& map, BlockEdit& edit, const std::vector<BrushSpan>& spans, std::int32_t row,
                std::int32_t col, Rgb colour)
{
    for (const BrushSpan& span : spans)
        paintRectangle(map, edit, row + span.row, col + span.left, row + span.row, col + span.right, colour);
}

} // namespace

void paintDab(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, Rgb colour)
{
    paintSpans(map, edit, brushSpans(brush, 0, 0), row, col, colour);
}

void paintLine(BlockMap& map, BlockEdit& edit, std::int32_t row0, std::int32_t col0, std::int32_t row1,
               std::int32_t col1, Brush brush, Rgb colour)
{
    // Bresenham's line through the blocks between the two, the dab's shape worked out once.
    const std::vector<BrushSpan> spans = brushSpans(brush, 0, 0);
    const std::int32_t dr = std::abs(row1 - row0);
    const std::int32_t dc = std::abs(col1 - col0);
    const std::int32_t stepR = row0 < row1 ? 1 : -1;
    const std::int32_t stepC = col0 < col1 ? 1 : -1;
    std::int64_t error = std::int64_t{dc} - dr;
    for (;;) {
        paintSpans(map, edit, spans, row0, col0, colour);
        if (row0 == row1 && col0 == col1)
            break;
        const std::int64_t twice = 2 * error;
        if (twice > -dr) {
            error -= dr;
            col0 += stepC;
        }
        if (twice < dc) {
            error += dc;
            row0 += stepR;
        }
    }
}

void paintRectangle(BlockMap& map, BlockEdit& edit, std::int32_t row0, std::int32_t col0, std::int32_t row1,
                    std::int32_t col1, Rgb colour)
{
    const std::int32_t top = std::max(std::min(row0, row1), 0);
    const std::int32_t bottom = std::min(std::max(row0, row1), map.rows - 1);
    const std::int32_t left = std::max(std::min(col0, col1), 0);
    const std::int32_t right = std::min(std::max(col0, col1), map.cols - 1);
    for (std::int32_t r = top; r <= bottom; ++r)
        for (std::int32_t c = left; c <= right; ++c)
            edit.set(map, r, c, colour);
}

void floodFill(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Rgb colour)
{
    if (!map.contains(row, col) || map.at(row, col) == colour)
        return;
    const Rgb from = map.at(row, col);
    // Blocks are painted as they are queued, so none is queued twice.
    std::vector<std::pair<std::int32_t, std::int32_t>> pending{{row, col}};
    edit.set(map, row, col, colour);
    while (!pending.empty()) {
        const auto [r, c] = pending.back();
        pending.pop_back();
        const std::pair<std::int32_t, std::int32_t> sides[] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
        for (const auto& [nr, nc] : sides) {
            if (map.contains(nr, nc) && map.at(nr, nc) == from) {
                edit.set(map, nr, nc, colour);
                pending.emplace_back(nr, nc);
            }
        }
    }
}

void stepRungs(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, int steps)
{
    const std::vector<Rgb> rungs = rungColours(map);
    for (const auto& [r, left, right] : brushSpans(brush, row, col)) {
        for (std::int32_t c = left; c <= right; ++c) {
            if (!map.contains(r, c) || edit.touched(map, r, c))
                continue;
            const auto found = std::find(rungs.begin(), rungs.end(), map.at(r, c));
            if (found == rungs.end())
                continue;
            const std::ptrdiff_t rung = std::clamp<std::ptrdiff_t>(found - rungs.begin() + steps, 0,
                                                                   static_cast<std::ptrdiff_t>(rungs.size()) - 1);
            edit.set(map, r, c, rungs[static_cast<std::size_t>(rung)]);
        }
    }
}

void slopeRungs(BlockMap& map, BlockEdit& edit, std::int32_t row, std::int32_t col, Brush brush, int steps)
{
    const std::vector<Rgb> rungs = rungColours(map);
    const std::ptrdiff_t topRung = static_cast<std::ptrdiff_t>(rungs.size()) - 1;
    const auto rungOf = [&](Rgb colour) -> std::ptrdiff_t {
        const auto found = std::find(rungs.begin(), rungs.end(), colour);
        return found == rungs.end() ? -1 : found - rungs.begin();
    };
    // Raising, a block moves up to its target and never down (lowering the
    // reverse), so repeated passes and the spread agree.
    const auto further = [&](std::ptrdiff_t rung, std::ptrdiff_t target) {
        return steps > 0 ? target > rung : target < rung;
    };
    std::vector<std::pair<std::int32_t, std::int32_t>> moved;
    for (const auto& [r, first, last] : brushSpans(brush, row, col))
        for (std::int32_t c = first; c <= last; ++c) {
            if (!map.contains(r, c))
                continue;
            const std::ptrdiff_t was = rungOf(edit.before(map, r, c));
            const std::ptrdiff_t now = rungOf(map.at(r, c));
            if (was < 0 || now < 0)
                continue;
            const std::ptrdiff_t target = std::clamp<std::ptrdiff_t>(was + steps, 0, topRung);
            if (further(now, target) && edit.set(map, r, c, rungs[static_cast<std::size_t>(target)]))
                moved.emplace_back(r, c);
        }
    // The spread: a moved block pulls each neighbour on the ladder to within one rung of it.
    while (!moved.empty()) {
        const auto [r, c] = moved.back();
        moved.pop_back();
        const std::ptrdiff_t rung = rungOf(map.at(r, c));
        const std::ptrdiff_t target = rung - (steps > 0 ? CLIFF_RUNGS : -CLIFF_RUNGS);
        for (std::int32_t nr = r - 1; nr <= r + 1; ++nr)
            for (std::int32_t nc = c - 1; nc <= c + 1; ++nc) {
                if (!map.contains(nr, nc))
                    continue;
                const std::ptrdiff_t next = rungOf(map.at(nr, nc));
                if (next >= 0 && further(next, target) && edit.set(map, nr, nc, rungs[static_cast<std::size_t>(target)]))
                    moved.emplace_back(nr, nc);
            }
    }
}

} // namespace qarn
