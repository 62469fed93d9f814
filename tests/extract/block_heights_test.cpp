#include "forge/extract/block_heights.h"
#include "forge/extract/colour_height_set.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

using namespace qarn_test;

namespace {

constexpr std::uint32_t LOWEST = rgb(0, 132, 33);  // first rung of the system set
constexpr std::uint32_t SECOND = rgb(99, 198, 0);
constexpr std::uint32_t BLUE1 = rgb(0, 128, 192);
constexpr std::uint32_t WHITE = rgb(255, 255, 255);

struct Extraction {
    ExtractionResult outcome;
    std::string file;   // the height values file as written
    std::string errors; // what went to stderr
};

// Runs one extraction of `picture` (written to disk unless empty) into a fresh
// height values file in a working directory of its own.
Extraction extract(const std::string& picture, int choice, std::int32_t minElevation = 100, std::int32_t interval = 20,
            const char* pictureName = "map.bmp")
{
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    if (!picture.empty())
        writeFile(pictureName, picture);
    Extraction run;
    std::FILE* heights = std::fopen(HEIGHT_VALUES_FILE_NAME, "wt");
    if (!heights)
        throw std::runtime_error("cannot create the height values file");
    testing::internal::CaptureStderr();
    run.outcome = extractBlockHeights(pictureName, heights, minElevation, interval, choice);
    run.errors = testing::internal::GetCapturedStderr();
    std::fclose(heights);
    run.file = readFile(HEIGHT_VALUES_FILE_NAME);
    return run;
}


const char* const SYSTEM_SET_LINE =
    "100 120 140 160 180 200 220 240 260 280 300 320 340 360 380 400 420 440 "
    "-9010 -9020 -9030 -9040 -9050 -9990 -9999 \n";

} // namespace

TEST(BlockHeights, WritesTheWorkedExampleByteForByte)
{
    const Extraction run = extract(encodeBmp(solidBmp(30, 20, LOWEST)), COLOUR_SET_SYSTEM);
    EXPECT_EQ(run.outcome.result, RESULT_OK);
    EXPECT_FALSE(run.outcome.colourError);
    EXPECT_EQ(run.file, std::string("20 30\n2 3\n20\n25\n") + SYSTEM_SET_LINE + "100 100 100\n100 100 100\n");
    EXPECT_EQ(run.errors, "");
}

TEST(BlockHeights, SamplesTheSixthPixelOfEachBlockAndIgnoresPartBlocks)
{
    // 609 x 405: 60 x 40 blocks, the 9 right columns and 5 bottom rows ignored.
    // Every pixel but the samples is of a colour outside the set.
    BmpSpec bmpSpec = solidBmp(609, 405, rgb(1, 2, 3));
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 60; ++c)
            bmpSpec.pixels[static_cast<std::size_t>((10 * r + 5) * 609 + 10 * c + 5)] = (r + c) % 2 ? SECOND : LOWEST;
    bmpSpec.topDown = true;
    const Extraction run = extract(encodeBmp(bmpSpec), COLOUR_SET_SYSTEM);
    ASSERT_EQ(run.outcome.result, RESULT_OK);
    EXPECT_FALSE(run.outcome.colourError);
    const std::vector<std::string> lines = linesOf(run.file);
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[0], "405 609");
    EXPECT_EQ(lines[1], "40 60");
    EXPECT_EQ(lines[5].substr(0, 12), "100 120 100 ");
    EXPECT_EQ(lines[6].substr(0, 12), "120 100 120 ");
    EXPECT_EQ(lines[44].substr(lines[44].size() - 8), " 120 100"); // no blank before the newline
}

TEST(BlockHeights, UserSetTakesTheTopTenRowsAsTheBand)
{
    // 600 x 410: the band, then 40 x 60 blocks sampled from pixel row 15.
    BmpSpec bmpSpec = solidBmp(600, 410, rgb(5, 5, 5));
    const std::uint32_t band[] = {rgb(10, 0, 0), rgb(20, 0, 0), WHITE, rgb(30, 0, 0)};
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < 10; ++y)
            for (int x = 10 * i; x < 10 * i + 10; ++x)
                bmpSpec.pixels[static_cast<std::size_t>(y * 600 + x)] = band[i];
    bmpSpec.pixels[15 * 600 + 5] = rgb(20, 0, 0);
    bmpSpec.pixels[15 * 600 + 15] = BLUE1;
    bmpSpec.pixels[25 * 600 + 5] = rgb(10, 0, 0);
    const Extraction run = extract(encodeBmp(bmpSpec), COLOUR_SET_USER, 0, 50);
    ASSERT_EQ(run.outcome.result, RESULT_OK);
    EXPECT_TRUE(run.outcome.colourError); // (5, 5, 5) is in no set
    const std::vector<std::string> lines = linesOf(run.file);
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[0], "400 600");
    EXPECT_EQ(lines[1], "40 60");
    EXPECT_EQ(lines[2], "50");
    EXPECT_EQ(lines[3], "9");
    EXPECT_EQ(lines[4], "0 50 -9010 -9020 -9030 -9040 -9050 -9990 -9999 ");
    EXPECT_EQ(lines[5].substr(0, 17), "50 -9020 -9999 -9");
    EXPECT_EQ(lines[6].substr(0, 8), "0 -9999 ");
}

