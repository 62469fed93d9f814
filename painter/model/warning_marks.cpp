#include "painter/model/warning_marks.h"

#include <cstddef>
#include <utility>

namespace qarn {

namespace {

// A neighbour of a block and the flag by which it keeps their shared edge or corner.
struct Keeper {
    std::int32_t dRow, dCol;
    std::uint8_t flag;
};
constexpr Keeper KEEPERS[] = {
    {0, -1, MarkRight}, {-1, 0, MarkBelow}, {-1, -1, MarkBelowRight}, {-1, 1, MarkBelowLeft}};

std::size_t indexOf(std::int32_t cols, std::int32_t row, std::int32_t col)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(col);
}

} // namespace

std::vector<std::uint8_t> warningMarks(const PictureCheck& check, std::int32_t rows, std::int32_t cols)
{
    std::vector<std::uint8_t> marks(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0);
    const auto inside = [&](std::int32_t row, std::int32_t col) {
        return row >= 0 && row < rows && col >= 0 && col < cols;
    };
    for (const Finding& finding : check.findings) {
        if (finding.severity != Severity::Warning)
            continue; // errors are the colours that stop a build, outlined on their own
        // Findings count blocks from 1; those about the whole picture have none.
        std::int32_t row = finding.at.row - 1, col = finding.at.col - 1;
        if (!inside(row, col))
            continue;
        if (finding.kind != FindingKind::Cliff) {
            marks[indexOf(cols, row, col)] |= MarkBox;
            continue;
        }
        std::int32_t dRow = finding.next.row - finding.at.row, dCol = finding.next.col - finding.at.col;
        if (dRow < 0 || (dRow == 0 && dCol < 0)) {
            // The upper (or left) block of the pair keeps the mark.
            row += dRow, col += dCol;
            dRow = -dRow, dCol = -dCol;
        }
        const std::uint8_t flag = dRow == 0 && dCol == 1 ? MarkRight
                                  : dRow == 1 && dCol == 0 ? MarkBelow
                                  : dRow == 1 && dCol == 1 ? MarkBelowRight
                                  : dRow == 1 && dCol == -1 ? MarkBelowLeft
                                                            : 0;
        if (flag != 0 && inside(row, col) && inside(row + dRow, col + dCol)) {
            marks[indexOf(cols, row, col)] |= flag;
        } else {
            // Not neighbours, or one off the map: each block of the pair boxed.
            for (const auto& [r, c] : {std::pair{row, col}, std::pair{row + dRow, col + dCol}})
                if (inside(r, c))
                    marks[indexOf(cols, r, c)] |= MarkBox;
        }
    }
    return marks;
}

void clearWarningMarks(std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                       std::int32_t col)
{
    if (marks.empty() || row < 0 || row >= rows || col < 0 || col >= cols)
        return;
    marks[indexOf(cols, row, col)] = 0;
    for (const Keeper& k : KEEPERS) {
        const std::int32_t r = row + k.dRow, c = col + k.dCol;
        if (r >= 0 && r < rows && c >= 0 && c < cols)
            marks[indexOf(cols, r, c)] &= static_cast<std::uint8_t>(~k.flag);
    }
}

bool cornerDrawn(const std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                 std::int32_t col, WarningMark corner)
{
    // The four blocks round the corner: upper left, upper right, lower left, lower right.
    const std::int32_t left = corner == MarkBelowRight ? col : col - 1;
    const auto at = [&](std::int32_t r, std::int32_t c) -> std::uint8_t {
        return r >= 0 && r < rows && c >= 0 && c < cols ? marks[indexOf(cols, r, c)] : 0;
    };
    const bool top = at(row, left) & MarkRight, bottom = at(row + 1, left) & MarkRight;
    const bool leftSide = at(row, left) & MarkBelow, rightSide = at(row, left + 1) & MarkBelow;
    // Round the corner one way through the upper block beside the pair, the other way through the lower one.
    if (corner == MarkBelowRight) // upper left to lower right
        return !((top || rightSide) && (leftSide || bottom));
    return !((top || leftSide) && (rightSide || bottom)); // upper right to lower left
}

bool warningMarked(const std::vector<std::uint8_t>& marks, std::int32_t rows, std::int32_t cols, std::int32_t row,
                   std::int32_t col)
{
    if (marks.empty() || row < 0 || row >= rows || col < 0 || col >= cols)
        return false;
    if (marks[indexOf(cols, row, col)] != 0)
        return true;
    for (const Keeper& k : KEEPERS) {
        const std::int32_t r = row + k.dRow, c = col + k.dCol;
        if (r >= 0 && r < rows && c >= 0 && c < cols && (marks[indexOf(cols, r, c)] & k.flag))
            return true;
    }
    return false;
}

} // namespace qarn
