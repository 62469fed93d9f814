#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Heights of a map's blocks turned into rungs of the system colour set, and
// what that costs in fidelity. Pure arithmetic on plain values; no failures.

namespace qarn {

inline constexpr int IMPORT_RUNGS = 18;
inline constexpr int FLAT_RUNG = -1; // a block of the flat-area colour

struct Ladder {
    std::int32_t minElevation = 0;
    std::int32_t interval = 1;
};

// The ladder the heights lowest..highest fill: the minimum rounded down to a
// whole metre (never below 0, the lowest a build accepts), the interval
// rounded up to a whole metre so the highest height is on the top rung.
Ladder ladderFor(double lowest, double highest);

struct RungMapping {
    std::vector<int> rungs; // rows x cols, row-major; FLAT_RUNG for the sea
    std::array<std::size_t, IMPORT_RUNGS> counts{};
    std::size_t flat = 0;
    std::size_t clamped = 0; // blocks beyond rung 0..17 before clamping
    double rms = 0;          // metres, rung heights against `heights`, sea left out
};

// Block height h becomes rung round((h - min) / interval), clamped to 0..17.
// With a sea level, the blocks at or below it that are joined (side by side)
// to the map's edge through such blocks become flat area.
RungMapping mapToRungs(const std::vector<float>& heights, std::int32_t rows, std::int32_t cols, Ladder ladder,
                       std::optional<double> seaLevel);

} // namespace qarn
