// The grid's rules that a whole-build comparison would not pinpoint: rounding,
// each smoothing shape, flat-area labelling and levels; and one whole build
// against tests/grid/reference_grid.py.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

#include "forge/grid/elevation_grid.h"
#include "forge/grid/height_rounding.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

std::vector<float> numbers(const std::string& text)
{
    std::vector<float> values;
    std::string words = text;
    std::replace(words.begin(), words.end(), '/', ' ');
    std::istringstream in(words);
    for (std::string word; in >> word;)
        values.push_back(word == "B" ? -9020.0f : word == "X" ? -9010.0f : std::stof(word));
    return values;
}

// An open stream holding the text from its start; the caller closes it.
std::FILE* streamOf(const std::string& text)
{
    std::FILE* f = scratchFile();
    std::fputs(text.c_str(), f);
    std::rewind(f);
    return f;
}

// A grid holding a map (rows split by '/'), after allocate and loadHeights.
ElevationGrid loaded(const std::string& map, int border, float interval = 10.0f, int* cols = nullptr)
{
    const std::vector<float> values = numbers(map);
    const int rows = static_cast<int>(std::count(map.begin(), map.end(), '/')) + 1;
    const int width = static_cast<int>(values.size()) / rows;
    std::string text;
    for (float v : values)
        text += std::to_string(v) + " ";
    ElevationGrid grid;
    grid.setBorder(border);
    EXPECT_EQ(grid.allocate(rows, width, interval), GridResult::Ok);
    std::FILE* f = streamOf(text);
    grid.loadHeights(f);
    std::fclose(f);
    if (cols)
        *cols = width;
    return grid;
}

} // namespace

TEST(Grid, RoundHeightTruncatesAndAddsOneOnlyAboveOneHalf)
{
    for (auto [value, rounded] : {std::pair{2.5f, 2.0f}, {2.51f, 3.0f}, {-2.7f, -2.0f}, {-0.4f, 0.0f}, {3.5001f, 4.0f}})
        EXPECT_EQ(roundHeight(value), rounded) << value;
}

TEST(Grid, EachSmoothingShapeGivesItsExactCandidates)
{
    for (const Row& row : readTable("grid/smooth_lines.tsv")) {
        const std::vector<float> heights = numbers(row[2]);
        ElevationGrid grid = loaded(row[2], 0, std::stof(row[1]));
        std::vector<std::int32_t> line(heights.size());
        std::iota(line.begin(), line.end(), 0);
        grid.smoothLine(line.data(), static_cast<int>(line.size()));
        std::vector<float> got;
        for (int i = 0; i < static_cast<int>(heights.size()); ++i) {
            EXPECT_EQ(grid.cell(0, i).candidateCount, 1) << row[0] << ", position " << i;
            got.push_back(grid.cell(0, i).candidates[0]);
        }
        EXPECT_EQ(got, numbers(row[3])) << row[0];
    }
}

TEST(Grid, FlatAreasAreNumberedAndStartAtTheirLowestRim)
{
    for (const Row& row : readTable("grid/flat_areas.tsv")) {
        int cols = 0;
        ElevationGrid grid = loaded(row[2], GRID_BORDER, 10.0f, &cols);
        ASSERT_EQ(grid.prepareFlatAreas(std::stof(row[1])), GridResult::Ok);
        const std::vector<float> ids = numbers(row[3]);
        const std::vector<float> levels = numbers(row[4]);
        EXPECT_EQ(grid.nextAreaId(), static_cast<int>(levels.size()) + 1) << row[0];
        for (std::size_t a = 0; a < levels.size(); ++a)
            EXPECT_EQ(grid.areaLevel(static_cast<int>(a) + 1), levels[a]) << row[0] << ", area " << a + 1;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const GridCell& cell = grid.cell(static_cast<int>(i) / cols, static_cast<int>(i) % cols);
            EXPECT_EQ(cell.areaId, static_cast<int>(ids[i])) << row[0] << ", cell " << i;
            if (cell.areaId > 0) {
                EXPECT_EQ(cell.baseHeight, levels[static_cast<std::size_t>(cell.areaId) - 1]) << row[0];
            }
        }
    }
}

