#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

BmpImage imageOf(std::int32_t width, std::int32_t height, Rgb fill)
{
    BmpImage image;
    image.width = width;
    image.height = height;
    image.pixels = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(width) * height * 3);
    for (std::int64_t i = 0; i < std::int64_t{width} * height; ++i) {
        image.pixels[3 * i] = fill.blue;
        image.pixels[3 * i + 1] = fill.green;
        image.pixels[3 * i + 2] = fill.red;
    }
    return image;
}

void paint(BmpImage& image, std::int32_t x, std::int32_t y, Rgb c)
{
    std::uint8_t* p = image.pixels.get() + 3 * (static_cast<std::int64_t>(y) * image.width + x);
    p[0] = c.blue;
    p[1] = c.green;
    p[2] = c.red;
}

// Paints the user band's blocks, left to right, over the whole 10 rows.
void paintBand(BmpImage& image, std::initializer_list<Rgb> blocks)
{
    std::int32_t block = 0;
    for (const Rgb& c : blocks) {
        for (std::int32_t y = 0; y < 10; ++y)
            for (std::int32_t x = 10 * block; x < 10 * block + 10 && x < image.width; ++x)
                paint(image, x, y, c);
        ++block;
    }
}

float lookUp(ColourHeightSet& set, Rgb c)
{
    const std::uint8_t pixel[3] = {c.blue, c.green, c.red};
    return heightForColour(set, pixel);
}

std::vector<std::int32_t> heightsOf(const ColourHeightSet& set)
{
    std::vector<std::int32_t> heights;
    for (const ColourHeightEntry& e : set.entries)
        heights.push_back(e.height);
    return heights;
}

const std::vector<std::int32_t> RESERVED_CODES = {-9010, -9020, -9030, -9040, -9050, -9990, -9999};

std::vector<std::int32_t> withReserved(std::vector<std::int32_t> heights)
{
    heights.insert(heights.end(), RESERVED_CODES.begin(), RESERVED_CODES.end());
    return heights;
}

constexpr Rgb RED{200, 0, 0};
constexpr Rgb ORANGE{250, 150, 0};
constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb PURPLE{120, 0, 120};

} // namespace

TEST(ColourHeightSet, SystemSetClimbsTheLadderAndFlagsReservedColours)
{
    const BmpImage image = imageOf(10, 10, WHITE);
    ColourHeightSet set;
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_SYSTEM, 100, 20, set), RESULT_OK);
    std::vector<std::int32_t> ladder;
    for (int k = 0; k < 18; ++k)
        ladder.push_back(100 + 20 * k);
    EXPECT_EQ(heightsOf(set), withReserved(ladder));

    struct Case {
        Rgb colour;
        float height;
        bool raises;
    };
    for (const Case& c : {Case{{0, 132, 33}, 100, false}, Case{{99, 198, 0}, 120, false},
                          Case{{231, 99, 0}, 440, false}, Case{{0, 128, 192}, -9020, false},
                          Case{{255, 255, 0}, -9050, true}, Case{{0, 0, 255}, -9010, true},
                          Case{{0, 192, 192}, -9030, true}, Case{{0, 255, 0}, -9040, true},
                          Case{{255, 255, 255}, -9990, true}, Case{{0, 0, 0}, -9999, true},
                          Case{{1, 2, 3}, -9999, true}}) {
        ColourHeightSet fresh = set;
        EXPECT_EQ(lookUp(fresh, c.colour), c.height);
        EXPECT_EQ(fresh.colourError, c.raises) << c.height;
    }
}

TEST(ColourHeightSet, HeightsBeyondTheIntRangeAreRefusedNotWrapped)
{
    const BmpImage image = imageOf(40, 20, WHITE);
    ColourHeightSet set;
    // The top rung (17) lands exactly on the largest int: accepted.
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_SYSTEM, 2147483647 - 17 * 1000, 1000, set), RESULT_OK);
    EXPECT_EQ(heightsOf(set)[17], 2147483647);
    // One metre more and rung 17 would wrap to a negative height.
    EXPECT_EQ(buildColourHeightSet(image, COLOUR_SET_SYSTEM, 2147483647 - 17 * 1000 + 1, 1000, set),
              RESULT_HEIGHTS_TOO_LARGE);
    EXPECT_EQ(buildColourHeightSet(image, COLOUR_SET_SYSTEM, 2000000000, 100000000, set), RESULT_HEIGHTS_TOO_LARGE);

    // A painted band: only the rungs it holds count.
    BmpImage band = imageOf(40, 20, WHITE);
    paintBand(band, {{10, 20, 30}, {40, 50, 60}, WHITE});
    EXPECT_EQ(buildColourHeightSet(band, COLOUR_SET_USER, 2147483647 - 5, 5, set), RESULT_OK);
    EXPECT_EQ(buildColourHeightSet(band, COLOUR_SET_USER, 2147483647 - 4, 5, set), RESULT_HEIGHTS_TOO_LARGE);
}

