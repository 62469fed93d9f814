// The painter's model: strokes against maps worked by hand, and what a
// painted map turns into checked against the builder itself: the saved
// picture read back by the builder's reader, its relief built by a real build,
// and "Build grid" against qarn build.
#include <gtest/gtest.h>

#include <sstream>

#include "forge/extract/build_pipeline.h"
#include "painter/model/block_edit.h"
#include "forge/output/grid_files.h"
#include "painter/model/map_picture_file.h"
#include "painter/model/map_terrain.h"
#include "painter/model/problem_list.h"
#include "painter/model/warning_marks.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

const std::string RUNG_LETTERS = "0123456789abcdefgh";

// "01/~h": rows split by '/', a rung's letter or '~' (flat area) a block.
BlockMap systemMap(const std::string& text)
{
    std::vector<std::string> rows;
    std::stringstream in(text);
    for (std::string row; std::getline(in, row, '/');)
        rows.push_back(row);
    BlockMap map = blankMap(ColourSet::System, {}, static_cast<std::int32_t>(rows.size()),
                            static_cast<std::int32_t>(rows[0].size()));
    for (std::int32_t r = 0; r < map.rows; ++r)
        for (std::int32_t c = 0; c < map.cols; ++c) {
            const char letter = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            map.at(r, c) = letter == '~' ? FLAT_AREA_COLOUR : SYSTEM_COLOUR_SET[RUNG_LETTERS.find(letter)];
        }
    return map;
}

// "5" a square brush of 5 blocks, "5o" a round one.
Brush brushOf(const std::string& size)
{
    return Brush(std::stoi(size), size.back() == 'o' ? BrushShape::Round : BrushShape::Square);
}

void applyTool(BlockMap& map, BlockEdit& edit, const std::string& tool)
{
    std::istringstream in(tool);
    std::string name, size;
    int a = 0, b = 0, c = 0, d = 0;
    char rung = '0';
    in >> name;
    const auto colour = [&] { return SYSTEM_COLOUR_SET[RUNG_LETTERS.find(rung)]; };
    if (name == "pen" && in >> a >> b >> size >> rung)
        paintDab(map, edit, a, b, brushOf(size), colour());
    else if (name == "line" && in >> a >> b >> c >> d >> size >> rung)
        paintLine(map, edit, a, b, c, d, brushOf(size), colour());
    else if (name == "rect" && in >> a >> b >> c >> d >> rung)
        paintRectangle(map, edit, a, b, c, d, colour());
    else if (name == "fill" && in >> a >> b >> rung)
        floodFill(map, edit, a, b, colour());
    else if (name == "step" && in >> a >> b >> size >> d)
        stepRungs(map, edit, a, b, brushOf(size), d);
    else if (name == "slope" && in >> a >> b >> size >> d)
        slopeRungs(map, edit, a, b, brushOf(size), d);
    else
        FAIL() << "unknown tool " << tool;
}

TEST(Strokes, PaintTheExpectedBlocksAndUndoAsOneStep)
{
    for (const Row& row : readTable("painter/strokes.tsv")) {
        SCOPED_TRACE(row[1]);
        const BlockMap before = systemMap(row[0]);
        BlockMap map = before;
        BlockEdit edit;
        std::stringstream tools(row[1]);
        for (std::string tool; std::getline(tools, tool, ';');)
            applyTool(map, edit, tool);
        EXPECT_EQ(map.blocks, systemMap(row[2]).blocks);
        edit.undo(map);
        EXPECT_EQ(map.blocks, before.blocks);
        edit.redo(map);
        EXPECT_EQ(map.blocks, systemMap(row[2]).blocks);
    }
}

