#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "forge/grid/height_rounding.h"
#include "tests/grid/grid_fixture.h"

using namespace grid_test;

TEST(HeightRounding, TruncatesAndRoundsUpOnlyAboveOneHalf)
{
    const std::pair<float, float> cases[] = {
        {2.5f, 2.0f}, {2.51f, 3.0f}, {-2.7f, -2.0f}, {-0.4f, 0.0f}, {3.5f, 3.0f}, {3.5001f, 4.0f}, {-3.9f, -3.0f},
        {99999.0f, 99999.0f},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(roundHeight(value), expected) << value;
    EXPECT_EQ(higherOf(1.0f, 2.0f), 2.0f);
    EXPECT_EQ(higherOf(2.0f, 1.0f), 2.0f);
}

TEST(ElevationGrid, StartsEmptyWithTheFixedHeader)
{
    const ElevationGrid grid;
    EXPECT_EQ(grid.rows(), 0);
    EXPECT_EQ(grid.cols(), 0);
    EXPECT_EQ(grid.border(), 0);
    EXPECT_EQ(grid.nextAreaId(), 1);
    for (int a = 0; a <= 10; ++a)
        EXPECT_EQ(grid.areaLevel(a), 99999.0f);
    EXPECT_STREQ(grid.header().ncolsLine, "ncols 1201");
    EXPECT_EQ(grid.header().declaredRows, 1201);
}

TEST(GridCell, KeepsTheFirstFourCandidatesAndAveragesThem)
{
    ElevationGrid grid = loadedGrid({{5, 6, 7}}, 0);
    for (float v : {1.0f, 2.0f, 4.0f, 8.0f, 1000.0f})
        grid.cell(0, 0).addCandidate(v);
    for (float v : {1.0f, 2.0f, 4.0f})
        grid.cell(0, 1).addCandidate(v);
    grid.averageCandidates();
    EXPECT_EQ(grid.cell(0, 0).candidateCount, 4);
    EXPECT_EQ(grid.height(0, 0), 15.0f / 4);
    EXPECT_EQ(grid.height(0, 1), static_cast<float>(7.0 / 3));
    EXPECT_EQ(grid.height(0, 2), 0.0f) << "no candidates averages to 0, not to the base height";
}

TEST(ElevationGrid, ValuesReadGiveTheirKinds)
{
    const ElevationGrid grid = loadedGrid({{0.0f, 12.5f, -9020.7f, -9020.0f, -9010.2f, -9021.0f, -9999.0f, -0.5f}}, 0);
    const CellKind expected[] = {CellKind::Height, CellKind::Height, CellKind::Blue1, CellKind::Blue1,
                                 CellKind::Blue,   CellKind::Other,  CellKind::Other, CellKind::Other};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(grid.cell(0, c).kind, expected[c]) << "column " << c;
    EXPECT_EQ(grid.cell(0, 2).baseHeight, -9020.7f);
}

TEST(ElevationGrid, OneCellIsSharedByEveryPosition)
{
    const ElevationGrid grid = builtGrid({{250}});
    ASSERT_EQ(grid.paddedRows(), 41);
    ASSERT_EQ(grid.paddedCols(), 41);
    for (int i = 0; i < 41; ++i)
        for (int j = 0; j < 41; ++j)
            ASSERT_EQ(grid.cellIndexAt(i, j), 0);
    EXPECT_EQ(grid.cell(0, 0).candidateCount, 4);
    EXPECT_EQ(grid.height(0, 0), 250.0f);
}

TEST(ElevationGrid, BorderPositionsShareTheNearestEdgeCell)
{
    const ElevationGrid grid = loadedGrid({{1, 2}, {3, 4}, {5, 6}}, 20);
    ASSERT_EQ(grid.paddedRows(), 43);
    ASSERT_EQ(grid.paddedCols(), 42);
    EXPECT_EQ(grid.shorterSide(), 42);
    EXPECT_EQ(grid.cellIndexAt(0, 0), grid.cellIndexAt(20, 20));
    EXPECT_EQ(grid.cellIndexAt(22, 41), grid.cellIndexAt(22, 21));
    EXPECT_EQ(grid.cellIndexAt(42, 20), grid.cellIndexAt(22, 20));
    EXPECT_EQ(grid.cellByIndex(grid.cellIndexAt(42, 0)).baseHeight, 5.0f);
    EXPECT_EQ(grid.cellByIndex(grid.cellIndexAt(0, 41)).baseHeight, 2.0f);
    std::set<std::int32_t> real;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            real.insert(grid.cellIndexAt(20 + r, 20 + c));
    EXPECT_EQ(real.size(), 6u);
}

TEST(ElevationGrid, ShortOrUnreadableFilesRepeatTheLastValueRead)
{
    struct Case {
        const char* text;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {"5 7", {5, 7, 7, 7}},
        {"", {0, 0, 0, 0}},
        {"5 x 9 9", {5, 5, 5, 5}},
        {"12abc 4 4 4", {12, 12, 12, 12}},
        {"3 -9020", {3, -9020, -9020, -9020}},
        {"1\n2\n\n3 4 99", {1, 2, 3, 4}},
        {"+8 nan 9 1e99", {8, 8, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ElevationGrid grid;
        ASSERT_EQ(grid.allocate(2, 2, 10.0f), GRID_RESULT_OK);
        std::FILE* stream = streamOf(c.text);
        grid.loadHeights(stream);
        std::fclose(stream);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(grid.cell(i / 2, i % 2).baseHeight, c.expected[static_cast<std::size_t>(i)]) << i;
            EXPECT_EQ(grid.cell(i / 2, i % 2).kind, cellKindForValue(c.expected[static_cast<std::size_t>(i)]));
        }
    }
}

TEST(ElevationGrid, LoadingStopsAfterItsValues)
{
    ElevationGrid grid;
    ASSERT_EQ(grid.allocate(1, 2, 10.0f), GRID_RESULT_OK);
    std::FILE* stream = streamOf("4 5\n6");
    grid.loadHeights(stream);
    int next = 0;
    EXPECT_EQ(std::fscanf(stream, "%d", &next), 1);
    EXPECT_EQ(next, 6);
    std::fclose(stream);
}

TEST(ElevationGrid, RefusesAGridWithoutRowsOrColumnsAndKeepsTheLastOne)
{
    ElevationGrid grid = builtGrid({{10, 20}, {30, 40}});
    const float lastHeight = grid.height(1, 1);
    for (const auto& [rows, cols] : {std::pair{0, 3}, {3, 0}, {-1, 4}, {0, 0}}) {
        std::FILE* stream = streamOf("1 2 3");
        EXPECT_EQ(grid.build(stream, rows, cols, 10.0f, 0.0f), GRID_RESULT_BAD_SIZE);
        std::fclose(stream);
        EXPECT_EQ(grid.allocate(rows, cols, 10.0f), GRID_RESULT_BAD_SIZE);
    }
    ASSERT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.height(1, 1), lastHeight);
    EXPECT_EQ(grid.allocate(70000, 70000, 10.0f), GRID_RESULT_BAD_SIZE) << "too many positions to index";
}

TEST(ElevationGrid, EachBuildStartsAfresh)
{
    ElevationGrid grid = builtGrid({{50, B1, 50}, {50, 50, 50}});
    EXPECT_EQ(grid.nextAreaId(), 2);
    std::FILE* stream = streamOf("7 8 9");
    ASSERT_EQ(grid.build(stream, 1, 3, 5.0f, 0.0f), GRID_RESULT_OK);
    std::fclose(stream);
    EXPECT_EQ(grid.nextAreaId(), 1);
    EXPECT_EQ(grid.areaLevel(1), 99999.0f);
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_EQ(grid.contourInterval(), 5.0f);
    EXPECT_EQ(grid.cell(0, 1).areaId, 0);
}

TEST(ElevationGrid, CopiesAreIndependentAndHeightsCanBeSet)
{
    ElevationGrid grid = builtGrid({{10, 20}, {30, 40}});
    ElevationGrid copy = grid;
    copy.setHeight(0, 0, 123.0f);
    EXPECT_EQ(copy.height(0, 0), 123.0f);
    EXPECT_NE(grid.height(0, 0), 123.0f);
    ElevationGrid moved = std::move(copy);
    EXPECT_EQ(moved.height(0, 0), 123.0f);
    EXPECT_EQ(moved.cellByIndex(moved.cellIndexAt(0, 0)).height, 123.0f) << "the border still refers to it";
}

// Every edge cell is met at least four times by the row pass, so its four
// candidates all come from rows; an inner cell gets one from each pass, in
// the order row, column, diagonal, anti-diagonal.
TEST(ElevationGrid, EdgeCellsFillUpInTheRowPassInnerCellsTakeOnePerPass)
{
    // Around (2, 2): a rise of two along its row, a crest of two along its
    // column, a fall of three down-right and a trough of two down-left.
    const Heights values = {{80, 5, 30, 6, 7},
                            {8, 50, 50, 100, 9},
                            {10, 50, 50, 90, 90},
                            {11, 50, 0, 50, 12},
                            {99, 13, 0, 14, 20}};
    const ElevationGrid built = builtGrid(values);

    ElevationGrid rowsOnly = loadedGrid(values, GRID_BORDER);
    rowsOnly.smoothRows();
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) {
            if (r != 0 && r != 4 && c != 0 && c != 4)
                continue;
            EXPECT_EQ(rowsOnly.cell(r, c).candidateCount, 4);
            EXPECT_EQ(candidatesOf(built.cell(r, c)), candidatesOf(rowsOnly.cell(r, c))) << r << "," << c;
        }
    }

    std::vector<float> perPass;
    for (auto pass : {&ElevationGrid::smoothRows, &ElevationGrid::smoothColumns, &ElevationGrid::smoothDiagonals,
                      &ElevationGrid::smoothAntiDiagonals}) {
        ElevationGrid alone = loadedGrid(values, GRID_BORDER);
        (alone.*pass)();
        ASSERT_EQ(alone.cell(2, 2).candidateCount, 1);
        perPass.push_back(alone.cell(2, 2).candidates[0]);
    }
    EXPECT_EQ(perPass, (std::vector<float>{70.0f, 50.0f, 60.0f, 75.0f}));
    EXPECT_EQ(candidatesOf(built.cell(2, 2)), perPass);
}

TEST(ElevationGrid, AntiDiagonalPassWalksDownLeftLines)
{
    // The down-left line from the top-right corner holds 0, 10, 10, 10, 10: a
    // rising end of four. Walked the other way it would be a shoulder.
    ElevationGrid grid = loadedGrid({{50, 50, 50, 50, 0},
                                     {50, 50, 50, 10, 50},
                                     {50, 50, 10, 50, 50},
                                     {50, 10, 50, 50, 50},
                                     {10, 50, 50, 50, 50}},
                                    0);
    grid.smoothAntiDiagonals();
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            ASSERT_EQ(grid.cell(r, c).candidateCount, 1);
    EXPECT_EQ(grid.cell(1, 3).candidates[0], 10.0f);
    EXPECT_EQ(grid.cell(2, 2).candidates[0], 11.0f);
    EXPECT_EQ(grid.cell(3, 1).candidates[0], 12.0f);
    EXPECT_EQ(grid.cell(4, 0).candidates[0], 14.0f);
}
