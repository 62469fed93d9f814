// The picture check on small pictures with planted mistakes against the lines
// of planted.txt (the picture kept whole or read in bands), the words for refused BMPs, the marked picture's outlines,
// and qarn check and qarn build around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "common/map_data_file.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/picture_check.h"
#include "forge/output/marked_picture.h"
#include "painter/model/map_picture_file.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

std::vector<std::string> expectedLines(const std::string& name)
{
    std::map<std::string, std::vector<std::string>> cases;
    std::ifstream in(QARN_SOURCE_DIR "/tests/check/planted.txt");
    std::string line, current;
    while (std::getline(in, line))
        if (line.starts_with('['))
            cases[current = line.substr(1, line.size() - 2)];
        else if (!line.empty() && !line.starts_with('#'))
            cases[current].push_back(line);
    return cases.at(name);
}

// One character a block: rungs 0 to 3, reserved Blue, blacK, White, bLue1
// (flat area), u a shade off rung 1, A and C two colours of a user's band;
// s rung 0 with one stray pixel in its last corner, m rung 0 painted with a
// soft brush (three colours).
std::string paint(const std::vector<std::string>& blocks, int extraCols = 0, int extraRows = 0)
{
    const std::map<char, std::uint32_t> colours = {
        {'0', 0x008421}, {'s', 0x008421}, {'m', 0x008421}, {'1', 0x63C600}, {'2', 0x42E700}, {'3', 0xA5E742}, {'B', 0x0000FF},
        {'K', 0x000000}, {'W', 0xFFFFFF}, {'L', 0x0080C0}, {'u', 0x63C601}, {'A', 0xC80A0A}, {'C', 0x0AC80A}};
    const int rows = int(blocks.size()), cols = int(blocks[0].size());
    return encodeBmp(cols * 10 + extraCols, rows * 10 + extraRows, 24, [&](int x, int y) {
        const char block = blocks[std::min(y / 10, rows - 1)][std::min(x / 10, cols - 1)];
        if ((block == 's' && x % 10 == 9 && y % 10 == 9) || (block == 'm' && x % 10 < 2))
            return 0x63C600u;
        if (block == 'm' && y % 10 == 9)
            return 0x42E700u;
        return colours.at(block);
    });
}

// A 20 x 10 picture whose header claims another bit count and compression.
std::string oddBmp(std::uint16_t bitCount, std::uint32_t compression)
{
    std::string bytes = encodeBmp(20, 10, 24, [](int, int) { return 0u; });
    for (int i = 0; i < 2; ++i)
        bytes[28 + i] = static_cast<char>(bitCount >> (8 * i));
    for (int i = 0; i < 4; ++i)
        bytes[30 + i] = static_cast<char>(compression >> (8 * i));
    return bytes;
}

struct Planted {
    const char* name;
    std::vector<std::string> blocks;
    ColourSet colourSet = ColourSet::System;
    int extraCols = 0, extraRows = 0;
    bool withHeights = false; // minimum 100 m, interval 20 m
    bool mapData = false;     // made for 50 x 50 tens of metres
    std::size_t linesPerKind = CHECK_LINES_PER_KIND;
    bool everyPair = false;
};

const Planted PLANTED[] = {
    {.name = "colours", .blocks = {"0B00", "L000", "K00u"}},
    {.name = "mixed", .blocks = {"s00", "00m"}},
    {.name = "cliffs in rungs, every pair", .blocks = {"021", "000"}, .everyPair = true},
    {.name = "two cliffs", .blocks = {"03000", "00000", "00010", "00003"}},
    {.name = "two faces of a ridge", .blocks = {"0330"}},
    {.name = "cliffs in metres", .blocks = {"02"}, .withHeights = true},
    {.name = "size", .blocks = {"000000", "000000", "000000", "000000", "000000"}, .mapData = true},
    {.name = "leftover", .blocks = {"00", "00"}, .extraCols = 7, .extraRows = 3},
    {.name = "one leftover column", .blocks = {"00"}, .extraCols = 1},
    {.name = "user set with band", .blocks = {"ACW2", "AC0A", "AAWA"}, .colourSet = ColourSet::User, .mapData = true},
    {.name = "capped", .blocks = {"uuuu"}, .linesPerKind = 2},
    {.name = "no whole block", .blocks = {"0"}, .extraCols = -1},
};