// Big round slope brushes dabbed and dragged over a map of ridges one rung a step:
// every block ends within one rung of each neighbour, diagonals included.
TEST(SlopeBrush, BigRoundDabsAddNoCliff)
{
    BlockMap map = blankMap(ColourSet::System, {}, 90, 80);
    for (std::int32_t r = 0; r < map.rows; ++r)
        for (std::int32_t c = 0; c < map.cols; ++c)
            map.at(r, c) = SYSTEM_COLOUR_SET[static_cast<std::size_t>(17 - std::abs((r + c) / 2 % 34 - 17))];
    const auto rung = [&map](std::int32_t r, std::int32_t c) {
        return std::find(SYSTEM_COLOUR_SET.begin(), SYSTEM_COLOUR_SET.end(), map.at(r, c)) - SYSTEM_COLOUR_SET.begin();
    };
    for (const auto& [size, steps] : {std::pair{50, 1}, std::pair{37, -1}, std::pair{24, 1}}) {
        BlockEdit edit;
        for (std::int32_t k = 0; k < 60; k += 3)
            slopeRungs(map, edit, 10 + k, 5 + k / 2, Brush(size, BrushShape::Round), steps);
        slopeRungs(map, edit, 45, 40, Brush(size, BrushShape::Round), steps);
        for (std::int32_t r = 0; r < map.rows; ++r)
            for (std::int32_t c = 0; c < map.cols; ++c)
                for (const auto& [dr, dc] : {std::pair{0, 1}, std::pair{1, -1}, std::pair{1, 0}, std::pair{1, 1}})
                    if (map.contains(r + dr, c + dc)) {
                        ASSERT_LE(std::abs(rung(r, c) - rung(r + dr, c + dc)), 1) << size << " at " << r << " " << c;
                    }
    }
}

TEST(BrushSizes, StepByMoreTheLargerTheyAre)
{
    const struct {
        int size;
        bool larger;
        int stepped;
    } cases[] = {{1, false, 1}, {1, true, 2}, {9, true, 10}, {10, true, 12}, {13, true, 14}, {13, false, 12},
                 {20, true, 25}, {23, false, 20}, {45, true, 50}, {50, true, 50}, {50, false, 45}};
    for (const auto& c : cases)
        EXPECT_EQ(steppedBrushSize(c.size, c.larger), c.stepped) << c.size << " " << c.larger;
}