TEST(Grid, FlatAreasEndAtTheirLowestHeightRounded)
{
    for (auto [lowest, level] : {std::pair{30.2f, 30.0f}, {30.6f, 31.0f}, {30.5f, 30.0f}}) {
        ElevationGrid grid = loaded("40 40 40 40 40/40 B B B 40/40 40 40 40 40", GRID_BORDER);
        ASSERT_EQ(grid.prepareFlatAreas(0.0f), GridResult::Ok);
        grid.setHeight(0, 0, 12.3f);
        grid.setHeight(1, 1, 31.7f);
        grid.setHeight(1, 2, lowest);
        grid.setHeight(1, 3, 35.0f);
        grid.flattenFlatAreas();
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(grid.height(1, c), level) << lowest;
        EXPECT_EQ(grid.height(0, 0), 12.3f) << "a cell outside the area keeps its height";
    }
}

// tests/grid/small_map.expected is reference_grid.py's output for small_map.tsv.
TEST(Grid, WholeBuildMatchesTheReference)
{
    const std::vector<Row> table = readTable("grid/small_map.tsv");
    std::string values;
    for (std::size_t r = 1; r < table.size(); ++r)
        values += table[r][0] + "\n";
    const std::vector<float> settings = numbers(table[0][0]);
    ElevationGrid grid;
    std::FILE* f = streamOf(values);
    ASSERT_EQ(grid.build(f, 4, 5, settings[0], settings[1]), GridResult::Ok);
    std::fclose(f);
    std::vector<float> got;
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            got.push_back(grid.height(r, c));
    EXPECT_EQ(got, numbers(readFile(testData("grid/small_map.expected"))));

    // A refused size keeps the grid it had.
    f = streamOf("1 2 3");
    EXPECT_EQ(grid.build(f, 0, 3, 10.0f, 0.0f), GridResult::BadSize);
    std::fclose(f);
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.height(3, 4), got.back());
}

// Maps of several sizes built one after the other in one grid's memory, each
// beside a fresh build of its own: a lake with a low rim before one with a
// higher rim and a rimless one, a larger map before a smaller one.
TEST(Grid, RebuildInItsOwnMemoryGivesTheFreshBuild)
{
    const struct { int rows, cols; const char* map; } maps[] = {
        {3, 5, "40 40 40 40 40/20 B B B 40/40 40 40 40 40"},
        {3, 5, "80 80 80 80 80/60 B B B 80/80 80 B 80 80"},
        {4, 6, "10 20 30 40 50 60/B B 30 30 X 60/B B 20 10 10 10/90 80 70 60 50 40"},
        {2, 2, "B B/B B"},
        {1, 3, "5 15 25"},
    };
    ElevationGrid reused;
    for (const auto& map : maps) {
        SCOPED_TRACE(map.map);
        const std::vector<float> heights = numbers(map.map);
        ElevationGrid fresh;
        ASSERT_EQ(fresh.build(heights, map.rows, map.cols, 10.0f, 7.0f), GridResult::Ok);
        ASSERT_EQ(reused.rebuild(heights, map.rows, map.cols, 10.0f, 7.0f), GridResult::Ok);
        ASSERT_EQ(reused.rows(), map.rows);
        ASSERT_EQ(reused.cols(), map.cols);
        for (int r = 0; r < map.rows; ++r)
            for (int c = 0; c < map.cols; ++c)
                EXPECT_EQ(reused.height(r, c), fresh.height(r, c)) << r << "," << c;
    }
    EXPECT_EQ(reused.rebuild(numbers("1 2 3"), 0, 3, 10.0f, 0.0f), GridResult::BadSize);
    EXPECT_EQ(reused.rows(), 0) << "a failed rebuild leaves no grid";
}
