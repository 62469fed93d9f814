#include "terrain_import/rung_mapping.h"

#include <algorithm>
#include <cmath>

namespace qarn {

Ladder ladderFor(double lowest, double highest)
{
    Ladder ladder;
    ladder.minElevation = static_cast<std::int32_t>(std::max(0.0, std::floor(lowest)));
    const double span = std::max(0.0, highest - ladder.minElevation);
    ladder.interval = std::max<std::int32_t>(1, static_cast<std::int32_t>(std::ceil(span / (IMPORT_RUNGS - 1))));
    return ladder;
}

namespace {

// The sea: blocks at or below `level` reached from the edge without
// crossing a higher block.
std::vector<bool> seaFrom(const std::vector<float>& heights, std::int32_t rows, std::int32_t cols, double level)
{
    std::vector<bool> sea(heights.size(), false);
    std::vector<std::size_t> pending;
    const auto reach = [&](std::int32_t r, std::int32_t c) {
        const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
        if (!sea[i] && heights[i] <= level) {
            sea[i] = true;
            pending.push_back(i);
        }
    };
    for (std::int32_t c = 0; c < cols; ++c) {
        reach(0, c);
        reach(rows - 1, c);
    }
    for (std::int32_t r = 0; r < rows; ++r) {
        reach(r, 0);
        reach(r, cols - 1);
    }
    while (!pending.empty()) {
        const std::size_t i = pending.back();
        pending.pop_back();
        const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(cols));
        const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(cols));
        if (r > 0)
            reach(r - 1, c);
        if (r + 1 < rows)
            reach(r + 1, c);
        if (c > 0)
            reach(r, c - 1);
        if (c + 1 < cols)
            reach(r, c + 1);
    }
    return sea;
}

} // namespace

RungMapping mapToRungs(const std::vector<float>& heights, std::int32_t rows, std::int32_t cols, Ladder ladder,
                       std::optional<double> seaLevel)
{
    RungMapping mapping;
    mapping.rungs.assign(heights.size(), 0);
    const std::vector<bool> sea =
        seaLevel ? seaFrom(heights, rows, cols, *seaLevel) : std::vector<bool>(heights.size(), false);
    double squares = 0;
    std::size_t counted = 0;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        if (sea[i]) {
            mapping.rungs[i] = FLAT_RUNG;
            ++mapping.flat;
            continue;
        }
        const double exact = (heights[i] - ladder.minElevation) / static_cast<double>(ladder.interval);
        const long rounded = std::lround(exact);
        const int rung = static_cast<int>(std::clamp<long>(rounded, 0, IMPORT_RUNGS - 1));
        if (rung != rounded)
            ++mapping.clamped;
        mapping.rungs[i] = rung;
        ++mapping.counts[static_cast<std::size_t>(rung)];
        const double difference = ladder.minElevation + static_cast<double>(rung) * ladder.interval - heights[i];
        squares += difference * difference;
        ++counted;
    }
    mapping.rms = counted == 0 ? 0.0 : std::sqrt(squares / static_cast<double>(counted));
    return mapping;
}

} // namespace qarn