TEST(Bands, RefusedWithTheReason)
{
    const Rgb a{10, 20, 30}, b{40, 50, 60};
    const struct {
        std::vector<Rgb> band;
        std::int32_t cols;
        std::string problem;
    } cases[] = {
        {{a, b}, 2, ""},
        {{}, 5, "the band needs at least one colour"},
        {{a, FLAT_AREA_COLOUR}, 5, "colour 2 is reserved"},
        {{a, b, a}, 5, "colour 3 is in the band twice"},
        {{a, b}, 1, "the band has 2 colours but the map is 1 blocks wide"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bandProblem(c.band, c.cols), c.problem);
}

TEST(NewMap, TakesTheCalculatorsSizesOrItsRefusal)
{
    BlockMap map;
    // 1000 x 800 tens of metres: 1100 x 900 pixels by the size rule.
    ASSERT_EQ(newMapFromSizes("1000", "800", ColourSet::System, {}, map), SizeCheck::Passed);
    EXPECT_EQ(map.cols, 110);
    EXPECT_EQ(map.rows, 90);
    EXPECT_EQ(map.at(89, 109), SYSTEM_COLOUR_SET[0]);
    EXPECT_EQ(newMapFromSizes("0", "800", ColourSet::System, {}, map), SizeCheck::NotPositive);
    EXPECT_EQ(map.cols, 110);
}

TEST(OpenPicture, EachBlockTakesTheSampledPixel)
{
    TempDir dir;
    // Every pixel black but the sampled ones: rungs 3 and 4, and one unknown colour.
    writeFile(dir.file("map.bmp"), encodeBmp(30, 20, 24, [](int x, int y) -> std::uint32_t {
                  if (x % 10 != 5 || y % 10 != 5)
                      return 0;
                  return x == 15 && y == 5 ? 0x123456 : (y < 10 ? 0xA5E742 : 0xA5C600);
              }));
    BlockMap map;
    ASSERT_EQ(openMapPicture(dir.file("map.bmp"), ColourSet::System, map), ExtractResult::Ok);
    BlockMap expected = systemMap("333/444");
    expected.at(0, 1) = {0x12, 0x34, 0x56};
    EXPECT_EQ(map.blocks, expected.blocks);
    const MapHeights heights = mapHeights(map, 100, 20);
    EXPECT_EQ(heights.wrong, (std::vector<std::uint8_t>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(heights.heights[0], 160.0f);
}

TEST(Problems, WalkedInReadingOrderWithQarnChecksWords)
{
    // A spike of rung 3 among rung 0 (one cliff of 8 pairs, its first pair at the top left) and a reserved blue.
    TempDir dir;
    BlockMap map = systemMap("0000/0300/0000");
    map.at(2, 3) = {0, 0, 255};
    std::string error;
    ASSERT_EQ(saveMapPicture(map, dir.file("map.bmp"), error), OutputResult::Ok) << error;
    const ProblemList list = problemList(checkPicture({dir.file("map.bmp")}), map.rows, map.cols);
    ASSERT_EQ(list.problems.size(), 2u);
    EXPECT_EQ(list.problems[0].text, "a cliff over block rows 1 to 3, columns 1 to 3 (pixels 5, 5 to 25, 25): 8 pairs "
                                     "of neighbouring blocks, the largest step 3 contour intervals (rungs 0 and 3)");
    EXPECT_EQ(list.problems[1].text, "block row 3, column 4 (pixel 35, 25): colour #0000FF is reserved (BLUE)");
    EXPECT_EQ(list.atBlock, (std::vector<std::int32_t>{1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 2}));
    // From a block, forward and back, with and without warnings: the problem's index.
    const struct {
        std::int32_t row, col;
        bool forward, warnings;
        std::ptrdiff_t found;
    } walks[] = {{0, 0, true, true, 1}, {0, 1, true, true, 1}, {2, 3, true, true, 0}, {0, 0, false, true, 1},
                 {2, 3, false, true, 0}, {0, 0, true, false, 1}, {2, 3, true, false, 1}};
    for (const auto& w : walks)
        EXPECT_EQ(list.step(w.row, w.col, w.forward, w.warnings), w.found) << w.row << " " << w.col << " " << w.forward;
}

// On a 3 x 3 map: each cliff pair's shared edge or corner kept by its upper (or left) block, other warnings boxed,
// errors and findings without a block left to others; painting the middle block drops what it shares.
TEST(Problems, CliffsMarkedAsTheEdgeTheirBlocksShare)
{
    const auto finding = [](FindingKind kind, Severity severity, std::int32_t row, std::int32_t col,
                            std::int32_t row2 = 0, std::int32_t col2 = 0) {
        Finding f;
        f.kind = kind, f.severity = severity;
        f.at.row = row, f.at.col = col, f.next.row = row2, f.next.col = col2;
        return f;
    };
    const auto cliff = [&](std::int32_t row, std::int32_t col, std::int32_t row2, std::int32_t col2) {
        return finding(FindingKind::Cliff, Severity::Warning, row, col, row2, col2);
    };
    PictureCheck check;
    check.findings = {cliff(1, 1, 1, 2), cliff(2, 2, 1, 2), cliff(2, 2, 3, 3), cliff(3, 1, 2, 2), cliff(1, 1, 1, 3),
                      finding(FindingKind::MixedBlock, Severity::Warning, 3, 3),
                      finding(FindingKind::ReservedColour, Severity::Error, 3, 1),
                      finding(FindingKind::SizeMismatch, Severity::Warning, 0, 0)};
    std::vector<std::uint8_t> marks = warningMarks(check, 3, 3);
    EXPECT_EQ(marks, (std::vector<std::uint8_t>{3, 4, 1, 0, 24, 0, 0, 0, 1}));
    const auto touched = [&] {
        std::vector<bool> blocks;
        for (std::int32_t i = 0; i < 9; ++i)
            blocks.push_back(warningMarked(marks, 3, 3, i / 3, i % 3));
        return blocks;
    };
    EXPECT_EQ(touched(), (std::vector<bool>{1, 1, 1, 0, 1, 0, 1, 0, 1}));
    clearWarningMarks(marks, 3, 3, 1, 1);
    EXPECT_EQ(marks, (std::vector<std::uint8_t>{3, 0, 1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(touched(), (std::vector<bool>{1, 1, 1, 0, 0, 0, 0, 0, 1}));
}

// A corner's stroke on a 2 x 2 map, unless marked edges already part its pair both ways round the corner.
TEST(Problems, CornerDrawnUnlessEdgesPartItsBlocks)
{
    const struct {
        std::vector<std::uint8_t> marks;
        std::int32_t col;
        WarningMark corner;
        bool drawn;
    } cases[] = {
        {{MarkBelowRight, 0, 0, 0}, 0, MarkBelowRight, true},
        {{MarkBelow | MarkBelowRight, MarkBelow, 0, 0}, 0, MarkBelowRight, false}, // along a straight edge
        {{MarkRight | MarkBelowRight, 0, 0, 0}, 0, MarkBelowRight, true},           // one way round only
        {{MarkBelowRight, MarkBelow, MarkRight, 0}, 0, MarkBelowRight, false},      // round a plateau's corner
        {{MarkRight, MarkBelowLeft, 0, 0}, 1, MarkBelowLeft, true},
        {{MarkBelow, MarkBelowLeft, MarkRight, 0}, 1, MarkBelowLeft, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cornerDrawn(c.marks, 2, 2, 0, c.col, c.corner), c.drawn) << int(c.marks[0]) << " " << int(c.marks[1]);
}

// A map with slopes, a lake and a plateau, saved and handed to the builder.
class SavedMap : public testing::TestWithParam<ColourSet> {};

TEST_P(SavedMap, ReadsBackBuildsToThePreviewAndBuildsLikeQarn)
{
    TempDir dir;
    BlockMap map = blankMap(ColourSet::User, {{1, 2, 3}, {200, 100, 50}, {7, 7, 7}}, 12, 9);
    if (GetParam() == ColourSet::System) {
        ASSERT_EQ(newMapFromSizes("1000", "800", ColourSet::System, {}, map), SizeCheck::Passed);
    }
    const std::vector<Rgb> rungs = rungColours(map);
    BlockEdit edit;
    paintRectangle(map, edit, 2, 2, 8, 7, rungs[1]);
    paintRectangle(map, edit, 4, 3, 6, 5, rungs.back());
    paintDab(map, edit, 10, 1, 3, FLAT_AREA_COLOUR);
    const ColourSet set = map.colourSet;
    std::string error;
    ASSERT_EQ(saveMapPicture(map, dir.file("map.bmp"), error), OutputResult::Ok) << error;
    if (map.mapData) {
        EXPECT_EQ(readFile(dir.file(MAP_DATA_FILE_NAME)), readFile(testData("sizer/worked_example.xdt")));
    }

    BlockMap back;
    ASSERT_EQ(openMapPicture(dir.file("map.bmp"), set, back), ExtractResult::Ok);
    EXPECT_EQ(back.blocks, map.blocks);
    EXPECT_EQ(back.band, map.band);

    BuildRequest request{dir.file("map.bmp"), 100, 20, set, dir.file("hightvals.dat"), {}, {}};
    const BuildOutcome built = runBuild(request);
    ASSERT_TRUE(built.built());
    const PreviewImage fromBuild = renderReliefPreview(built.grid, 2);
    EXPECT_EQ(previewTerrain(map, 100, 20, 2).image.rgb, fromBuild.rgb);

    const GridBuild grid = buildGridFiles(request, dir.file("painter.asc"));
    ASSERT_EQ(grid.saved.result, OutputResult::Ok) << grid.saved.error;
    const std::string setName = set == ColourSet::System ? "system" : "user";
    const std::string command = " build map.bmp --min 100 --interval 20 --output qarn.asc --colour-set " + setName;
    ASSERT_EQ(runIn(dir.path(), shellQuoted(QARN_PATH) + command).status, 0);
    EXPECT_EQ(readFile(dir.file("painter.asc")), readFile(dir.file("qarn.asc")));
    EXPECT_EQ(readFile(dir.file("painter-Build_Data.txt")), readFile(dir.file("qarn-Build_Data.txt")));
}

INSTANTIATE_TEST_SUITE_P(BothSets, SavedMap, testing::Values(ColourSet::System, ColourSet::User));

} // namespace
