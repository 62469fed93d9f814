#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/grid_fixture.h"

using namespace grid_test;

namespace {

using Cells = std::vector<std::pair<int, int>>;

Heights filled(int rows, int cols, float value, const Cells& blue1)
{
    Heights values(static_cast<std::size_t>(rows), std::vector<float>(static_cast<std::size_t>(cols), value));
    for (const auto& [r, c] : blue1)
        values[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = B1;
    return values;
}

ElevationGrid prepared(const Heights& values, float rimlessLevel = 0.0f)
{
    ElevationGrid grid = loadedGrid(values, GRID_BORDER);
    EXPECT_EQ(grid.prepareFlatAreas(rimlessLevel), GRID_RESULT_OK);
    return grid;
}

bool isWhole(float v)
{
    return std::trunc(v) == v;
}

} // namespace

TEST(FlatAreas, StartsAtTheLowestRimCell)
{
    // Neighbours left, upper left, up, upper right, right, lower right, down, lower left.
    const ElevationGrid grid = prepared({{40, 45, 60}, {50, B1, 30}, {80, 70, 35}});
    EXPECT_EQ(grid.cell(1, 1).areaId, 1);
    EXPECT_EQ(grid.cell(1, 1).baseHeight, 30.0f);
    EXPECT_EQ(grid.areaLevel(1), 30.0f);
    EXPECT_EQ(grid.nextAreaId(), 2);
    EXPECT_EQ(grid.cell(0, 0).areaId, 0);
}

TEST(FlatAreas, CellsTouchingAtACornerAreOneArea)
{
    const ElevationGrid grid = prepared(filled(4, 4, 20, {{1, 1}, {2, 2}}));
    EXPECT_EQ(grid.cell(1, 1).areaId, 1);
    EXPECT_EQ(grid.cell(2, 2).areaId, 1);
    EXPECT_EQ(grid.nextAreaId(), 2);
}

TEST(FlatAreas, AreNumberedByTheirTopmostThenLeftmostCell)
{
    Heights values = filled(6, 6, 90, {{1, 4}, {2, 1}, {3, 1}, {4, 1}, {3, 3}, {4, 4}});
    values[0][4] = 11; // rim of the first area only
    values[1][0] = 22; // rim of the second area only
    values[3][2] = 15; // rim of the second and third areas
    const ElevationGrid grid = prepared(values);
    EXPECT_EQ(grid.cell(1, 4).areaId, 1);
    EXPECT_EQ(grid.cell(2, 1).areaId, 2);
    EXPECT_EQ(grid.cell(4, 1).areaId, 2);
    EXPECT_EQ(grid.cell(3, 3).areaId, 3);
    EXPECT_EQ(grid.cell(4, 4).areaId, 3);
    EXPECT_EQ(grid.nextAreaId(), 4);
    EXPECT_EQ(grid.areaLevel(1), 11.0f);
    EXPECT_EQ(grid.areaLevel(2), 15.0f);
    EXPECT_EQ(grid.areaLevel(3), 15.0f);
    EXPECT_EQ(grid.cell(4, 1).baseHeight, 15.0f);
}

TEST(FlatAreas, EndAtTheirLowestHeightRoundedToWholeMetres)
{
    struct Case {
        float a, b, c, level;
    };
    const Case cases[] = {
        {31.7f, 30.2f, 35.0f, 30.0f},
        {31.7f, 30.6f, 35.0f, 31.0f},
        {31.7f, 30.5f, 35.0f, 30.0f},
    };
    for (const Case& k : cases) {
        ElevationGrid grid = prepared(filled(3, 5, 40, {{1, 1}, {1, 2}, {1, 3}}));
        grid.setHeight(0, 0, 12.3f);
        grid.setHeight(1, 1, k.a);
        grid.setHeight(1, 2, k.b);
        grid.setHeight(1, 3, k.c);
        grid.flattenFlatAreas();
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(grid.height(1, c), k.level) << k.b;
        EXPECT_EQ(grid.height(0, 0), 12.3f) << "cells outside areas keep their heights";
        EXPECT_EQ(grid.areaLevel(1), k.level);
    }
}

TEST(FlatAreas, AMapWithoutThemKeepsItsAveragedHeights)
{
    ElevationGrid grid = loadedGrid({{10, 20, 30}, {40, 50, 60}}, GRID_BORDER);
    ASSERT_EQ(grid.prepareFlatAreas(0.0f), GRID_RESULT_OK);
    grid.smoothRows();
    grid.smoothColumns();
    grid.smoothDiagonals();
    grid.smoothAntiDiagonals();
    grid.averageCandidates();
    const ElevationGrid averaged = grid;
    grid.flattenFlatAreas();
    EXPECT_EQ(grid.nextAreaId(), 1);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(grid.height(r, c), averaged.height(r, c));
}

// An area along the map's edge is one area, levelled from its rim inside the
// map; the far low cell is no rim of it.
TEST(FlatAreas, AnAreaTouchingAnEdgeIsOneArea)
{
    struct Case {
        const char* edge;
        Cells blue1;
        std::pair<int, int> lowRim;
        std::pair<int, int> farLow;
    };
    const Case cases[] = {
        {"top", {{0, 1}, {0, 2}, {0, 3}}, {1, 3}, {4, 4}},
        {"bottom", {{4, 1}, {4, 2}, {4, 3}}, {3, 1}, {0, 0}},
        {"left", {{1, 0}, {2, 0}, {3, 0}}, {2, 1}, {4, 4}},
        {"right", {{1, 4}, {2, 4}, {3, 4}}, {1, 3}, {4, 0}},
        {"corner", {{0, 0}, {0, 1}, {1, 0}}, {1, 1}, {4, 4}},
        {"whole row", {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}, {1, 2}, {4, 4}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.edge);
        Heights values = filled(5, 5, 200, k.blue1);
        values[static_cast<std::size_t>(k.lowRim.first)][static_cast<std::size_t>(k.lowRim.second)] = 120;
        values[static_cast<std::size_t>(k.farLow.first)][static_cast<std::size_t>(k.farLow.second)] = 50;

        const ElevationGrid start = prepared(values);
        EXPECT_EQ(start.nextAreaId(), 2);
        EXPECT_EQ(start.areaLevel(1), 120.0f);
        for (const auto& [r, c] : k.blue1) {
            EXPECT_EQ(start.cell(r, c).areaId, 1);
            EXPECT_EQ(start.cell(r, c).baseHeight, 120.0f);
        }

        const ElevationGrid built = builtGrid(values);
        const float level = built.height(k.blue1.front().first, k.blue1.front().second);
        EXPECT_TRUE(isWhole(level));
        EXPECT_GE(level, 120.0f);
        EXPECT_LT(level, 200.0f);
        for (const auto& [r, c] : k.blue1)
            EXPECT_EQ(built.height(r, c), level);
    }
}

TEST(FlatAreas, TwelveSeparateAreasEachKeepTheirOwnLevel)
{
    Cells blue1;
    for (int k = 1; k <= 12; ++k)
        blue1.push_back({2, 2 * k - 1});
    Heights values = filled(5, 25, 300, blue1);
    for (int k = 1; k <= 12; ++k)
        values[1][static_cast<std::size_t>(2 * k - 1)] = static_cast<float>(100 + 10 * k);

    const ElevationGrid start = prepared(values);
    EXPECT_EQ(start.nextAreaId(), 13);
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(start.cell(2, 2 * k - 1).areaId, k);
        EXPECT_EQ(start.areaLevel(k), static_cast<float>(100 + 10 * k)) << k;
    }
    EXPECT_EQ(start.areaLevel(13), 99999.0f);

