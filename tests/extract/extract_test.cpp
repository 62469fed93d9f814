// The picture reader, the elevation colour sets and the height values file.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <future>
#include <memory>

#include "forge/extract/block_heights.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"
#include "forge/extract/height_values_file.h"
#include "forge/extract/result_codes.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

ExtractResult load(const std::string& bytes, BmpImage& image, long* positionAfter = nullptr)
{
    std::FILE* f = scratchFile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    const ExtractResult result = loadBmp(f, image);
    if (positionAfter)
        *positionAfter = std::ftell(f);
    std::fclose(f);
    return result;
}

std::uint32_t colourAt(const BmpImage& image, int x, int y)
{
    const std::uint8_t* p = image.pixel(x, y);
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

// Every pixel differs from its neighbours: the palette index or raw value of (x, y).
std::uint32_t pattern(int bits, int x, int y)
{
    const std::uint32_t n = static_cast<std::uint32_t>(x * 5 + y * 11 + 3);
    return bits <= 8 ? n % (1u << bits) : (n * 2654435761u) & (bits == 16 ? 0x7FFFu : 0xFFFFFFu);
}

std::vector<std::uint32_t> palette(int bits)
{
    std::vector<std::uint32_t> colours;
    for (std::uint32_t i = 0; bits <= 8 && i < (1u << bits); ++i)
        colours.push_back(((i * 7 + 1) & 0xFF) << 16 | (255 - i) << 8 | ((i * 3 + 100) & 0xFF));
    return colours;
}

// The colour a pixel of pattern() must decode to; 16-bit pixels are 5-5-5.
std::uint32_t decoded(int bits, std::uint32_t v)
{
    if (bits <= 8)
        return palette(bits)[v];
    if (bits == 24)
        return v;
    auto widen = [](std::uint32_t c) { return (c << 3) | (c >> 2); };
    return widen((v >> 10) & 31) << 16 | widen((v >> 5) & 31) << 8 | widen(v & 31);
}

struct Extraction {
    ExtractionResult outcome;
    std::string file; // the height values file as written
};

// One extraction of `picture` into a fresh height values file.
Extraction extract(const std::string& picture, ColourSet choice, std::int32_t min = 100, std::int32_t interval = 20)
{
    TempDir dir;
    writeFile(dir.file("map.bmp"), picture);
    std::FILE* heights = std::fopen(dir.file("heights").c_str(), "wb");
    Extraction run{extractBlockHeights(dir.file("map.bmp"), heights, min, interval, choice), ""};
    std::fclose(heights);
    run.file = readFile(dir.file("heights"));
    return run;
}

std::string solid(int width, int height, std::uint32_t colour)
{
    return encodeBmp(width, height, 24, [=](int, int) { return colour; });
}

constexpr std::uint32_t LOWEST = 0x008421, SECOND = 0x63C600, BLUE1 = 0x0080C0, WHITE = 0xFFFFFF;

const char* const SYSTEM_SET_LINE = "100 120 140 160 180 200 220 240 260 280 300 320 340 360 380 400 420 440 "
                                    "-9010 -9020 -9030 -9040 -9050 -9990 -9999 \n";

} // namespace

TEST(BmpReader, DecodesEveryDepthHeaderAndRowOrder)
{
    for (int bits : {1, 4, 8, 16, 24})
        for (std::uint32_t header : {12u, 40u, 64u, 124u})
            for (bool topDown : {false, true})
                for (int width : {1, 5, 9, 13, 17, 25, 31, 33}) {
                    SCOPED_TRACE(testing::Message() << bits << " bits, header " << header << ", width " << width
                                                    << (topDown ? ", top-down" : ""));
                    BmpImage image;
                    long after = 0;
                    const std::string bytes = encodeBmp(
                        width, 3, bits, [&](int x, int y) { return pattern(bits, x, y); }, palette(bits), header,
                        topDown);
                    ASSERT_EQ(load(bytes, image, &after), ExtractResult::Ok);
                    ASSERT_EQ(image.width, width);
                    ASSERT_EQ(image.height, 3);
                    for (int y = 0; y < 3; ++y)
                        for (int x = 0; x < width; ++x)
                            ASSERT_EQ(colourAt(image, x, y), decoded(bits, pattern(bits, x, y))) << x << "," << y;
                    // Left just after the headers and the palette.
                    EXPECT_EQ(after, 14 + long(header) + long(palette(bits).size()) * (header <= 12 ? 3 : 4));
                }
}

