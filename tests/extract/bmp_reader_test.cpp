#include "forge/extract/bmp_image.h"
#include "forge/extract/result_codes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define QARN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QARN_ASAN 1
#endif
#endif
#ifdef QARN_ASAN
// The out-of-memory test needs a failed allocation to come back as null here too.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

using namespace qarn_test;

namespace {

struct Loaded {
    int result = 0;
    BmpImage image;
    long positionAfter = -1;
};

Loaded loadBytes(const std::string& bytes)
{
    Loaded out;
    std::FILE* f = std::tmpfile();
    if (!f)
        throw std::runtime_error("no temporary file");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    out.result = loadBmp(f, out.image);
    out.positionAfter = std::ftell(f);
    std::fclose(f);
    return out;
}

std::uint32_t colourAt(const BmpImage& image, int x, int y)
{
    const std::uint8_t* p = image.pixel(x, y);
    return rgb(p[2], p[1], p[0]);
}

std::uint32_t widened555(std::uint32_t v)
{
    auto w = [](std::uint32_t c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
    return rgb(w((v >> 10) & 31), w((v >> 5) & 31), w(v & 31));
}

// A picture whose every pixel differs from its neighbours, with the colours
// each pixel must decode to.
BmpSpec patterned(std::int32_t width, std::int32_t height, std::uint16_t bits, std::vector<std::uint32_t>& expected)
{
    BmpSpec bmpSpec;
    bmpSpec.width = width;
    bmpSpec.height = height;
    bmpSpec.bitCount = bits;
    if (bits <= 8)
        for (std::uint32_t i = 0; i < (1u << bits); ++i)
            bmpSpec.palette.push_back(rgb(static_cast<std::uint8_t>(i * 7 + 1), static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(i * 3 + 100)));
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t n = static_cast<std::uint32_t>(x * 5 + y * 11 + 3);
            if (bits <= 8) {
                const std::uint32_t index = n % (1u << bits);
                bmpSpec.pixels.push_back(index);
                expected.push_back(bmpSpec.palette[index]);
            } else if (bits == 16) {
                const std::uint32_t raw = (n * 2654435761u) & 0x7FFF;
                bmpSpec.pixels.push_back(raw);
                expected.push_back(widened555(raw));
            } else {
                const std::uint32_t colour = (n * 2654435761u) & 0xFFFFFF;
                bmpSpec.pixels.push_back(colour);
                expected.push_back(colour);
            }
        }
    }
    return bmpSpec;
}

} // namespace

TEST(BmpReader, DecodesEveryDepthHeaderAndRowOrder)
{
    for (std::uint16_t bits : {1, 4, 8, 16, 24})
        for (std::uint32_t headerSize : {12u, 40u, 64u, 108u, 124u, 200u})
            for (bool topDown : {false, true})
                for (std::int32_t width : {1, 5, 8, 9, 12, 13, 31, 33}) {
                    SCOPED_TRACE(testing::Message() << bits << " bits, header " << headerSize << ", "
                                                    << (topDown ? "top-down" : "bottom-up") << ", width " << width);
                    std::vector<std::uint32_t> expected;
                    BmpSpec bmpSpec = patterned(width, 3, bits, expected);
                    bmpSpec.headerSize = headerSize;
                    bmpSpec.topDown = topDown;
                    const Loaded got = loadBytes(encodeBmp(bmpSpec));
                    ASSERT_EQ(got.result, RESULT_OK);
                    ASSERT_EQ(got.image.width, width);
                    ASSERT_EQ(got.image.height, 3);
                    for (int y = 0; y < 3; ++y)
                        for (int x = 0; x < width; ++x)
                            ASSERT_EQ(colourAt(got.image, x, y), expected[static_cast<std::size_t>(y * width + x)])
                                << "pixel " << x << "," << y;
                    // The stream is left just after the headers and the palette.
                    const long paletteBytes = bits <= 8 ? (1L << bits) * (headerSize <= 12 ? 3 : 4) : 0;
                    EXPECT_EQ(got.positionAfter, 14 + static_cast<long>(headerSize) + paletteBytes);
                }
}

