#include "forge/extract/build_pipeline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"
#include "forge/output/save_results.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace qarn_test;

namespace {

constexpr int B1 = -1; // the flat-area colour in the block maps below

std::uint32_t systemColour(int rung)
{
    const Rgb& c = SYSTEM_COLOUR_SET[static_cast<std::size_t>(rung)];
    return rgb(c.red, c.green, c.blue);
}

// A 24-bit picture of 10 x 10 blocks; each value is a height of the system set
// with minimum 100 and interval 10, or B1.
BmpSpec blockPicture(const std::vector<std::vector<int>>& heights)
{
    const int rows = static_cast<int>(heights.size());
    const int cols = static_cast<int>(heights[0].size());
    BmpSpec bmpSpec;
    bmpSpec.width = cols * 10;
    bmpSpec.height = rows * 10;
    for (int y = 0; y < bmpSpec.height; ++y)
        for (int x = 0; x < bmpSpec.width; ++x) {
            const int h = heights[static_cast<std::size_t>(y / 10)][static_cast<std::size_t>(x / 10)];
            bmpSpec.pixels.push_back(h == B1 ? rgb(0, 128, 192) : systemColour((h - 100) / 10));
        }
    return bmpSpec;
}

std::vector<std::string> captionsOf(const BuildOutcome& outcome)
{
    std::vector<std::string> captions;
    for (const UserMessage& m : outcome.messages)
        captions.push_back(m.caption);
    return captions;
}


// Every build runs in a working directory of its own: "hightvals.dat" lives there.
class BuildPipeline : public testing::Test {
protected:
    BuildPipeline() : cwd_(work_.path()) {}

    BuildOutcome build(const BmpSpec& bmpSpec, int min = 100, int interval = 10, int choice = COLOUR_SET_SYSTEM)
    {
        writeBmp(pictures_.path() / "map.bmp", bmpSpec);
        return build(pictures_.file("map.bmp"), min, interval, choice);
    }
    BuildOutcome build(const std::string& path, int min = 100, int interval = 10, int choice = COLOUR_SET_SYSTEM)
    {
        return runBuild(BuildRequest{path, min, interval, choice});
    }
    bool heightValuesFileLeft() const { return fs::exists(work_.path() / "hightvals.dat"); }

    TempDir pictures_;
    TempDir work_;
    ScopedWorkingDir cwd_;
};

} // namespace

// The map and its expected heights come from tests/grid/reference_grid.py, which
// works the rules out independently of the program: 101.428574, 117.619049 and
// so on, written as the table shows them (truncated toward zero).
TEST_F(BuildPipeline, SmallMapGivesTheIndependentlyWorkedGridFile)
{
    const BuildOutcome outcome = build(blockPicture({
        {100, 120, 140, 120, 100},
        {120, B1, B1, 160, 140},
        {140, 120, 130, 180, B1},
        {160, 140, 120, 110, B1},
    }));
    ASSERT_TRUE(outcome.built()) << outcome.result;
    EXPECT_EQ(captionsOf(outcome),
              (std::vector<std::string>{"Clean Run", "Can not find file", "Results Ready to View and Edit"}));
    EXPECT_TRUE(outcome.mapDataChecked);
    EXPECT_FALSE(outcome.mapDataRead);
    EXPECT_FALSE(heightValuesFileLeft());
    EXPECT_EQ(outcome.heights.pixelRows, 40);
    EXPECT_EQ(outcome.heights.pixelCols, 50);
    EXPECT_EQ(outcome.heights.contourInterval, 10);
    EXPECT_EQ(outcome.heights.colourHeights.size(), 25u);

    ElevationGrid grid = outcome.grid;
    applyTableValues(grid, truncatedHeights(grid));
    const SaveAsResult saved = saveGridAndReport(grid, work_.file("map"), false, MapData{});
    ASSERT_EQ(saved.result, 0) << saved.error;
    EXPECT_EQ(saved.gridPath, work_.file("map.asc"));
    const std::vector<std::string> lines = linesOf(readFile(saved.gridPath));
    ASSERT_EQ(lines.size(), 1207u);
    const std::string zeros1196 = [] {
        std::string s;
        for (int i = 0; i < 1196; ++i)
            s += " 0";
        return s;
    }();
    EXPECT_EQ(lines[1203], " 101 120 140 120 117" + zeros1196);
    EXPECT_EQ(lines[1204], " 123 107 107 160 157" + zeros1196);
    EXPECT_EQ(lines[1205], " 143 120 130 180 118" + zeros1196);
    EXPECT_EQ(lines[1206], " 163 140 120 119 118" + zeros1196);
    EXPECT_TRUE(fs::exists(work_.path() / "map-Build_Data.txt"));
}