TEST(BmpReader, BandsHoldThePixelsOfTheWholePicture)
{
    TempDir dir;
    for (int bits : {1, 4, 8, 16, 24})
        for (std::uint32_t header : {12u, 40u})
            for (bool topDown : {false, true})
                for (int width : {1, 13, 33}) {
                    SCOPED_TRACE(testing::Message() << bits << " bits, header " << header << ", width " << width
                                                    << (topDown ? ", top-down" : ""));
                    const std::string bytes = encodeBmp(
                        width, 7, bits, [&](int x, int y) { return pattern(bits, x, y); }, palette(bits), header,
                        topDown);
                    BmpImage whole;
                    ASSERT_EQ(load(bytes, whole), ExtractResult::Ok);
                    writeFile(dir.file("p.bmp"), bytes);
                    // Bands of 3 rows from the top; the last, short one ends the file when stored bottom up.
                    for (const auto& [y, count] : {std::pair{0, 3}, {3, 3}, {6, 1}, {2, 3}, {4, 3}}) {
                        FileHandle file(std::fopen(dir.file("p.bmp").c_str(), "rb"));
                        BmpBandReader reader;
                        ASSERT_EQ(reader.open(file.get(), 3), ExtractResult::Ok);
                        ASSERT_EQ(reader.width(), width);
                        ASSERT_EQ(reader.height(), 7);
                        ASSERT_EQ(reader.read(y, count), ExtractResult::Ok);
                        for (int row = y; row < y + count; ++row)
                            for (int x = 0; x < width; ++x)
                                ASSERT_EQ(colourAt(reader.band(), x, row), colourAt(whole, x, row)) << x << "," << row;
                    }
                }
}

TEST(BmpReader, BandsOutsideThePictureOrPastTheFileAreReadErrors)
{
    TempDir dir;
    const std::string bytes = encodeBmp(13, 700, 24, [](int x, int y) { return pattern(24, x, y); });
    writeFile(dir.file("p.bmp"), bytes);
    FileHandle file(std::fopen(dir.file("p.bmp").c_str(), "rb"));
    BmpBandReader reader;
    ASSERT_EQ(reader.open(file.get(), 3), ExtractResult::Ok);
    for (const auto& [y, count] : {std::pair{-1, 2}, {698, 3}, {0, 4}, {0, 0}})
        EXPECT_EQ(reader.read(y, count), ExtractResult::ReadError) << y << " " << count;
    // Without the last row's padding the file is whole; cut after its
    // headers were read, the upper rows, stored last, are gone.
    writeFile(dir.file("p.bmp"), bytes.substr(0, bytes.size() - 1));
    EXPECT_EQ(reader.read(0, 3), ExtractResult::Ok);
    writeFile(dir.file("p.bmp"), bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(reader.read(100, 3), ExtractResult::ReadError);
}

TEST(BmpReader, HeaderChecksGiveTheirCodes)
{
    for (const Row& row : readTable("extract/bmp_headers.tsv")) {
        const int bits = std::stoi(row[2]);
        std::string bytes = encodeBmp(4, 2, bits, [](int, int) { return 1u; }, palette(bits),
                                      static_cast<std::uint32_t>(std::stoul(row[1])));
        std::istringstream patches(row[3]);
        for (std::string patch; patches >> patch;) {
            std::size_t at = 0, size = 0;
            long long value = 0;
            std::sscanf(patch.c_str(), "%zu:%zu:%lli", &at, &size, &value);
            for (std::size_t i = 0; i < size; ++i)
                bytes[at + i] = static_cast<char>((static_cast<unsigned long long>(value) >> (8 * i)) & 0xFF);
        }
        BmpImage image;
        EXPECT_EQ(codeNumber(load(bytes, image)), std::stoi(row[4])) << row[0];
        EXPECT_EQ(image.pixels == nullptr, row[4] != "0") << row[0];
    }
}

TEST(BmpReader, EveryCutIsAReadErrorUntilOnlyTheLastRowPaddingIsMissing)
{
    for (int bits : {1, 4, 8, 16, 24})
        for (std::uint32_t header : {12u, 40u, 124u}) {
            const std::string whole =
                encodeBmp(13, 3, bits, [&](int x, int y) { return pattern(bits, x, y); }, palette(bits), header);
            const std::size_t padding = (4 - (13 * bits + 7) / 8 % 4) % 4;
            for (std::size_t cut = 0; cut < whole.size(); ++cut) {
                BmpImage image;
                const ExtractResult expected = cut < whole.size() - padding ? ExtractResult::ReadError : ExtractResult::Ok;
                ASSERT_EQ(load(whole.substr(0, cut), image), expected)
                    << bits << " bits, header " << header << ", cut at " << cut;
            }
        }
}

TEST(ColourSets, SystemSetClimbsTheLadderAndFlagsReservedColours)
{
    BmpImage image;
    ASSERT_EQ(load(solid(10, 10, WHITE), image), ExtractResult::Ok);
    ColourHeightSet set;
    ASSERT_EQ(buildColourHeightSet(image, ColourSet::System, 100, 20, set), ExtractResult::Ok);
    const std::pair<std::uint32_t, float> lookups[] = {
        {LOWEST, 100},      {SECOND, 120},      {0xE76300, 440},    {BLUE1, -9020},     {0xFFFF00, -9050},
        {0x0000FF, -9010},  {0x00C0C0, -9030},  {0x00FF00, -9040},  {WHITE, -9990},     {0, -9999},
        {0x010203, -9999}};
    for (const auto& [colour, height] : lookups) {
        ColourHeightSet fresh = set;
        const std::uint8_t pixel[3] = {std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16)};
        EXPECT_EQ(heightForColour(fresh, pixel), height) << std::hex << colour;
        EXPECT_EQ(fresh.colourError, height < 0 && height != -9020) << std::hex << colour;
    }
    // The top rung may reach the largest whole number a float holds exactly, not pass it.
    EXPECT_EQ(buildColourHeightSet(image, ColourSet::System, 16777216 - 17 * 1000, 1000, set), ExtractResult::Ok);
    EXPECT_EQ(buildColourHeightSet(image, ColourSet::System, 16777216 - 17 * 1000 + 1, 1000, set),
              ExtractResult::HeightsTooLarge);
}

