#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/grid_fixture.h"

using namespace grid_test;

namespace {

// One line over distinct cells with contour interval 10: the candidate each
// position received (each must receive exactly one).
std::vector<float> smoothedLine(const std::vector<float>& heights)
{
    ElevationGrid grid = loadedGrid({heights}, 0, 10.0f);
    std::vector<std::int32_t> line(heights.size());
    std::iota(line.begin(), line.end(), 0);
    grid.smoothLine(line.data(), static_cast<int>(line.size()));
    std::vector<float> out;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const GridCell& cell = grid.cell(0, static_cast<int>(i));
        EXPECT_EQ(cell.candidateCount, 1) << "position " << i;
        out.push_back(cell.candidates[0]);
    }
    return out;
}

struct LineCase {
    const char* name;
    std::vector<float> heights;
    std::vector<float> expected;
};

// Expected values are exact 32-bit floats, worked out by reference_grid.py.
const LineCase lineCases[] = {
    // The worked examples.
    {"rise then rising end", {5, 5, 5, 10}, {5.0f, 6.6666665f, 8.333333f, 10.0f}},
    {"shoulder of four", {10, 10, 10, 10, 5}, {14.0f, 13.0f, 12.0f, 10.0f, 5.0f}},
    {"crest of three", {0, 10, 10, 10, 0}, {0.0f, 10.0f, 12.0f, 10.0f, 0.0f}},
    {"crest of seven", {0, 10, 10, 10, 10, 10, 10, 10, 0},
     {0.0f, 10.0f, 11.333333f, 12.666667f, 14.0f, 12.666667f, 11.333333f, 10.0f, 0.0f}},
    {"crest of eight", {0, 10, 10, 10, 10, 10, 10, 10, 10, 0},
     {0.0f, 10.0f, 11.333333f, 12.666667f, 14.0f, 14.0f, 12.666667f, 11.333333f, 10.0f, 0.0f}},
    {"fall of two", {20, 10, 10, 0}, {20.0f, 15.0f, 10.0f, 0.0f}},
    {"fall of three", {20, 10, 10, 10, 0}, {20.0f, 16.666666f, 13.333334f, 10.0f, 0.0f}},
    {"trough of two", {20, 0, 0, 20}, {20.0f, 10.0f, 10.0f, 20.0f}},
    {"rising end of four", {0, 10, 10, 10, 10}, {0.0f, 10.0f, 11.0f, 12.0f, 14.0f}},
    {"one position", {3}, {3.0f}},
    {"level line", {7, 7, 7}, {7.0f, 7.0f, 7.0f}},
    // Crests of one to eight cells.
    {"crest 1", {0, 10, 0}, {0.0f, 10.0f, 0.0f}},
    {"crest 2", {0, 10, 10, 0}, {0.0f, 10.0f, 10.0f, 0.0f}},
    {"crest 4", {0, 10, 10, 10, 10, 0}, {0.0f, 10.0f, 12.0f, 12.0f, 10.0f, 0.0f}},
    {"crest 5", {0, 10, 10, 10, 10, 10, 0}, {0.0f, 10.0f, 12.0f, 14.0f, 12.0f, 10.0f, 0.0f}},
    {"crest 6", {0, 10, 10, 10, 10, 10, 10, 0}, {0.0f, 10.0f, 12.0f, 14.0f, 14.0f, 12.0f, 10.0f, 0.0f}},
    // Shoulders of one to eight cells (line start, then a drop).
    {"shoulder 1", {10, 5}, {10.0f, 5.0f}},
    {"shoulder 2", {10, 10, 5}, {12.0f, 10.0f, 5.0f}},
    {"shoulder 3", {10, 10, 10, 5}, {12.0f, 11.0f, 10.0f, 5.0f}},
    {"shoulder 5", {10, 10, 10, 10, 10, 5}, {14.0f, 13.1999998f, 12.3999996f, 11.6000004f, 10.0f, 5.0f}},
    {"shoulder 6", {10, 10, 10, 10, 10, 10, 5}, {14.0f, 13.333333f, 12.666667f, 12.0f, 11.333333f, 10.0f, 5.0f}},
    {"shoulder 7", {10, 10, 10, 10, 10, 10, 10, 5},
     {14.0f, 13.4285717f, 12.8571424f, 12.2857141f, 11.7142859f, 11.1428576f, 10.0f, 5.0f}},
    {"shoulder 8", {10, 10, 10, 10, 10, 10, 10, 10, 5},
     {14.0f, 13.5f, 13.0f, 12.5f, 12.0f, 11.5f, 11.0f, 10.0f, 5.0f}},
    // End rules.
    {"rising end 1", {0, 10}, {0.0f, 10.0f}},
    {"rising end 2", {0, 10, 10}, {0.0f, 10.0f, 12.0f}},
    {"rising end 3", {0, 10, 10, 10}, {0.0f, 10.0f, 11.0f, 12.0f}},
    {"rising end 5", {0, 10, 10, 10, 10, 10}, {0.0f, 10.0f, 10.8000002f, 11.6000004f, 12.3999996f, 14.0f}},
    {"falling end 1", {20, 10}, {20.0f, 10.0f}},
    {"falling end 3", {20, 10, 10, 10}, {20.0f, 16.666666f, 13.333334f, 10.0f}},
    {"falling end 5", {20, 10, 10, 10, 10, 10}, {20.0f, 18.0f, 16.0f, 14.0f, 12.0f, 10.0f}},
    // A rise inside a line keeps its slope as a float; the trough's climbing line does not.
    {"rise of three", {0, 5, 5, 5, 40}, {0.0f, 5.0f, 16.666666f, 28.3333321f, 40.0f}},
    {"trough climbing", {20, 5, 5, 5, 40, 40}, {20.0f, 15.0f, 16.666666f, 28.333334f, 40.0f, 42.0f}},
    // higherOf picks the falling line first, then the climbing one.
    {"trough both lines", {30, 0, 0, 0, 60}, {30.0f, 20.0f, 20.0f, 40.0f, 60.0f}},
    {"trough uneven", {100, 10, 10, 10, 20}, {100.0f, 70.0f, 40.0f, 16.666666f, 20.0f}},
};

} // namespace

