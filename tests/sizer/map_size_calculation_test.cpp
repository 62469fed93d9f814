#include "sizer/map_size_calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

MapSizeCalculation computed(int widthMetres, int heightMetres, int colourSet = COLOUR_SET_SYSTEM)
{
    MapSizeCalculation calc;
    calc.reset();
    calc.setInput(widthMetres, heightMetres, colourSet);
    calc.compute();
    return calc;
}

} // namespace

TEST(RoundHalfUp, AddsOneFromHalfUpward)
{
    EXPECT_EQ(roundHalfUp(0.0), 0);
    EXPECT_EQ(roundHalfUp(0.49999), 0);
    EXPECT_EQ(roundHalfUp(0.5), 1);
    EXPECT_EQ(roundHalfUp(10204.2458), 10204);
    EXPECT_EQ(roundHalfUp(8348.9284), 8349);
    EXPECT_EQ(roundHalfUp(50093.5704), 50094);
    EXPECT_EQ(roundHalfUp(2.5), 3);
}

TEST(MapSizeCalculation, ResetAndSetInputClearResults)
{
    MapSizeCalculation calc = computed(10000, 8000);
    calc.setInput(400, 500, COLOUR_SET_USER);
    EXPECT_EQ(calc.colourSet, COLOUR_SET_USER);
    EXPECT_EQ(calc.widthMetres, 400);
    EXPECT_EQ(calc.heightMetres, 500);
    EXPECT_EQ(calc.pixelWidth, 0);
    EXPECT_EQ(calc.pixelHeight, 0);
    EXPECT_EQ(calc.approxWidthMetres, 0);
    EXPECT_EQ(calc.approxHeightMetres, 0);
    calc.reset();
    EXPECT_EQ(calc.colourSet, 1);
    EXPECT_EQ(calc.widthMetres, 0);
    EXPECT_EQ(calc.heightMetres, 0);
}

struct SizeRow {
    int metres;
    int pixels;
    int approxMetres;
};

void PrintTo(const SizeRow& row, std::ostream* out)
{
    *out << row.metres << " m -> " << row.pixels << " px, " << row.approxMetres << " m";
}

class SizeRule : public testing::TestWithParam<SizeRow> {};

TEST_P(SizeRule, GivesPixelsAndMetresCoveredForBothSides)
{
    const SizeRow row = GetParam();
    const MapSizeCalculation asWidth = computed(row.metres, 10000);
    EXPECT_EQ(asWidth.pixelWidth, row.pixels);
    EXPECT_EQ(asWidth.approxWidthMetres, row.approxMetres);
    const MapSizeCalculation asHeight = computed(10000, row.metres);
    EXPECT_EQ(asHeight.pixelHeight, row.pixels);
    EXPECT_EQ(asHeight.approxHeightMetres, row.approxMetres);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndLimits, SizeRule,
                         testing::Values(SizeRow{10000, 1100, 10200}, // 108 squares -> 110 blocks
                                         SizeRow{8000, 900, 8340},    // 87 -> 90
                                         SizeRow{400, 100, 920},      // 5 squares is a multiple of 5: 10 blocks
                                         SizeRow{50000, 5400, 50090}, // the largest accepted entry
                                         SizeRow{10, 50, 460},        // the smallest accepted entry
                                         SizeRow{370, 50, 460},       // 4 squares -> 5 blocks
                                         SizeRow{380, 100, 920},      // 5 squares -> 10 blocks, not 5
                                         SizeRow{470, 100, 920},      // 6 squares -> 10 blocks
                                         SizeRow{928, 150, 1390}),    // 11 squares -> 15 blocks
                         [](const testing::TestParamInfo<SizeRow>& info) {
                             return std::to_string(info.param.metres) + "_metres";
                         });

TEST(MapSizeCalculation, WorkedExamplesKeepTheirSides)
{
    const MapSizeCalculation one = computed(10000, 8000);
    EXPECT_EQ(one.pixelWidth, 1100);
    EXPECT_EQ(one.pixelHeight, 900);
    EXPECT_EQ(one.approxWidthMetres, 10200);
    EXPECT_EQ(one.approxHeightMetres, 8340);
    const MapSizeCalculation two = computed(400, 50000, COLOUR_SET_USER);
    EXPECT_EQ(two.pixelWidth, 100);
    EXPECT_EQ(two.pixelHeight, 5400);
    EXPECT_EQ(two.approxWidthMetres, 920);
    EXPECT_EQ(two.approxHeightMetres, 50090);
}

TEST(MapSizeCalculation, EveryAcceptedEntryGetsWholeBlocksWithASpare)
{
    int previousPixels = 0;
    for (int entry = 1; entry <= 5000; ++entry) {
        const int metres = entry * 10;
        SCOPED_TRACE(metres);
        const MapSizeCalculation calc = computed(metres, metres);
        ASSERT_EQ(calc.pixelWidth, calc.pixelHeight);
        ASSERT_EQ(calc.approxWidthMetres, calc.approxHeightMetres);
        ASSERT_EQ(calc.pixelWidth % 10, 0);
        const int blocks = calc.pixelWidth / 10;
        const int squares = static_cast<int>(std::ceil(metres / METRES_PER_SRTM_GRID));
        ASSERT_EQ(blocks % 5, 0);
        ASSERT_GT(blocks, squares);
        ASSERT_LE(blocks, squares + 5); // the smallest such multiple
        ASSERT_GE(calc.approxWidthMetres, metres);
        ASSERT_EQ(calc.approxWidthMetres % 10, 0);
        ASSERT_LE(calc.approxWidthMetres, blocks * METRES_PER_SRTM_GRID + 0.5);
        ASSERT_GT(calc.approxWidthMetres + 10, blocks * METRES_PER_SRTM_GRID - 0.5);
        ASSERT_GE(calc.pixelWidth, previousPixels);
        previousPixels = calc.pixelWidth;
    }
    EXPECT_EQ(previousPixels, 5400);
}

TEST(MapSizeCalculation, SidesOutsideTheAcceptedRangeGiveZeros)
{
    for (int metres : {0, -10, 50001, 2147483647}) {
        const MapSizeCalculation calc = computed(metres, metres);
        EXPECT_EQ(calc.pixelWidth, 0) << metres;
        EXPECT_EQ(calc.approxHeightMetres, 0) << metres;
    }
}
