#pragma once

// Maps and map pictures for the benchmarks: the largest map painted as a
// user would, and a 24-bit BMP of rows x cols blocks in the
// system colour set, each block's colour given by `colourAt(row, col)`,
// written through the painter's own save. Throws std::runtime_error when the
// picture cannot be written, which ends the benchmark program.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/map_picture_file.h"

using namespace qarn;

namespace qarn_bench {

template <typename ColourAt>
void writeBlockPicture(const std::string& path, std::int32_t rows, std::int32_t cols, ColourAt colourAt)
{
    BlockMap map = blankMap(ColourSet::System, {}, rows, cols);
    for (std::int32_t r = 0; r < rows; ++r)
        for (std::int32_t c = 0; c < cols; ++c)
            map.at(r, c) = colourAt(r, c);
    std::string error;
    if (saveMapPicture(map, path, error) != OutputResult::Ok)
        throw std::runtime_error(error);
}

// The largest map painted with the model's own tools: hills of nested
// rectangles a rung higher each, topped by a square peak, and a lake. A map
// larger than 540 x 540 blocks gets the same picture stretched to its size.
inline BlockMap paintedMap(std::int32_t rows, std::int32_t cols = 540)
{
    BlockMap map = blankMap(ColourSet::System, {}, rows, cols);
    const std::vector<Rgb> rungs = rungColours(map);
    BlockEdit edit;
    const std::int32_t scale100 = std::max<std::int32_t>(100, std::min(rows, cols) * 100 / 540);
    const auto at = [scale100](std::int32_t v) { return v * scale100 / 100; };
    struct Hill {
        std::int32_t row, col, reach;
        int top; // rung of the peak
    };
    for (const Hill& hill : {Hill{140, 150, 120, 12}, Hill{380, 160, 100, 9}, Hill{250, 400, 130, 17},
                             Hill{450, 430, 60, 6}}) {
        for (int rung = 1; rung < hill.top; ++rung) {
            const std::int32_t reach = at(hill.reach) * (hill.top - rung) / (hill.top - 1);
            paintRectangle(map, edit, at(hill.row) - reach, at(hill.col) - reach, at(hill.row) + reach,
                           at(hill.col) + reach, rungs[static_cast<std::size_t>(rung)]);
        }
        paintDab(map, edit, at(hill.row), at(hill.col), 5, rungs[static_cast<std::size_t>(hill.top)]);
    }
    paintRectangle(map, edit, at(20), at(300), at(70), at(420), FLAT_AREA_COLOUR);
    return map;
}

} // namespace qarn_bench