TEST(SmoothLine, EachShapeGivesTheExactFloatValues)
{
    for (const LineCase& c : lineCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(smoothedLine(c.heights), c.expected);
    }
}

// A line may meet one cell at several positions (the border); the cell then
// shows the order in which the positions received their candidates.
TEST(SmoothLine, ShoulderGivesItsFirstCellItsCandidateLast)
{
    ElevationGrid grid = loadedGrid({{10, 5}}, 0);
    const std::int32_t x = grid.cellIndexAt(0, 0);
    const std::int32_t z = grid.cellIndexAt(0, 1);
    const std::int32_t line[] = {x, x, x, x, z};
    grid.smoothLine(line, 5);
    EXPECT_EQ(candidatesOf(grid.cell(0, 0)), (std::vector<float>{13.0f, 12.0f, 10.0f, 14.0f}));
    EXPECT_EQ(candidatesOf(grid.cell(0, 1)), (std::vector<float>{5.0f}));
}

TEST(SmoothLine, ACellMetMoreThanFourTimesKeepsTheFirstFour)
{
    ElevationGrid grid = loadedGrid({{0, 10}}, 0);
    const std::int32_t low = grid.cellIndexAt(0, 0);
    const std::int32_t x = grid.cellIndexAt(0, 1);
    const std::int32_t line[] = {low, x, x, x, x, x, low};
    grid.smoothLine(line, 7);
    EXPECT_EQ(candidatesOf(grid.cell(0, 1)), (std::vector<float>{10.0f, 12.0f, 14.0f, 12.0f}));
    EXPECT_EQ(candidatesOf(grid.cell(0, 0)), (std::vector<float>{0.0f, 0.0f}));
}

TEST(SmoothLine, RaisesScaleWithTheContourInterval)
{
    ElevationGrid grid = loadedGrid({{0, 100, 100, 100, 0}}, 0, 25.0f);
    const std::int32_t line[] = {0, 1, 2, 3, 4};
    grid.smoothLine(line, 5);
    EXPECT_EQ(grid.cell(0, 2).candidates[0], 105.0f);
}