void PrintTo(const Planted& p, std::ostream* os) { *os << p.name; }

class PlantedMistakes : public testing::TestWithParam<Planted> {};

TEST_P(PlantedMistakes, AreListedAsWrittenAndStopTheBuildExactlyWhenExtractionDoes)
{
    const Planted& p = GetParam();
    TempDir dir;
    writeFile(dir.path() / "map.bmp", paint(p.blocks, p.extraCols, p.extraRows));
    if (std::string error;
        p.mapData && writeMapDataFile(dir.file(MAP_DATA_FILE_NAME), {50, 50, 30.9}, error) != FileResult::Ok)
        FAIL() << error;
    std::FILE* heights = scratchFile();
    const ExtractionResult extracted = extractBlockHeights(dir.file("map.bmp"), heights, 100, 20, p.colourSet);
    std::fclose(heights);
    // The picture kept whole, or read a block row at a time.
    for (const bool drawable : {true, false}) {
        SCOPED_TRACE(drawable ? "drawable" : "in bands");
        const PictureCheck check = checkPicture(
            {.bmpFilePath = dir.file("map.bmp"), .colourSet = p.colourSet, .withHeights = p.withHeights,
             .minElevation = 100, .contourInterval = 20, .scope = CheckScope::Everything, .drawable = drawable});
        EXPECT_EQ(checkReportLines(check, p.linesPerKind, p.everyPair), expectedLines(p.name));
        EXPECT_EQ(check.result, extracted.result);
        EXPECT_EQ(check.colourError, extracted.colourError);
    }
}

INSTANTIATE_TEST_SUITE_P(Check, PlantedMistakes, testing::ValuesIn(PLANTED));

// The bundled sample is the first map a newcomer checks: it passes its own advice.
TEST(SampleMap, PassesItsOwnCheck)
{
    const PictureCheck check = checkPicture({QARN_SOURCE_DIR "/examples/sample-map.bmp", ColourSet::System});
    EXPECT_EQ(checkReportLines(check), std::vector<std::string>{"0 errors, 0 warnings: the picture builds"});
}

TEST(RefusedPicture, NamesWhatIsNotReadAndHowToSaveInstead)
{
    const std::string save = "Save it as an uncompressed 24-bit or 8-bit BMP: in GIMP, File > Export As..., a name "
                             "ending in .bmp, Export, then in the BMP dialog leave Run-Length Encoded unticked and "
                             "choose 24 bits R8 G8 B8 (under Advanced Options in GIMP 2.10, RGB format in GIMP 3).";
    const std::string alpha = " Or remove the alpha channel first: Layer > Transparency > Remove Alpha Channel.";
    const struct { std::uint16_t bitCount; std::uint32_t compression; std::string what; } refused[] = {
        {8, 1, "RLE compression"},  {4, 2, "RLE compression"},      {16, 3, "bit fields (colour masks)"},
        {2, 0, "2 bits per pixel"}, {0, 4, "a JPEG picture inside"}, {0, 5, "a PNG picture inside"},
        {32, 3, "32 bits per pixel (usually an alpha channel)"},     {24, 6, ""}}; // 6: a bad header, no words
    TempDir dir;
    for (const auto& r : refused) {
        writeFile(dir.path() / "odd.bmp", oddBmp(r.bitCount, r.compression));
        BmpImage image;
        const ExtractResult result = readMapPicture(dir.file("odd.bmp"), image);
        const std::string expected = r.what.empty() ? "" : "The picture uses " + r.what +
            ", which the builder does not read. " + save + (r.bitCount == 32 ? alpha : "");
        EXPECT_EQ(describeBmpRefusal(dir.file("odd.bmp"), result), expected) << r.bitCount << " " << r.compression;
    }
}