TEST_F(BuildPipeline, ReadsTheMapDataFileBesideThePicture)
{
    std::string error;
    ASSERT_TRUE(writeMapDataFile(pictures_.file(MAP_DATA_FILE_NAME), MapData{800, 1000, 30.92208078}, error));
    const BuildOutcome outcome = build(solidBmp(30, 20, systemColour(0)));
    ASSERT_TRUE(outcome.built());
    EXPECT_EQ(captionsOf(outcome), (std::vector<std::string>{"Clean Run", "Results Ready to View and Edit"}));
    ASSERT_TRUE(outcome.mapDataRead);
    EXPECT_EQ(outcome.mapData.heightTens, 800);
    EXPECT_EQ(outcome.mapData.widthTens, 1000);

    // A file shorter than 16 bytes counts as missing.
    writeFile(pictures_.path() / MAP_DATA_FILE_NAME, std::string(15, '\1'));
    const BuildOutcome again = build(pictures_.file("map.bmp"));
    EXPECT_FALSE(again.mapDataRead);
    EXPECT_EQ(captionsOf(again)[1], "Can not find file");
}

struct FailureCase {
    const char* name;
    std::function<void(const fs::path& picture)> makePicture;
    int result;
    MessageKind kind;
    const char* caption;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class BuildFailures : public BuildPipeline, public testing::WithParamInterface<FailureCase> {};

TEST_P(BuildFailures, StopWithTheirBoxAndKeepTheHeightValuesFile)
{
    const FailureCase& c = GetParam();
    const fs::path picture = pictures_.path() / "map.bmp";
    c.makePicture(picture);
    const BuildOutcome outcome = build(picture.string());
    EXPECT_FALSE(outcome.built());
    EXPECT_EQ(outcome.result, c.result);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].kind, c.kind);
    EXPECT_EQ(outcome.messages[0].caption, c.caption);
    EXPECT_FALSE(outcome.mapDataChecked);
    EXPECT_EQ(outcome.grid.rows(), 0);
    // Left on disk, empty, as after any failed extraction.
    ASSERT_TRUE(heightValuesFileLeft());
    EXPECT_EQ(fs::file_size(work_.path() / "hightvals.dat"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryExtractionFailure, BuildFailures,
    testing::Values(
        FailureCase{"NotABmp", [](const fs::path& p) { writeFile(p, "\x89PNG\r\n\x1a\n rest of a png"); },
                    RESULT_NOT_BMP, MessageKind::Warning, "File Not Valid"},
        FailureCase{"Missing", [](const fs::path&) {}, RESULT_CANNOT_OPEN_BMP, MessageKind::Critical,
                    "Can not find file"},
        FailureCase{"Empty", [](const fs::path& p) { writeFile(p, ""); }, RESULT_TYPE_UNREADABLE,
                    MessageKind::Critical, "File reading Error"},
        FailureCase{"BadHeader",
                    [](const fs::path& p) {
                        BmpSpec s = solidBmp(20, 20, 0);
                        s.headerWidth = 0;
                        writeBmp(p, s);
                    },
                    RESULT_BAD_HEADER, MessageKind::Critical, "Currupt Image Data"},
        FailureCase{"RunLength",
                    [](const fs::path& p) {
                        BmpSpec s = solidBmp(20, 20, 0);
                        s.compression = 1;
                        writeBmp(p, s);
                    },
                    RESULT_UNSUPPORTED_BMP, MessageKind::Critical, "Legal BMP file but odd problem"},
        FailureCase{"CutShort",
                    [](const fs::path& p) {
                        const std::string bytes = encodeBmp(solidBmp(20, 20, 0));
                        writeFile(p, bytes.substr(0, bytes.size() - 100));
                    },
                    RESULT_READ_ERROR, MessageKind::Critical, "File reading Error"},
        FailureCase{"NoWholeBlock", [](const fs::path& p) { writeBmp(p, solidBmp(9, 40, rgb(0, 132, 33))); },
                    RESULT_NO_MAP_BLOCKS, MessageKind::Critical, "Map Too Small"},
        FailureCase{"TooManyBlocks", [](const fs::path& p) { writeBmp(p, solidBmp(12020, 10, rgb(0, 132, 33))); },
                    RESULT_TOO_MANY_BLOCKS, MessageKind::Critical, "Map Too Large"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(BuildPipeline, ColourErrorBelongsToOneBuild)
{
    const BuildOutcome bad = build(solidBmp(30, 20, rgb(1, 2, 3)));
    EXPECT_FALSE(bad.built());
    EXPECT_TRUE(bad.colourError);
    EXPECT_EQ(bad.result, RESULT_OK);
    ASSERT_EQ(bad.messages.size(), 1u);
    EXPECT_EQ(bad.messages[0].caption, "Colour Error in BMP file");
    EXPECT_EQ(bad.messages[0].kind, MessageKind::Information);
    // The height values file is complete after a colour error.
    EXPECT_NE(readFile(work_.path() / "hightvals.dat").find("-9999"), std::string::npos);

    const BuildOutcome corrected = build(solidBmp(30, 20, systemColour(3)));
    EXPECT_TRUE(corrected.built());
    EXPECT_FALSE(corrected.colourError);
    EXPECT_EQ(corrected.messages.front().caption, "Clean Run");
}

TEST_F(BuildPipeline, HeightValuesFileThatCannotBeCreatedStopsBeforeTheExtraction)
{
    fs::create_directory(work_.path() / "hightvals.dat"); // a folder in its place
    const BuildOutcome outcome = build(solidBmp(30, 20, systemColour(0)));
    EXPECT_EQ(outcome.result, RESULT_TEMP_FILE_FAILED);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].caption, "Can not open file");
    EXPECT_EQ(outcome.messages[0].text, "Can not open temp output files<br>Close Program");
    EXPECT_FALSE(outcome.messages[0].hasParent);
}

TEST_F(BuildPipeline, HeightsBeyondTheIntRangeStopBeforeAnyLineIsWritten)
{
    const BuildOutcome outcome = build(solidBmp(30, 20, systemColour(0)), 2000000000, 100000000);
    EXPECT_EQ(outcome.result, RESULT_HEIGHTS_TOO_LARGE);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].caption, "Heights Too Large");
    EXPECT_EQ(outcome.messages[0].kind, MessageKind::Critical);
    EXPECT_EQ(fs::file_size(work_.path() / "hightvals.dat"), 0u);
}

TEST_F(BuildPipeline, AllFlatMapStandsAtTheMinimumElevation)
{
    const BuildOutcome outcome = build(solidBmp(40, 30, rgb(0, 128, 192)), 250, 10);
    ASSERT_TRUE(outcome.built());
    for (int h : truncatedHeights(outcome.grid))
        EXPECT_EQ(h, 250);
}

TEST(TruncatedHeight, TowardZeroInsideTheIntRange)
{
    EXPECT_EQ(truncatedHeight(439.7f), 439);
    EXPECT_EQ(truncatedHeight(-12.6f), -12);
    EXPECT_EQ(truncatedHeight(-0.4f), 0);
    EXPECT_EQ(truncatedHeight(3e9f), 2147483647);
    EXPECT_EQ(truncatedHeight(-3e9f), -2147483647 - 1);
    EXPECT_EQ(truncatedHeight(std::numeric_limits<float>::quiet_NaN()), 0);
}