TEST(BlockHeights, ColourErrorBelongsToOneBuild)
{
    BmpSpec bad = solidBmp(20, 10, LOWEST);
    bad.pixels[5 * 20 + 15] = rgb(0, 0, 255);
    const Extraction first = extract(encodeBmp(bad), COLOUR_SET_SYSTEM);
    EXPECT_EQ(first.outcome.result, RESULT_OK);
    EXPECT_TRUE(first.outcome.colourError);
    EXPECT_EQ(linesOf(first.file).back(), "100 -9010"); // the file is complete all the same

    const Extraction corrected = extract(encodeBmp(solidBmp(20, 10, BLUE1)), COLOUR_SET_SYSTEM);
    EXPECT_EQ(corrected.outcome.result, RESULT_OK);
    EXPECT_FALSE(corrected.outcome.colourError);
    EXPECT_EQ(linesOf(corrected.file).back(), "-9020 -9020");
}

TEST(BlockHeights, FailuresWriteNothing)
{
    BmpSpec badHeader = solidBmp(20, 20, LOWEST);
    badHeader.compression = 5;
    std::string cut = encodeBmp(solidBmp(20, 20, LOWEST));
    cut.resize(cut.size() - 7);
    struct Case {
        const char* name;
        std::string picture;
        int choice;
        int expected;
        const char* errors;
    };
    const Case cases[] = {
        {"missing picture", "", COLOUR_SET_SYSTEM, RESULT_CANNOT_OPEN_BMP,
         "Error opening source file: No such file or directory\n"},
        {"one byte", "B", COLOUR_SET_SYSTEM, RESULT_TYPE_UNREADABLE, "Error getting file type: Success\n"},
        {"not a BMP", "PK\x03\x04 and more", COLOUR_SET_SYSTEM, RESULT_NOT_BMP, ""},
        {"bad header", encodeBmp(badHeader), COLOUR_SET_SYSTEM, RESULT_BAD_HEADER, ""},
        {"cut short", cut, COLOUR_SET_SYSTEM, RESULT_READ_ERROR, ""},
        {"9 pixels wide", encodeBmp(solidBmp(9, 20, LOWEST)), COLOUR_SET_SYSTEM, RESULT_NO_MAP_BLOCKS, ""},
        {"9 pixels high", encodeBmp(solidBmp(20, 9, LOWEST)), COLOUR_SET_SYSTEM, RESULT_NO_MAP_BLOCKS, ""},
        {"band only", encodeBmp(solidBmp(20, 19, LOWEST)), COLOUR_SET_USER, RESULT_NO_MAP_BLOCKS, ""},
        {"lower than the band", encodeBmp(solidBmp(20, 4, LOWEST)), COLOUR_SET_USER, RESULT_NO_MAP_BLOCKS, ""},
        {"1202 block columns", encodeBmp(solidBmp(12020, 10, LOWEST)), COLOUR_SET_SYSTEM, RESULT_TOO_MANY_BLOCKS, ""},
        {"1202 block rows", encodeBmp(solidBmp(10, 12025, LOWEST)), COLOUR_SET_SYSTEM, RESULT_TOO_MANY_BLOCKS, ""},
        {"1202 rows under a band", encodeBmp(solidBmp(10, 12030, LOWEST)), COLOUR_SET_USER, RESULT_TOO_MANY_BLOCKS, ""},
    };
    for (const Case& c : cases) {
        const Extraction run = extract(c.picture, c.choice);
        EXPECT_EQ(run.outcome.result, c.expected) << c.name;
        EXPECT_FALSE(run.outcome.colourError) << c.name;
        EXPECT_EQ(run.file, "") << c.name;
        EXPECT_EQ(run.errors, c.errors) << c.name;
    }
}

TEST(BlockHeights, LargestGridIsAccepted)
{
    const Extraction run = extract(encodeBmp(solidBmp(12019, 10, LOWEST)), COLOUR_SET_SYSTEM);
    ASSERT_EQ(run.outcome.result, RESULT_OK);
    const std::vector<std::string> lines = linesOf(run.file);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "1 1201");
    EXPECT_EQ(lines[5].size(), 1201u * 4 - 1);
}

TEST(BlockHeights, EveryCutOfAPictureEndsCleanly)
{
    BmpSpec bmpSpec = solidBmp(21, 11, LOWEST);
    bmpSpec.bitCount = 4;
    bmpSpec.palette = {LOWEST};
    bmpSpec.pixels.assign(21 * 11, 0);
    const std::string whole = encodeBmp(bmpSpec);
    for (std::size_t cut = 1; cut < whole.size(); ++cut) {
        const Extraction run = extract(whole.substr(0, cut), COLOUR_SET_SYSTEM);
        // Only the last row's padding byte may be missing.
        const int expected = cut >= whole.size() - 1 ? RESULT_OK : cut < 2 ? RESULT_TYPE_UNREADABLE : RESULT_READ_ERROR;
        ASSERT_EQ(run.outcome.result, expected) << "cut at " << cut;
        if (expected != RESULT_OK) {
            ASSERT_EQ(run.file, "") << "cut at " << cut;
        }
    }
}

TEST(BlockHeights, ReadsImageMagickPictures)
{
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed; pictures it writes are not checked";
    TempDir dir;
    const std::string expected = std::string("20 30\n2 3\n20\n25\n") + SYSTEM_SET_LINE + "100 100 100\n100 100 100\n";
    for (const char* target : {"out.bmp", "BMP3:out.bmp"}) {
        const std::string command = "cd '" + dir.path().string() + "' && convert -size 30x20 xc:'rgb(0,132,33)' " + target;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const Extraction run = extract(readFile(dir.path() / "out.bmp"), COLOUR_SET_SYSTEM);
        EXPECT_EQ(run.outcome.result, RESULT_OK) << target;
        EXPECT_EQ(run.file, expected) << target;
    }
}