TEST(MarkedPicture, OutlinesErrorsAndWarningsJustOutsideTheirBlocks)
{
    TempDir dir;
    writeFile(dir.path() / "map.bmp", paint({"B000m"}));
    const PreviewImage image = renderMarkedPicture(checkPicture({dir.file("map.bmp"), ColourSet::System}));
    // 5 blocks across fit 1200 pixels at 240 a block; outlines are 48 pixels thick. Row 120:
    ASSERT_EQ(image.width, 1200);
    ASSERT_EQ(image.height, 240);
    auto at = [&](int x) { return std::vector<int>(&image.rgb[3 * (144000 + x)], &image.rgb[3 * (144000 + x + 1)]); };
    const std::vector<int> red{230, 0, 0}, blue{0, 60, 230};
    EXPECT_EQ(at(240), red); // right of the reserved block
    EXPECT_EQ(at(287), red);
    EXPECT_NE(at(288), red);
    EXPECT_EQ(at(912), blue); // left of the mixed block
}

// Where each kind of finding is drawn: a cliff around both its blocks, the
// leftover rows and a picture of the wrong size inside their edges.
TEST(MarkedPicture, RingsEachFindingWhereItLies)
{
    const struct {
        std::vector<std::string> blocks;
        int extraRows;
        bool otherSize; // a map data file made for another size beside it
        int x, y;
        bool blue;
    } cases[] = {
        // 4 blocks across: 300 pixels a block, rings 60 thick; the cliffs are blocks 2-3 and 3-4.
        {{"0020"}, 0, false, 930, 150, true},  // right of the pair 2-3
        {{"0020"}, 0, false, 630, 150, false}, // inside block 3, no ring of its own
        // 20 x 13 pixels: 600 a block, rings 120 thick; the last 3 rows from y 600 to 780.
        {{"00"}, 3, false, 600, 630, true},
        // 20 x 10 pixels of a 30 x 10 map: the whole picture ringed inside.
        {{"00"}, 0, true, 60, 300, true},
        {{"00"}, 0, true, 600, 300, false},
    };
    const std::vector<int> blue{0, 60, 230};
    for (const auto& c : cases) {
        TempDir dir;
        writeFile(dir.path() / "map.bmp", paint(c.blocks, 0, c.extraRows));
        if (c.otherSize)
            writeFile(dir.path() / "QarnSizer_MAP_Data.xdt", encodeMapData({100, 300, 30.92208078}));
        const PreviewImage image = renderMarkedPicture(checkPicture({dir.file("map.bmp"), ColourSet::System}));
        const std::size_t i = 3 * (std::size_t(c.y) * std::size_t(image.width) + std::size_t(c.x));
        ASSERT_LT(i, image.rgb.size());
        EXPECT_EQ(std::vector<int>(&image.rgb[i], &image.rgb[i + 3]) == blue, c.blue) << c.blocks[0] << " " << c.x;
    }
}

TEST(QarnCheck, ExitsAsABuildWouldAndBuildListsTheFirstTenColourErrors)
{
    TempDir dir;
    writeFile(dir.path() / "wrong.bmp", paint({"uuuuuuuuuuuu"}));
    writeFile(dir.path() / "steep.bmp", paint({"02"}));
    writeFile(dir.path() / "rle.bmp", oddBmp(24, 1));
    const std::string qarn = shellQuoted(QARN_PATH) + " ", args = " --colour-set system --min 100 --interval 20";
    EXPECT_EQ(runIn(dir.path(), qarn + "check steep.bmp" + args).status, 0);
    const CommandRun wrong = runIn(dir.path(), qarn + "check wrong.bmp --colour-set system --marked m.png");
    EXPECT_EQ(wrong.status, 5);
    EXPECT_TRUE(wrong.out.ends_with("\nWrote the marked picture m.png (1200 x 100 pixels)\n")) << wrong.out;
    for (const char* command : {"check", "build"}) {
        const CommandRun refused = runIn(dir.path(), qarn + command + " rle.bmp" + args);
        EXPECT_EQ(refused.status, 4);
        EXPECT_NE(refused.err.find("file\nThe picture uses RLE compression, which"), std::string::npos) << refused.err;
    }
    const CommandRun build = runIn(dir.path(), qarn + "build wrong.bmp" + args);
    EXPECT_EQ(build.status, 5);
    std::string below = "End the program and resolve the colour problem\n";
    for (const std::string& line : expectedLines("qarn build"))
        below += line + "\n";
    EXPECT_TRUE(build.err.ends_with(below)) << build.err;
}

} // namespace
