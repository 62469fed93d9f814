#pragma once

// Map pictures for the benchmarks: a 24-bit BMP of rows x cols blocks in the
// system colour set, each block's colour given by `colourAt(row, col)`,
// written through the painter's own save. Throws std::runtime_error when the
// picture cannot be written, which ends the benchmark program.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "painter/model/block_map.h"
#include "painter/model/map_picture_file.h"

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

} // namespace qarn_bench
