#include "painter/model/brush.h"

#include <algorithm>

namespace qarn {

namespace {

// The brush square's first row or column: an even size reaches further down and right.
std::int32_t squareStart(std::int32_t centre, int size)
{
    return centre - (std::max(size, 1) - 1) / 2;
}

} // namespace

std::vector<BrushSpan> brushSpans(Brush brush, std::int32_t row, std::int32_t col)
{
    const int size = std::clamp(brush.size, 1, MAX_BRUSH_SIZE);
    const std::int32_t top = squareStart(row, size);
    const std::int32_t left = squareStart(col, size);
    // Distances in half blocks from the square's centre, so they stay whole:
    // block k of a side has its centre 2k + 1 - size from it.
    const auto half = [size](int k) { return 2 * k + 1 - size; };
    std::vector<BrushSpan> spans;
    spans.reserve(static_cast<std::size_t>(size));
    for (int k = 0; k < size; ++k) {
        int skip = 0; // blocks left out at each end of the row
        if (brush.shape == BrushShape::Round)
            while (half(skip) * half(skip) + half(k) * half(k) > size * size)
                ++skip;
        spans.push_back({top + k, left + skip, left + size - 1 - skip});
    }
    return spans;
}

int steppedBrushSize(int size, bool larger)
{
    static constexpr int steps[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 25, 30, 35, 40, 45, MAX_BRUSH_SIZE};
    if (larger) {
        const auto next = std::upper_bound(std::begin(steps), std::end(steps), size);
        return next == std::end(steps) ? MAX_BRUSH_SIZE : *next;
    }
    const auto next = std::lower_bound(std::begin(steps), std::end(steps), size);
    return next == std::begin(steps) ? 1 : *(next - 1);
}

} // namespace qarn
