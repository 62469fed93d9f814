#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/block_convention.h"
#include "common/map_data_file.h"
#include "forge/extract/colour_height_set.h"
#include "sizer/size_entry_checks.h"

namespace qarn {

// A map as the painter holds it: one colour per 10 x 10 pixel block, the
// colour set it is painted in and, for a user set, the band's colours. The
// colours and their heights come from the builder's own colour sets, so a map
// means here what it means to a build. Plain value; functions that make a map
// return the calculator's or the reader's verdict and leave `map` as it was
// unless it is Ok.

// The colour that marks a flat area (a lake) in every set.
inline constexpr Rgb FLAT_AREA_COLOUR = {0, 128, 192};

struct BlockMap {
    ColourSet colourSet = ColourSet::System;
    std::vector<Rgb> band;   // user set: the band's colours left to right (no ending white)
    std::int32_t rows = 0;   // map blocks down, below a user set's band
    std::int32_t cols = 0;   // map blocks across
    std::vector<Rgb> blocks; // rows x cols, row-major, row 0 the map's top
    // The calculator's record when the map was made from sizes: saved beside
    // the picture as the map data file.
    std::optional<MapData> mapData;

    bool contains(std::int32_t row, std::int32_t col) const { return row >= 0 && col >= 0 && row < rows && col < cols; }
    std::size_t index(std::int32_t row, std::int32_t col) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(col);
    }
    const Rgb& at(std::int32_t row, std::int32_t col) const { return blocks[index(row, col)]; }
    Rgb& at(std::int32_t row, std::int32_t col) { return blocks[index(row, col)]; }
};

// The set's height colours, lowest rung first: the system set's 18, or the
// band's colours that are not reserved.
std::vector<Rgb> rungColours(const BlockMap& map);

// Why a user band cannot be painted with, in words, or empty when it can: it
// needs a colour, no reserved colour, no colour twice, and room in `cols`
// blocks (the ending white block included unless the band fills the row).
std::string bandProblem(const std::vector<Rgb>& band, std::int32_t cols);

// A blank map of rows x cols blocks painted in the lowest rung.
BlockMap blankMap(ColourSet colourSet, std::vector<Rgb> band, std::int32_t rows, std::int32_t cols);

// A blank map for the sizes the calculator's "Get Results" accepts (width and
// height in tens of metres as typed): its picture size in blocks, and the map
// data file the calculator would write. Returns the calculator's verdict (its
// box through sizeCheckMessage); `map` is replaced only on SizeCheck::Passed.
SizeCheck newMapFromSizes(const std::string& widthText, const std::string& heightText, ColourSet colourSet,
                          std::vector<Rgb> band, BlockMap& map);

} // namespace qarn
