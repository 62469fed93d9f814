#include "forge/output/ascii_grid_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "forge/output/output_result.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    EXPECT_EQ(start, text.size()) << "the last line must end with \\n";
    return lines;
}

std::string zeros(int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += " 0";
    return s;
}

std::string saved(int rows, int cols, const std::vector<float>& heights)
{
    TempDir dir;
    std::string error;
    EXPECT_EQ(saveAsciiGrid(dir.file("g.asc"), AsciiGridHeader{}, rows, cols, heights.data(), error), OUTPUT_OK)
        << error;
    return readFile(dir.file("g.asc"));
}

} // namespace

TEST(AsciiGridWriter, TwoByThreeGridSitsInTheBottomLeftCorner)
{
    const auto lines = linesOf(saved(2, 3, {10, 20, 30, 40, 50, 60}));
    ASSERT_EQ(lines.size(), 1207u);
    const std::vector<std::string> header{"ncols 1201",        "nrows 1201",       "xllcorner 9.000000",
                                          "yllcorner 1.000000", "cellsize 0.000833", "nodata_value -99"};
    for (std::size_t i = 0; i < header.size(); ++i)
        EXPECT_EQ(lines[i], header[i]);
    const std::string filler = zeros(1201);
    for (std::size_t i = 6; i < 6 + 1199; ++i)
        ASSERT_EQ(lines[i], filler) << "line " << i + 1;
    EXPECT_EQ(lines[1205], " 10 20 30" + zeros(1198));
    EXPECT_EQ(lines[1206], " 40 50 60" + zeros(1198));
}

TEST(AsciiGridWriter, HeightsAreRoundedOnlyAboveHalf)
{
    const auto lines = linesOf(saved(1, 6, {2.5f, 2.51f, -2.7f, -0.4f, 3.5001f, -2147483648.0f}));
    EXPECT_EQ(lines.back(), " 2 3 -2 0 4 -2147483648" + zeros(1195));
}

TEST(AsciiGridWriter, FullSizeGridHasNoFillerRows)
{
    std::vector<float> heights(1201 * 1201, 7.0f);
    heights.back() = 1234.0f;
    const auto lines = linesOf(saved(1201, 1201, heights));
    ASSERT_EQ(lines.size(), 1207u);
    EXPECT_EQ(lines[6].substr(0, 6), " 7 7 7");
    EXPECT_EQ(lines.back().substr(lines.back().size() - 7), " 7 1234");
}

TEST(AsciiGridWriter, RefusedInputWritesNothing)
{
    struct Case {
        int rows, cols;
        float height;
        int code;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0, 3, 1, OUTPUT_BAD_GRID_SIZE},        {3, 0, 1, OUTPUT_BAD_GRID_SIZE},
        {1202, 1, 1, OUTPUT_BAD_GRID_SIZE},     {1, 1202, 1, OUTPUT_BAD_GRID_SIZE},
        {-1, 5, 1, OUTPUT_BAD_GRID_SIZE},       {1, 1, nan, OUTPUT_BAD_HEIGHT},
        {1, 1, 2147483648.0f, OUTPUT_BAD_HEIGHT}, {1, 1, INFINITY, OUTPUT_BAD_HEIGHT},
    };
    for (const Case& c : cases) {
        std::vector<float> heights(1202 * 2, c.height);
        std::FILE* out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(writeValues(out, AsciiGridHeader{}, c.rows, c.cols, heights.data()), c.code)
            << c.rows << " x " << c.cols;
        EXPECT_EQ(std::ftell(out), 0L) << c.rows << " x " << c.cols;
        std::fclose(out);
    }
    EXPECT_EQ(writeValues(stdout, AsciiGridHeader{}, 1, 1, nullptr), OUTPUT_BAD_GRID_SIZE);
}

TEST(AsciiGridWriter, StreamThatRefusesBytesIsReported)
{
    std::FILE* full = std::fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "/dev/full is not available here";
    const std::vector<float> heights(100 * 100, 1.0f);
    EXPECT_EQ(writeValues(full, AsciiGridHeader{}, 100, 100, heights.data()), OUTPUT_WRITE_FAILED);
    std::fclose(full);
}
