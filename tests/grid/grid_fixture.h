#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "forge/grid/elevation_grid.h"

namespace grid_test {

using Heights = std::vector<std::vector<float>>;

// Block lines of a height values file for the given rows of values.
inline std::string blockLines(const Heights& values)
{
    std::string text;
    char number[32];
    for (const auto& row : values) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::snprintf(number, sizeof number, c ? " %.9g" : "%.9g", static_cast<double>(row[c]));
            text += number;
        }
        text += '\n';
    }
    return text;
}

// An open stream holding the text, read from its start; the caller closes it.
inline std::FILE* streamOf(const std::string& text)
{
    std::FILE* stream = std::tmpfile();
    if (stream != nullptr) {
        std::fputs(text.c_str(), stream);
        std::rewind(stream);
    }
    return stream;
}

// A grid after allocate and loadHeights, with the given border.
inline ElevationGrid loadedGrid(const Heights& values, int border, float contourInterval = 10.0f)
{
    ElevationGrid grid;
    grid.setBorder(border);
    EXPECT_EQ(grid.allocate(static_cast<int>(values.size()), static_cast<int>(values.front().size()),
                            contourInterval),
              GRID_RESULT_OK);
    std::FILE* stream = streamOf(blockLines(values));
    grid.loadHeights(stream);
    std::fclose(stream);
    return grid;
}

// The whole build sequence on the values.
inline ElevationGrid builtGrid(const Heights& values, float contourInterval = 10.0f, float rimlessLevel = 0.0f)
{
    ElevationGrid grid;
    std::FILE* stream = streamOf(blockLines(values));
    EXPECT_EQ(grid.build(stream, static_cast<int>(values.size()), static_cast<int>(values.front().size()),
                         contourInterval, rimlessLevel),
              GRID_RESULT_OK);
    std::fclose(stream);
    return grid;
}

inline std::vector<float> candidatesOf(const GridCell& cell)
{
    return std::vector<float>(cell.candidates, cell.candidates + cell.candidateCount);
}

inline constexpr float B1 = -9020.0f;

} // namespace grid_test
