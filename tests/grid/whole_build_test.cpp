#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/grid_fixture.h"

using namespace grid_test;

namespace {

struct ExpectedCell {
    int count;
    std::vector<float> candidates;
};

// Output of reference_grid.py (run it to regenerate): a 4 x 5 map, contour
// interval 10, border 20, one flat area inside and one in the bottom-right
// corner, rimless level 50.
const ExpectedCell expectedCells[] = {
    {4, {100.0f, 100.952377f, 101.904762f, 102.85714f}},
    {4, {120.0f, 120.0f, 120.0f, 120.0f}},
    {4, {140.0f, 140.0f, 140.0f, 140.0f}},
    {4, {120.0f, 120.0f, 120.0f, 120.0f}},
    {4, {119.047623f, 118.095238f, 117.14286f, 116.190475f}},
    {4, {123.809525f, 123.619049f, 123.428574f, 123.238098f}},
    {4, {110.0f, 100.0f, 128.636368f, 100.0f}},
    {4, {130.0f, 100.0f, 100.0f, 100.0f}},
    {4, {160.0f, 160.0f, 160.0f, 160.0f}},
    {4, {159.047623f, 158.095245f, 157.142853f, 156.190475f}},
    {4, {143.809525f, 143.619049f, 143.428574f, 143.238098f}},
    {4, {120.0f, 120.0f, 122.0f, 120.0f}},
    {4, {130.0f, 130.0f, 130.0f, 130.0f}},
    {4, {180.0f, 180.0f, 180.0f, 180.0f}},
    {4, {176.666672f, 173.333328f, 170.0f, 166.666672f}},
    {4, {163.809525f, 163.619049f, 163.428574f, 163.238098f}},
    {4, {140.0f, 140.0f, 140.0f, 140.0f}},
    {4, {120.0f, 120.0f, 120.0f, 120.0f}},
    {4, {119.545456f, 119.545456f, 119.545456f, 119.545456f}},
    {4, {119.090912f, 118.63636f, 118.181816f, 117.727272f}},
};

const float expectedHeights[4][5] = {
    {101.428574f, 120.0f, 140.0f, 120.0f, 117.619049f},
    {123.523811f, 107.0f, 107.0f, 160.0f, 157.619049f},
    {143.523804f, 120.5f, 130.0f, 180.0f, 118.0f},
    {163.523804f, 140.0f, 120.0f, 119.545456f, 118.0f},
};

} // namespace

TEST(WholeBuild, MatchesTheIndependentReference)
{
    const Heights values = {
        {100, 120, 140, 120, 100},
        {120, B1, B1, 160, 140},
        {140, 120, 130, 180, B1},
        {160, 140, 120, 110, B1},
    };
    const ElevationGrid grid = builtGrid(values, 10.0f, 50.0f);
    ASSERT_EQ(grid.rows(), 4);
    ASSERT_EQ(grid.cols(), 5);
    EXPECT_EQ(grid.border(), 20);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
            const ExpectedCell& want = expectedCells[r * 5 + c];
            EXPECT_EQ(grid.cell(r, c).candidateCount, want.count);
            EXPECT_EQ(candidatesOf(grid.cell(r, c)), want.candidates);
            EXPECT_EQ(grid.height(r, c), expectedHeights[r][c]);
        }
    }
    EXPECT_EQ(grid.cell(1, 1).areaId, 1);
    EXPECT_EQ(grid.cell(1, 2).areaId, 1);
    EXPECT_EQ(grid.cell(2, 4).areaId, 2);
    EXPECT_EQ(grid.cell(3, 4).areaId, 2);
    EXPECT_EQ(grid.areaLevel(1), 107.0f);
    EXPECT_EQ(grid.areaLevel(2), 118.0f);
}
