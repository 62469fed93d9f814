#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forge/extract/picture_check.h"

namespace qarn {

// The check's findings as places on the map to walk through: each with its
// block and its reason in qarn check's words. A cliff is one problem (its
// steepest pair, worded as qarn check words the cliff); findings about the
// whole picture have no block and are left out. Plain values; nothing fails.

struct Problem {
    std::int32_t row = 0, col = 0; // the block, counted from 0 at the map's top left
    Severity severity = Severity::Error;
    std::string text;
};

struct ProblemList {
    std::vector<Problem> problems;     // in reading order of their blocks, errors before warnings at one block
    std::vector<std::int32_t> atBlock; // rows x cols: 1 + the index of the problem a block belongs to, or 0

    // The problem after (forward) or before block (row, col) in reading order,
    // wrapping round the map; warnings skipped unless `warnings`. The problem
    // at the block itself is next only when nothing else is. -1 when none.
    std::ptrdiff_t step(std::int32_t row, std::int32_t col, bool forward, bool warnings) const;
};

ProblemList problemList(const PictureCheck& check, std::int32_t rows, std::int32_t cols);

// The check's errors and warnings as qarn check's summary counts them: a cliff
// is one warning however many pairs of blocks it has.
struct ProblemCount {
    std::size_t errors = 0, warnings = 0;
};
ProblemCount problemCount(const PictureCheck& check);

} // namespace qarn
