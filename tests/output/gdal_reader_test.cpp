// An outside reader of ESRI ASCII grids (GDAL's command-line tools) opens a
// written file and sees the size, the corner, the cell size and the values.
#include "forge/output/ascii_grid_writer.h"
#include "forge/output/output_result.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/support/temp_dir.h"

using qarn_test::TempDir;

namespace {

bool haveTool(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string outputOf(const std::string& command)
{
    std::string text;
    std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        text.append(chunk, n);
    ::pclose(pipe);
    return text;
}

} // namespace

TEST(GdalReader, OpensTheGridWithItsCornerCellSizeAndValues)
{
    if (!haveTool("gdalinfo") || !haveTool("gdallocationinfo"))
        GTEST_SKIP() << "gdalinfo / gdallocationinfo not installed (package gdal-bin); outside-reader check skipped";

    // 3 rows x 4 columns, top row first.
    const std::vector<float> heights{1, 2, 3, 4, 100.6f, 200, 300, 400, -15, 0, 2500.5f, 8848};
    TempDir dir;
    const std::string path = dir.file("small.asc");
    std::string error;
    ASSERT_EQ(saveAsciiGrid(path, AsciiGridHeader{}, 3, 4, heights.data(), error), OUTPUT_OK) << error;

    const std::string info = outputOf("gdalinfo '" + path + "'");
    EXPECT_NE(info.find("Driver: AAIGrid"), std::string::npos) << info;
    EXPECT_NE(info.find("Size is 1201, 1201"), std::string::npos) << info;
    EXPECT_NE(info.find("Pixel Size = (0.000833000000000,-0.000833000000000)"), std::string::npos) << info;
    EXPECT_NE(info.find("Lower Left  (   9.0000000,   1.0000000)"), std::string::npos) << info;

    struct Cell {
        int pixel, line;
        const char* value;
    };
    const Cell cells[] = {
        {0, 1198, "1"},  {3, 1198, "4"},  {0, 1199, "101"}, {0, 1200, "-15"}, {2, 1200, "2500"},
        {3, 1200, "8848"}, {4, 1200, "0"}, {0, 1197, "0"},  {0, 0, "0"},     {1200, 1200, "0"},
    };
    for (const Cell& c : cells) {
        const std::string got = outputOf("gdallocationinfo -valonly '" + path + "' " + std::to_string(c.pixel) + " " +
                                         std::to_string(c.line));
        EXPECT_EQ(got, std::string(c.value) + "\n") << "pixel " << c.pixel << ", line " << c.line;
    }
}
