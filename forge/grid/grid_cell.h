#pragma once

#include <cstdint>

namespace qarn {

// One block of the map: its kind, flat-area number, base height from the height
// values file, the candidate heights the smoothing passes give it and its final
// height. Plain value; no failure paths (a fifth candidate is dropped silently).

// The codes are those of the height values file's kinds; `Other` marks any other
// negative value (reserved colours and colours outside the set), which the build
// pipeline refuses before a grid is made and which is treated like `Blue` here.
enum class CellKind : std::uint8_t {
    Other = 0,
    Blue = 1,
    Blue1 = 4,
    Height = 10,
};

struct GridCell {
    static constexpr int MAX_CANDIDATES = 4;

    // Narrow fields last: 32 bytes a cell, as the largest grid has 1.4 million.
    std::int32_t areaId = 0;
    float height = 0.0f;
    float baseHeight = 0.0f;
    float candidates[MAX_CANDIDATES] = {0.0f, 0.0f, 0.0f, 0.0f};
    CellKind kind = CellKind::Height;
    std::uint8_t candidateCount = 0;

    void setBase(float newBaseHeight, CellKind newKind)
    {
        baseHeight = newBaseHeight;
        kind = newKind;
    }

    // Cells on the map's edge are met many times through the border; only the
    // first four candidates count.
    void addCandidate(float value)
    {
        if (candidateCount < MAX_CANDIDATES)
            candidates[candidateCount++] = value;
    }
};

// The kind a value read from the height values file gives: `Height` from 0 up;
// a negative value by its truncation toward zero (-9020 `Blue1`, -9010 `Blue`).
inline CellKind cellKindForValue(float value)
{
    if (value >= 0.0f)
        return CellKind::Height;
    if (value > -9021.0f && value <= -9020.0f)
        return CellKind::Blue1;
    if (value > -9011.0f && value <= -9010.0f)
        return CellKind::Blue;
    return CellKind::Other;
}

} // namespace qarn