TEST(ColourSets, UserBandIsReadUpToItsFirstWhiteBlock)
{
    for (Row row : readTable("extract/user_bands.tsv")) {
        row.resize(6);
        std::vector<std::uint32_t> band;
        std::istringstream colours(row[2]), overrides(row[5]);
        for (std::string c; colours >> c;)
            band.push_back(std::stoul(c, nullptr, 16));
        std::map<std::pair<int, int>, std::uint32_t> painted;
        for (int x, y; overrides >> x && overrides.ignore() >> y && overrides.ignore();)
            overrides >> std::hex >> painted[{x, y}] >> std::dec;
        const std::string bytes = encodeBmp(std::stoi(row[1]), 20, 24, [&](int x, int y) {
            if (painted.count({x, y}))
                return painted[{x, y}];
            return y < 10 && std::size_t(x / 10) < band.size() ? band[std::size_t(x / 10)] : 0x780078u;
        });
        BmpImage image;
        ASSERT_EQ(load(bytes, image), ExtractResult::Ok);
        ColourHeightSet set;
        ASSERT_EQ(buildColourHeightSet(image, ColourSet::User, 7, std::stoi(row[3]), set), ExtractResult::Ok);
        std::string heights;
        for (const ColourHeightEntry& e : set.entries)
            heights += std::to_string(e.height) + " ";
        const std::string own = row[4].empty() ? "" : row[4] + " ";
        EXPECT_EQ(heights, own + "-9010 -9020 -9030 -9040 -9050 -9990 -9999 ") << row[0];
    }
}

TEST(HeightValuesFile, WorkedExampleByteForByte)
{
    const Extraction run = extract(solid(30, 20, LOWEST), ColourSet::System);
    EXPECT_EQ(run.outcome.result, ExtractResult::Ok);
    EXPECT_FALSE(run.outcome.colourError);
    EXPECT_EQ(run.file, std::string("20 30\n2 3\n20\n25\n") + SYSTEM_SET_LINE + "100 100 100\n100 100 100\n");
}

TEST(HeightValuesFile, ColourErrorStillWritesTheWholeFile)
{
    const std::string picture = encodeBmp(20, 10, 24, [](int x, int) { return x < 10 ? LOWEST : 0x0000FFu; });
    const Extraction run = extract(picture, ColourSet::System);
    EXPECT_EQ(run.outcome.result, ExtractResult::Ok);
    EXPECT_TRUE(run.outcome.colourError);
    EXPECT_EQ(run.file.substr(run.file.size() - 10), "100 -9010\n");
}