TEST(BmpReader, HeaderChecksGiveTheirCodes)
{
    struct Case {
        const char* name;
        void (*change)(BmpSpec&);
        int expected;
    };
    const Case cases[] = {
        {"type", [](BmpSpec& s) { s.type = "MB"; }, RESULT_NOT_BMP},
        {"32 bits", [](BmpSpec& s) { s.bitCount = 32; }, RESULT_UNSUPPORTED_BMP},
        {"2 bits", [](BmpSpec& s) { s.bitCount = 2; }, RESULT_UNSUPPORTED_BMP},
        {"0 bits", [](BmpSpec& s) { s.bitCount = 0; }, RESULT_UNSUPPORTED_BMP},
        {"8 bits, 2 planes", [](BmpSpec& s) { s.bitCount = 8; s.planes = 2; }, RESULT_UNSUPPORTED_BMP},
        {"24 bits, 2 planes", [](BmpSpec& s) { s.planes = 2; }, RESULT_BAD_HEADER},
        {"run-length 8 bits", [](BmpSpec& s) { s.bitCount = 8; s.compression = 1; }, RESULT_UNSUPPORTED_BMP},
        {"bit fields", [](BmpSpec& s) { s.compression = 3; }, RESULT_UNSUPPORTED_BMP},
        {"compression 5", [](BmpSpec& s) { s.compression = 5; }, RESULT_BAD_HEADER},
        {"width 0", [](BmpSpec& s) { s.headerWidth = 0; }, RESULT_BAD_HEADER},
        {"negative width", [](BmpSpec& s) { s.headerWidth = -3; }, RESULT_BAD_HEADER},
        {"height 0", [](BmpSpec& s) { s.headerHeight = 0; }, RESULT_BAD_HEADER},
        {"lowest height", [](BmpSpec& s) { s.headerHeight = INT_MIN; }, RESULT_BAD_HEADER},
        {"core width 0", [](BmpSpec& s) { s.headerSize = 12; s.headerWidth = 0; }, RESULT_BAD_HEADER},
        {"OS/2 recording", [](BmpSpec& s) { s.headerSize = 64; s.recording = 1; }, RESULT_BAD_HEADER},
        {"OS/2 colour encoding", [](BmpSpec& s) { s.headerSize = 64; s.colorEncoding = 1; }, RESULT_BAD_HEADER},
        {"OS/2 recording, 46 bytes", [](BmpSpec& s) { s.headerSize = 46; s.recording = 2; }, RESULT_BAD_HEADER},
        // Windows headers: bytes 44-45 and 56-59 hold masks and the colour space.
        {"V5 sRGB", [](BmpSpec& s) { s.headerSize = 124; }, RESULT_OK},
        {"V5 odd colour space", [](BmpSpec& s) { s.headerSize = 124; s.colorEncoding = 0x57696E20; }, RESULT_OK},
        {"V4 mask bytes", [](BmpSpec& s) { s.headerSize = 108; s.recording = 0xFF00; }, RESULT_OK},
        {"52 bytes", [](BmpSpec& s) { s.headerSize = 52; s.recording = 0xFF00; }, RESULT_OK},
        {"56 bytes", [](BmpSpec& s) { s.headerSize = 56; s.recording = 0xFF00; }, RESULT_OK},
        {"planes 0", [](BmpSpec& s) { s.planes = 0; }, RESULT_OK},
        {"offset past the end", [](BmpSpec& s) { s.offBits = 0xFFFFFFF0u; }, RESULT_READ_ERROR},
    };
    for (const Case& c : cases) {
        BmpSpec bmpSpec = solidBmp(4, 2, rgb(9, 8, 7));
        c.change(bmpSpec);
        const Loaded got = loadBytes(encodeBmp(bmpSpec));
        EXPECT_EQ(got.result, c.expected) << c.name;
        if (got.result != RESULT_OK) {
            EXPECT_FALSE(got.image.pixels) << c.name;
        }
    }
}

TEST(BmpReader, PaletteLengthFollowsTheDepthNotClrUsed)
{
    // 16 real entries, but 256 are read: entries 16 and up are the bytes that
    // follow, here the gap before the pixels.
    BmpSpec bmpSpec;
    bmpSpec.width = 2;
    bmpSpec.height = 1;
    bmpSpec.bitCount = 8;
    bmpSpec.clrUsed = 16;
    bmpSpec.palette = {rgb(1, 2, 3), rgb(4, 5, 6)};
    bmpSpec.paletteEntriesWritten = 16;
    bmpSpec.gapBeforePixels = 240 * 4;
    bmpSpec.pixels = {1, 16};
    std::string bytes = encodeBmp(bmpSpec);
    const std::size_t entry16 = 14 + 40 + 16 * 4;
    bytes[entry16] = 30; // blue
    bytes[entry16 + 1] = 20;
    bytes[entry16 + 2] = 10;
    Loaded got = loadBytes(bytes);
    ASSERT_EQ(got.result, RESULT_OK);
    EXPECT_EQ(colourAt(got.image, 0, 0), rgb(4, 5, 6));
    EXPECT_EQ(colourAt(got.image, 1, 0), rgb(10, 20, 30));

    // Too short for 1024 palette bytes after the header.
    bmpSpec.gapBeforePixels = 0;
    EXPECT_EQ(loadBytes(encodeBmp(bmpSpec)).result, RESULT_READ_ERROR);
}

