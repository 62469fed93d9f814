// The relief preview: colours and shading against pixels worked out
// independently (relief_preview_expected.py), and the PNG file it writes.
#include "forge/output/relief_preview.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "tests/grid/grid_fixture.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

constexpr int ROWS = 4;
constexpr int COLS = 5;

// Same grid as relief_preview_expected.py; the 2 x 2 block at the bottom right is a flat area.
const float HEIGHTS[ROWS * COLS] = {
    100, 120, 140, 160, 180, //
    100, 130, 170, 200, 220, //
    90,  110, 150, 150, 150, //
    80,  90,  150, 150, 150,
};
const std::uint8_t FLAT[ROWS * COLS] = {
    0, 0, 0, 0, 0, //
    0, 0, 0, 0, 0, //
    0, 0, 0, 1, 1, //
    0, 0, 0, 1, 1,
};

struct Pixel {
    int red, green, blue;
};

// Output of relief_preview_expected.py.
const Pixel EXPECTED[ROWS * COLS] = {
    {109, 179,  83}, {195, 236, 119}, {255, 255, 160}, {255, 235, 144}, {226, 170, 110},
    { 99, 163,  76}, {207, 226, 122}, {229, 175, 105}, {172, 151, 133}, {210, 210, 210},
    { 61, 116,  57}, {116, 160,  77}, {199, 183, 114}, { 52, 101, 165}, { 47,  92, 150},
    { 45, 109,  58}, { 75, 143,  70}, {253, 232, 144}, { 62, 120, 196}, { 62, 120, 196},
};

Pixel pixelAt(const PreviewImage& image, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                            static_cast<std::size_t>(x)) * 3;
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

// The script and the renderer round the same real numbers in different ways
// of computing them, so a channel may differ by one.
void expectNear(const Pixel& actual, const Pixel& expected, int x, int y)
{
    EXPECT_NEAR(actual.red, expected.red, 1) << "pixel " << x << ", " << y;
    EXPECT_NEAR(actual.green, expected.green, 1) << "pixel " << x << ", " << y;
    EXPECT_NEAR(actual.blue, expected.blue, 1) << "pixel " << x << ", " << y;
}

} // namespace

TEST(ReliefPreview, MatchesIndependentlyComputedPixels)
{
    const PreviewImage image = renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 1);
    ASSERT_EQ(image.width, COLS);
    ASSERT_EQ(image.height, ROWS);
    ASSERT_EQ(image.rgb.size(), std::size_t{ROWS * COLS * 3});
    for (int y = 0; y < ROWS; ++y)
        for (int x = 0; x < COLS; ++x)
            expectNear(pixelAt(image, x, y), EXPECTED[y * COLS + x], x, y);
}

TEST(ReliefPreview, EachCellBecomesASquareOfPixels)
{
    const PreviewImage one = renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 1);
    const PreviewImage three = renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 3);
    ASSERT_EQ(three.width, COLS * 3);
    ASSERT_EQ(three.height, ROWS * 3);
    for (int y = 0; y < three.height; ++y) {
        for (int x = 0; x < three.width; ++x) {
            const Pixel a = pixelAt(three, x, y);
            const Pixel b = pixelAt(one, x / 3, y / 3);
            ASSERT_TRUE(a.red == b.red && a.green == b.green && a.blue == b.blue) << x << ", " << y;
        }
    }
}

TEST(ReliefPreview, WithoutAMaskFlatCellsAreLand)
{
    const PreviewImage masked = renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 1);
    const PreviewImage plain = renderReliefPreview(ROWS, COLS, HEIGHTS, nullptr, 1);
    ASSERT_FALSE(plain.empty());
    // Land cells are unchanged; the flat area's cells lose their water colour.
    EXPECT_EQ(plain.rgb[0], masked.rgb[0]);
    const Pixel lake = pixelAt(plain, 4, 3);
    EXPECT_GT(lake.red, lake.blue);
}

TEST(ReliefPreview, LevelMapIsOneColourWithoutShading)
{
    // No height span (nothing to scale by) and no slope: every pixel the ramp's lowest colour.
    const std::vector<float> level(12, 250.0f);
    const PreviewImage image = renderReliefPreview(3, 4, level.data(), nullptr, 2);
    ASSERT_EQ(image.width, 8);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            expectNear(pixelAt(image, x, y), {46, 112, 60}, x, y);
}

TEST(ReliefPreview, SlopeFacingTheLightIsBrighterThanOneFacingAway)
{
    // A north-south ridge: its western flank faces the north-west light.
    const float ridge[3 * 5] = {0, 50, 100, 50, 0, 0, 50, 100, 50, 0, 0, 50, 100, 50, 0};
    const PreviewImage image = renderReliefPreview(3, 5, ridge, nullptr, 1);
    const Pixel west = pixelAt(image, 1, 1);
    const Pixel east = pixelAt(image, 3, 1);
    EXPECT_GT(west.red + west.green + west.blue, east.red + east.green + east.blue + 60);
}