    const ElevationGrid built = builtGrid(values);
    float previous = 0.0f;
    for (int k = 1; k <= 12; ++k) {
        const float level = built.height(2, 2 * k - 1);
        EXPECT_TRUE(isWhole(level)) << k;
        EXPECT_EQ(built.areaLevel(k), level);
        EXPECT_GT(level, previous) << "area " << k << " rises with its rim";
        previous = level;
    }
}

TEST(FlatAreas, AnAllFlatMapStandsAtTheRimlessLevel)
{
    for (const auto& [rows, cols] : {std::pair{4, 6}, {1, 1}}) {
        const Heights all(static_cast<std::size_t>(rows), std::vector<float>(static_cast<std::size_t>(cols), B1));
        const ElevationGrid built = builtGrid(all, 10.0f, 100.0f);
        EXPECT_EQ(built.nextAreaId(), 2);
        EXPECT_EQ(built.areaLevel(1), 100.0f);
        for (int r = 0; r < built.rows(); ++r)
            for (int c = 0; c < built.cols(); ++c) {
                EXPECT_EQ(built.cell(r, c).baseHeight, 100.0f);
                EXPECT_EQ(built.height(r, c), 100.0f);
            }
    }
}

TEST(FlatAreas, BlueCellsAreNeitherAreaNorRim)
{
    const ElevationGrid grid = prepared({{70, -9010, 90}, {80, B1, 95}, {85, 75, 99}});
    EXPECT_EQ(grid.cell(0, 1).areaId, 0);
    EXPECT_EQ(grid.areaLevel(1), 70.0f);
}

TEST(FlatAreas, AnAreaWithNoRimCellsStartsAtTheRimlessLevel)
{
    const ElevationGrid grid = prepared({{-9010, -9010, -9010}, {-9010, B1, -9010}, {-9010, -9010, -9010}}, 250.0f);
    EXPECT_EQ(grid.areaLevel(1), 250.0f);
    EXPECT_EQ(grid.cell(1, 1).baseHeight, 250.0f);
}
