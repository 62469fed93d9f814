#include "forge/extract/block_heights.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

using namespace qarn_test;

namespace {

// The extraction of `spec` (its file made `fileSize` long with a hole, if
// given): its result and the height values file.
std::pair<ExtractResult, std::string> extractFrom(const BmpSpec& spec, std::uintmax_t fileSize = 0)
{
    TempDir dir;
    writeBmp(dir.file("map.bmp"), spec);
    if (fileSize > 0)
        std::filesystem::resize_file(dir.file("map.bmp"), fileSize);
    std::FILE* heights = std::fopen(dir.file("h.dat").c_str(), "wt");
    const ExtractResult result = extractBlockHeights(dir.file("map.bmp"), heights, 100, 20, ColourSet::System).result;
    std::fclose(heights);
    return {result, readFile(dir.file("h.dat"))};
}

} // namespace

// Only the sample pixels carry the map (rungs 0 and 1 of the system set); every
// other pixel is noise, so a row or column read from the wrong place shows.
TEST(SampledReading, EveryDepthAndRowOrderReadsTheSamplePixelsAlone)
{
    const std::uint32_t rungs[] = {rgb(0, 132, 33), rgb(99, 198, 0)}, raw555[] = {0x0204, 0x3300};
    const std::pair<int, bool> cases[] = {{1, false}, {4, true}, {8, false}, {16, true}, {24, false}, {24, true}};
    for (const auto& [bits, topDown] : cases) {
        BmpSpec spec = solidBmp(30, 20, 0);
        spec.bitCount = static_cast<std::uint16_t>(bits);
        spec.topDown = topDown;
        spec.palette.assign(rungs, rungs + 2);
        std::mt19937 noise(7);
        for (std::size_t i = 0; i < spec.pixels.size(); ++i) {
            const std::size_t x = i % 30, y = i / 30, k = (x / 10 + y / 10) % 2;
            spec.pixels[i] = x % 10 != 5 || y % 10 != 5 ? noise() : bits == 24 ? rungs[k] : bits == 16 ? raw555[k] : k;
        }
        const auto [result, text] = extractFrom(spec);
        EXPECT_EQ(result, ExtractResult::Ok);
        EXPECT_TRUE(text.ends_with("\n100 120 100\n120 100 120\n")) << bits << " bits:\n" << text;
    }
}

// 100000 x 100000 pixels in a 30 GB file of one hole: refused from the header
// alone, without the memory or the time to decode it.
TEST(SampledReading, ATooLargePictureIsRefusedBeforeItsPixelsAreRead)
{
    BmpSpec spec;
    spec.headerWidth = spec.headerHeight = 100000;
    EXPECT_EQ(extractFrom(spec, 54 + 300000ULL * 100000).first, ExtractResult::TooManyBlocks);
}