TEST(ColourHeightSet, UserBandEndsAtTheFirstWhiteBlock)
{
    BmpImage image = imageOf(60, 30, PURPLE);
    paintBand(image, {RED, ORANGE, WHITE, PURPLE, RED});
    ColourHeightSet set;
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_USER, 50, 10, set), RESULT_OK);
    EXPECT_EQ(heightsOf(set), withReserved({50, 60}));
    EXPECT_EQ(lookUp(set, ORANGE), 60);
    EXPECT_FALSE(set.colourError);
    EXPECT_EQ(lookUp(set, PURPLE), -9999); // only right of the white block
    EXPECT_TRUE(set.colourError);
}

TEST(ColourHeightSet, UserBandCountsOnRowThreeAndReadsRowFive)
{
    BmpImage image = imageOf(40, 30, PURPLE);
    paintBand(image, {RED, ORANGE, ORANGE, PURPLE});
    paint(image, 25, 3, WHITE); // third block is white where it is counted
    paint(image, 15, 5, {1, 1, 1}); // second block's colour comes from row 5
    ColourHeightSet set;
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_USER, 0, 5, set), RESULT_OK);
    ASSERT_EQ(set.entries.size(), 9u);
    EXPECT_EQ(lookUp(set, {1, 1, 1}), 5);
    EXPECT_EQ(lookUp(set, ORANGE), -9999);
}

TEST(ColourHeightSet, UserBandCornerCases)
{
    struct Case {
        const char* name;
        std::int32_t width;
        std::initializer_list<Rgb> band;
        std::int32_t interval;
        std::vector<std::int32_t> heights;
    };
    const Case cases[] = {
        {"first block white", 50, {WHITE, RED}, 10, withReserved({})},
        {"reserved colour painted", 50, {RED, {0, 255, 0}, ORANGE, WHITE}, 10, withReserved({7, -9040, 17})},
        {"interval 0", 50, {RED, ORANGE, PURPLE, WHITE}, 0, withReserved({7, 7, 7})},
        {"no white: every block, the last too", 30, {RED, ORANGE, PURPLE}, 10, withReserved({7, 17, 27})},
        {"no white, part block of 6 columns", 26, {RED, ORANGE, PURPLE}, 10, withReserved({7, 17, 27})},
        {"part block of 5 columns is no block", 25, {RED, ORANGE, PURPLE}, 10, withReserved({7, 17})},
        {"5 pixels wide", 5, {RED}, 10, withReserved({})},
    };
    for (const Case& c : cases) {
        BmpImage image = imageOf(c.width, 20, PURPLE);
        paintBand(image, c.band);
        ColourHeightSet set;
        ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_USER, 7, c.interval, set), RESULT_OK);
        EXPECT_EQ(heightsOf(set), c.heights) << c.name;
    }
}

TEST(ColourHeightSet, FirstMatchWinsAndTheFlagBelongsToOneSet)
{
    BmpImage image = imageOf(40, 20, PURPLE);
    paintBand(image, {RED, RED, {0, 128, 192}, WHITE});
    ColourHeightSet set;
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_USER, 100, 25, set), RESULT_OK);
    EXPECT_EQ(heightsOf(set), withReserved({100, 125, -9020}));
    EXPECT_EQ(lookUp(set, RED), 100);
    EXPECT_EQ(lookUp(set, {0, 128, 192}), -9020);
    EXPECT_FALSE(set.colourError);
    lookUp(set, {0, 0, 255});
    EXPECT_TRUE(set.colourError);
    lookUp(set, RED);
    EXPECT_TRUE(set.colourError); // never cleared by a later good colour

    ColourHeightSet next;
    ASSERT_EQ(buildColourHeightSet(image, COLOUR_SET_USER, 100, 25, next), RESULT_OK);
    EXPECT_FALSE(next.colourError);
}

TEST(ColourHeightSet, TablesAgree)
{
    static_assert(SYSTEM_COLOUR_SET.size() == 25);
    for (std::size_t i = 0; i < RESERVED_COLOURS.size(); ++i) {
        EXPECT_EQ(SYSTEM_COLOUR_SET[18 + i], RESERVED_COLOURS[i].colour);
        EXPECT_EQ(reservedCodeFor(RESERVED_COLOURS[i].colour), RESERVED_CODES[i]);
    }
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_EQ(reservedCodeFor(SYSTEM_COLOUR_SET[i]), 0) << i;
}