// The other failures show through qarn build (tests/cli/build_cases.tsv).
TEST(HeightValuesFile, GridsUpTo1201BlocksAcrossOrDownAreAccepted)
{
    EXPECT_NE(extract(solid(12019, 10, LOWEST), ColourSet::System).file.find("\n1 1201\n"), std::string::npos);
    EXPECT_NE(extract(solid(10, 12019, LOWEST), ColourSet::System).file.find("\n1201 1\n"), std::string::npos);
    EXPECT_EQ(extract(solid(10, 12030, LOWEST), ColourSet::User).outcome.result, ExtractResult::TooManyBlocks);
    EXPECT_EQ(extract(solid(20, 19, LOWEST), ColourSet::User).outcome.result, ExtractResult::NoMapBlocks);
}

// Only the sample pixels carry the map (rungs 0 and 1); every other pixel is
// noise, so a row or column read from the wrong place shows.
TEST(HeightValuesFile, OnlyTheSamplePixelsAreRead)
{
    const std::uint32_t rungs[] = {LOWEST, SECOND}, raw555[] = {0x0204, 0x3300};
    const std::pair<int, bool> cases[] = {{1, false}, {4, true}, {8, false}, {16, true}, {24, false}, {24, true}};
    for (const auto& [bitCount, topDown] : cases) {
        const int bits = bitCount; // clang 14 captures no structured binding in a lambda
        const std::string picture = encodeBmp(
            30, 20, bits,
            [&](int x, int y) -> std::uint32_t {
                const int k = (x / 10 + y / 10) % 2;
                if (x % 10 != 5 || y % 10 != 5)
                    return pattern(bits, x, y);
                return bits == 24 ? rungs[k] : bits == 16 ? raw555[k] : std::uint32_t(k);
            },
            {LOWEST, SECOND}, 40, topDown);
        const Extraction run = extract(picture, ColourSet::System);
        EXPECT_TRUE(run.file.ends_with("\n100 120 100\n120 100 120\n")) << bits << " bits:\n" << run.file;
    }
}

// 100000 x 100000 pixels in a 30 GB file of one hole: refused from the header
// alone, without the memory or the time to decode it.
TEST(HeightValuesFile, ATooLargePictureIsRefusedFromItsHeader)
{
    TempDir dir;
    writeFile(dir.file("map.bmp"), encodeBmp(1, 1, 24, [](int, int) { return 0u; }));
    std::string bytes = readFile(dir.file("map.bmp"));
    for (int i = 0; i < 4; ++i) // width and height fields
        bytes[18 + i] = bytes[22 + i] = static_cast<char>((100000u >> (8 * i)) & 0xFF);
    writeFile(dir.file("map.bmp"), bytes);
    std::filesystem::resize_file(dir.file("map.bmp"), 54 + 300000ULL * 100000);
    std::FILE* heights = std::fopen(dir.file("h.dat").c_str(), "wb");
    EXPECT_EQ(extractBlockHeights(dir.file("map.bmp"), heights, 100, 20, ColourSet::System).result,
              ExtractResult::TooManyBlocks);
    std::fclose(heights);
}

// The window's height values file: never through a link or onto a FIFO, and a
// second build on the same name waits until the first has let go.
TEST(HeightValuesFile, RefusesLinksAndFifosAndWaitsForTheBuildHoldingIt)
{
    TempDir dir;
    writeFile(dir.file("victim.txt"), "keep");
    // Windows' C++ library makes no links (Wine's neither): there the device stands alone.
    std::error_code noLinks;
    fs::create_symlink(dir.file("victim.txt"), dir.file("link.dat"), noLinks);
#ifdef _WIN32
    // A device name is Windows' file that never ends.
    const std::string device = dir.file("nul.dat");
#else
    const std::string device = dir.file("fifo.dat");
    ::mkfifo(device.c_str(), 0600);
#endif
    HeightValuesFile refused;
    if (!noLinks) {
        EXPECT_FALSE(refused.open(dir.file("link.dat")));
    }
    EXPECT_FALSE(refused.open(device));
    EXPECT_EQ(readFile(dir.file("victim.txt")), "keep");

    auto first = std::make_unique<HeightValuesFile>();
    ASSERT_TRUE(first->open(dir.file("hightvals.dat")));
    HeightValuesFile second;
    std::future<bool> waiting = std::async(std::launch::async, [&] { return second.open(dir.file("hightvals.dat")); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    first->remove();
    first.reset();
    EXPECT_TRUE(waiting.get());
    EXPECT_TRUE(fs::is_regular_file(dir.file("hightvals.dat")));
}