TEST(ReliefPreview, NonFiniteHeightsCountAsTheLowest)
{
    // With the bottom-left cell (80) gone, the lowest finite height is 90.
    std::vector<float> heights(HEIGHTS, HEIGHTS + ROWS * COLS);
    heights[3 * COLS] = 90.0f;
    const PreviewImage reference = renderReliefPreview(ROWS, COLS, heights.data(), FLAT, 1);
    heights[3 * COLS] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(renderReliefPreview(ROWS, COLS, heights.data(), FLAT, 1).rgb, reference.rgb);
    heights[3 * COLS] = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(renderReliefPreview(ROWS, COLS, heights.data(), FLAT, 1).rgb, reference.rgb);

    const std::vector<float> allNaN(4, std::numeric_limits<float>::quiet_NaN());
    const PreviewImage blank = renderReliefPreview(2, 2, allNaN.data(), nullptr, 1);
    ASSERT_FALSE(blank.empty());
    expectNear(pixelAt(blank, 1, 1), {46, 112, 60}, 1, 1);
}

TEST(ReliefPreview, RefusesInputItCannotDraw)
{
    struct Case {
        const char* what;
        int rows, cols, perCell;
        const float* heights;
    };
    const Case cases[] = {
        {"no heights", 2, 2, 1, nullptr},
        {"no rows", 0, 2, 1, HEIGHTS},
        {"negative columns", 2, -1, 1, HEIGHTS},
        {"no pixels per cell", 2, 2, 0, HEIGHTS},
        {"picture too large", 2, 2, 6000, HEIGHTS},
        {"side overflowing int", 1, 2, std::numeric_limits<int>::max(), HEIGHTS},
    };
    for (const Case& c : cases) {
        const PreviewImage image = renderReliefPreview(c.rows, c.cols, c.heights, nullptr, c.perCell);
        EXPECT_TRUE(image.empty()) << c.what;
        EXPECT_TRUE(image.rgb.empty()) << c.what;
    }
}

TEST(ReliefPreview, GridOverloadDrawsItsHeightsAndBlue1Cells)
{
    // Base values -9020 make Blue1 cells where the test grid has its flat area.
    grid_test::Heights base(ROWS, std::vector<float>(COLS, 10.0f));
    for (int i = 0; i < ROWS * COLS; ++i)
        if (FLAT[i])
            base[static_cast<std::size_t>(i / COLS)][static_cast<std::size_t>(i % COLS)] = -9020.0f;
    ElevationGrid grid = grid_test::loadedGrid(base, GRID_BORDER);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c)
            grid.setHeight(r, c, HEIGHTS[r * COLS + c]);

    EXPECT_EQ(flatAreaMask(grid), std::vector<std::uint8_t>(FLAT, FLAT + ROWS * COLS));
    const PreviewImage fromGrid = renderReliefPreview(grid, 2);
    EXPECT_EQ(fromGrid.rgb, renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 2).rgb);
    EXPECT_TRUE(renderReliefPreview(ElevationGrid{}, 1).empty());
    EXPECT_TRUE(flatAreaMask(ElevationGrid{}).empty());
}

TEST(ReliefPreview, PixelsPerCellMakeTheLongerSideAtLeast500)
{
    struct Case {
        int rows, cols, expected;
    };
    const Case cases[] = {
        {45, 70, 8},    // 560 x 360
        {540, 540, 1},  // the largest map
        {250, 100, 2},  // exactly 500
        {251, 100, 2},
        {249, 10, 3},
        {1, 1, 16},     // capped
        {0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(previewPixelsPerCell(c.rows, c.cols), c.expected) << c.rows << " x " << c.cols;
}

namespace {

struct DecodedPng {
    bool ok = false;
    png_uint_32 width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

DecodedPng decodePng(const std::string& path)
{
    DecodedPng out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return out;
    image.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    out.width = image.width;
    out.height = image.height;
    out.ok = png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
    return out;
}

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at)
{
    return (std::uint32_t{static_cast<unsigned char>(bytes[at])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 2])} << 8) |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 3])};
}

} // namespace

TEST(PreviewPng, WritesAPngThatDecodesToThePicture)
{
    TempDir dir;
    const std::string path = dir.file("preview.png");
    const PreviewImage image = renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 3);
    std::string error;
    ASSERT_TRUE(writePreviewPng(image, path, error)) << error;

    const std::string bytes = readFile(path);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian32(bytes, 16), 15u); // width
    EXPECT_EQ(bigEndian32(bytes, 20), 12u); // height
    EXPECT_EQ(bytes[24], 8);                // bit depth
    EXPECT_EQ(bytes[25], 2);                // colour type RGB

    const DecodedPng decoded = decodePng(path);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 15u);
    EXPECT_EQ(decoded.rgb, image.rgb);
    // Only the target is left: the temporary was renamed over it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(PreviewPng, FailureKeepsAnEarlierFileAndSaysWhy)
{
    TempDir dir;
    const std::string path = dir.file("preview.png");
    writeFile(path, "earlier");
    std::string error;
    EXPECT_FALSE(writePreviewPng(PreviewImage{}, path, error));
    EXPECT_NE(error.find("preview.png"), std::string::npos) << error;

    PreviewImage shortPixels{2, 2, std::vector<std::uint8_t>(11)};
    EXPECT_FALSE(writePreviewPng(shortPixels, path, error));
    EXPECT_EQ(readFile(path), "earlier");

    const std::string missingFolder = dir.file("no-such-folder/preview.png");
    error.clear();
    EXPECT_FALSE(writePreviewPng(renderReliefPreview(ROWS, COLS, HEIGHTS, FLAT, 1), missingFolder, error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;
    EXPECT_EQ(readFile(path), "earlier");
}