TEST(BmpReader, EveryCutOfTheFileIsAReadErrorUntilOnlyLastRowPaddingIsMissing)
{
    for (std::uint16_t bits : {1, 4, 8, 16, 24})
        for (std::uint32_t headerSize : {12u, 40u, 124u}) {
            std::vector<std::uint32_t> expected;
            BmpSpec bmpSpec = patterned(13, 3, bits, expected);
            bmpSpec.headerSize = headerSize;
            const std::string whole = encodeBmp(bmpSpec);
            const std::size_t dataBytes = bmpRowDataBytes(13, bits);
            const std::size_t lastPadding = (dataBytes + 3) / 4 * 4 - dataBytes;
            for (std::size_t cut = 0; cut < whole.size(); ++cut) {
                const Loaded got = loadBytes(whole.substr(0, cut));
                const int want = cut >= whole.size() - lastPadding ? RESULT_OK : RESULT_READ_ERROR;
                ASSERT_EQ(got.result, want) << bits << " bits, header " << headerSize << ", cut at " << cut;
            }
        }
}

TEST(BmpReader, HugeDeclaredSizesAreRefusedBeforeAllocating)
{
    struct Case {
        std::uint16_t bits;
        std::int32_t width, height;
    };
    for (const Case& c : {Case{24, 100000, 100000}, Case{24, 100000, -100000}, Case{1, INT_MAX, INT_MAX},
                          Case{16, INT_MAX, -INT_MAX}, Case{24, INT_MAX, 1}, Case{8, 1, INT_MAX}}) {
        BmpSpec bmpSpec = solidBmp(1, 1, 0);
        bmpSpec.bitCount = c.bits;
        bmpSpec.headerWidth = c.width;
        bmpSpec.headerHeight = c.height;
        const std::string bytes = encodeBmp(bmpSpec);
        EXPECT_EQ(loadBytes(bytes).result, RESULT_READ_ERROR) << c.width << " x " << c.height << ", " << bytes.size() << " bytes";
    }
}

TEST(BmpReader, PixelsThatCannotBeAllocatedGiveTheMemoryCode)
{
    // A sparse file that truly holds a 1-bit picture whose 24-bit form needs
    // more address space than exists.
    TempDir dir;
    BmpSpec bmpSpec;
    bmpSpec.bitCount = 1;
    bmpSpec.headerWidth = 0x7FFFFFE0; // rows of 2^28 bytes, no padding
    bmpSpec.headerHeight = 1 << 15;
    bmpSpec.width = 0;
    bmpSpec.height = 0;
    const std::string header = encodeBmp(bmpSpec);
    const std::string path = dir.file("huge.bmp");
    writeFile(path, header);
    const off_t size = static_cast<off_t>(header.size()) + (off_t{1} << 28) * (1 << 15);
    if (::truncate(path.c_str(), size) != 0)
        GTEST_SKIP() << "this file system cannot hold a sparse file of " << size << " bytes";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    BmpImage image;
    EXPECT_EQ(loadBmp(f, image), RESULT_NO_MEMORY_PIXELS);
    EXPECT_FALSE(image.pixels);
    std::fclose(f);
}

TEST(BmpReader, ReadsPicturesWrittenByImageMagick)
{
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed; pictures it writes are not checked";
    TempDir dir;
    for (const char* target : {"default.bmp", "BMP3:bmp3.bmp", "BMP2:bmp2.bmp"}) {
        SCOPED_TRACE(target);
        const std::string command = "cd '" + dir.path().string() + "' && convert -size 30x20 xc:'rgb(0,132,33)' " + target;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string name = std::string(target).substr(std::string(target).find(':') + 1);
        const Loaded got = loadBytes(readFile(dir.path() / name));
        ASSERT_EQ(got.result, RESULT_OK);
        ASSERT_EQ(got.image.width, 30);
        ASSERT_EQ(got.image.height, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(colourAt(got.image, x, y), rgb(0, 132, 33)) << x << "," << y;
    }
}
