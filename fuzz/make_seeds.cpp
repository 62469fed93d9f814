// Writes the seed corpus: one folder per entry point under the folder given on
// the command line. Pictures cover every decoded bit depth, core, Windows and
// OS/2-sized headers, both row orders and a few refused kinds; maps are small.
#include "common/map_data_file.h"
#include "forge/extract/colour_height_set.h"
#include "fuzz/fuzz_targets.h"
#include "tests/support/bmp_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace qarn_test;

namespace {

void save(const fs::path& dir, const std::string& name, const std::string& bytes)
{
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t colourOf(const Rgb& c) { return rgb(c.red, c.green, c.blue); }

// A picture of `width` x `height` whose colours (indices into `colours`) vary
// by pixel, written at `bitCount` with a palette when the depth needs one.
BmpSpec patterned(std::int32_t width, std::int32_t height, unsigned bitCount, std::uint32_t headerSize,
                  bool topDown, const std::vector<std::uint32_t>& colours)
{
    BmpSpec bmpSpec;
    bmpSpec.width = width;
    bmpSpec.height = height;
    bmpSpec.bitCount = static_cast<std::uint16_t>(bitCount);
    bmpSpec.headerSize = headerSize;
    bmpSpec.topDown = topDown;
    const std::size_t levels = bitCount < 16 ? std::min<std::size_t>(colours.size(), std::size_t{1} << bitCount)
                                             : colours.size();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t k = static_cast<std::size_t>(x / 10 + y / 10 + x + 3 * y) % levels;
            if (bitCount == 24)
                bmpSpec.pixels.push_back(colours[k]);
            else if (bitCount == 16)
                bmpSpec.pixels.push_back(static_cast<std::uint32_t>(k * 0x0421u) & 0x7FFFu);
            else
                bmpSpec.pixels.push_back(static_cast<std::uint32_t>(k));
        }
    }
    if (bitCount < 16)
        bmpSpec.palette.assign(colours.begin(), colours.begin() + static_cast<std::ptrdiff_t>(levels));
    return bmpSpec;
}

std::string extractionInput(bool systemSet, std::int32_t minElevation, std::int32_t contourInterval,
                            const std::string& bmp)
{
    std::string out(EXTRACTION_PREFIX_BYTES, '\0');
    out[0] = systemSet ? 1 : 0;
    putU32(out, 1, static_cast<std::uint32_t>(minElevation));
    putU32(out, 5, static_cast<std::uint32_t>(contourInterval));
    return out + bmp;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];

    std::vector<std::uint32_t> systemColours;
    for (const Rgb& c : SYSTEM_COLOUR_SET)
        systemColours.push_back(colourOf(c));

    // Picture reader: every depth and header kind, both row orders, widths
    // that need each amount of row padding.
    const fs::path bmpDir = root / "bmp_reader";
    const unsigned depths[] = {1, 4, 8, 16, 24};
    const std::uint32_t headers[] = {12, 16, 40, 52, 56, 64, 108, 124};
    for (unsigned bits : depths)
        for (std::uint32_t header : headers)
            for (bool topDown : {false, true}) {
                const std::int32_t width = static_cast<std::int32_t>(5 + bits % 7 + header % 5);
                const std::string name = "d" + std::to_string(bits) + "-h" + std::to_string(header)
                    + (topDown ? "-top" : "-bottom") + ".bmp";
                save(bmpDir, name, encodeBmp(patterned(width, 3, bits, header, topDown, systemColours)));
            }
    for (std::int32_t width : {1, 2, 3, 4, 13, 33})
        save(bmpDir, "w" + std::to_string(width) + ".bmp",
             encodeBmp(patterned(width, 2, 24, 40, false, systemColours)));
    {
        BmpSpec rle = patterned(8, 2, 8, 40, false, systemColours);
        rle.compression = 1;
        save(bmpDir, "rle8.bmp", encodeBmp(rle));
        BmpSpec deep = patterned(4, 2, 24, 40, false, systemColours);
        deep.bitCount = 32;
        save(bmpDir, "d32.bmp", encodeBmp(deep));
        BmpSpec gap = patterned(6, 2, 8, 40, false, systemColours);
        gap.gapBeforePixels = 7;
        gap.clrUsed = 16;
        save(bmpDir, "gap.bmp", encodeBmp(gap));
        std::string shortFile = encodeBmp(patterned(9, 4, 24, 40, false, systemColours));
        shortFile.resize(shortFile.size() - 5);
        save(bmpDir, "short.bmp", shortFile);
    }

    // Extraction: small maps for both colour sets. The user set's band holds
    // four painted colours and then white.
    const fs::path extractDir = root / "extraction";
    for (unsigned bits : {8u, 24u})
        for (bool topDown : {false, true}) {
            const std::string suffix = "-d" + std::to_string(bits) + (topDown ? "-top" : "-bottom") + ".bin";
            BmpSpec system = patterned(30, 20, bits, 40, topDown, systemColours);
            save(extractDir, "system" + suffix, extractionInput(true, 100, 20, encodeBmp(system)));

            std::vector<std::uint32_t> userColours = {rgb(10, 20, 30), rgb(200, 100, 50), rgb(0, 128, 192),
                                                      rgb(90, 90, 90), rgb(255, 255, 255), rgb(0, 0, 0)};
            BmpSpec user = patterned(60, 31, bits, 40, topDown, userColours);
            for (std::int32_t y = 0; y < 10; ++y)
                for (std::int32_t x = 0; x < 60; ++x)
                    user.pixels[static_cast<std::size_t>(y) * 60 + x] = static_cast<std::uint32_t>(std::min(x / 10, 4));
            if (bits == 24)
                for (std::size_t i = 0; i < 600; ++i)
                    user.pixels[i] = userColours[user.pixels[i]];
            save(extractDir, "user" + suffix, extractionInput(false, 0, 50, encodeBmp(user)));
        }
    save(extractDir, "not-bmp.bin", extractionInput(true, 0, 10, "GIF89a"));
    save(extractDir, "core-1bit.bin",
         extractionInput(true, 5, 5, encodeBmp(patterned(20, 10, 1, 12, false, systemColours))));

    // Map data file: the calculator's record, one byte short, and one long.
    const fs::path mapDir = root / "map_data_file";
    const std::string record = encodeMapData({800, 1000, METRES_PER_ARC_SECOND});
    save(mapDir, "record.xdt", record);
    save(mapDir, "short.xdt", record.substr(0, 15));
    save(mapDir, "long.xdt", record + "x");
    save(mapDir, "path.txt", "maps/north/terrain.bmp");

    // Table cells.
    const fs::path textDir = root / "table_text";
    const char* cells[] = {"123", " -45 ", "+7", "2147483647", "-2147483648", "2147483648", "12.5",
                           "abc", "", "\t9\r\n", "+-3", "0007"};
    for (std::size_t i = 0; i < std::size(cells); ++i)
        save(textDir, "cell" + std::to_string(i) + ".txt", cells[i]);

    // Height values files as the extraction writes them, and a few it never would.
    const fs::path gridDir = root / "grid_build";
    const std::string setLine = "4\n100 120 -9010 -9020 \n";
    save(gridDir, "plain.dat", "40 50\n4 5\n20\n" + setLine
             + "100 120 120 140 140\n100 100 120 120 140\n100 100 100 120 120\n100 100 100 100 120\n");
    save(gridDir, "flat-areas.dat", "50 60\n5 6\n20\n" + setLine
             + "100 100 120 120 140 140\n100 -9020 -9020 120 -9020 140\n100 -9020 120 120 -9020 -9020\n"
               "100 100 -9010 -9010 120 140\n-9020 100 100 120 120 140\n");
    save(gridDir, "rimless.dat", "30 30\n3 3\n10\n" + setLine
             + "-9020 -9020 -9020\n-9020 -9020 -9020\n-9020 -9020 -9020\n");
    save(gridDir, "ends-early.dat", "30 40\n3 4\n20\n" + setLine + "100 120 140\n");
    save(gridDir, "odd-values.dat", "20 20\n2 2\n20\n" + setLine + "1e39 nan\n-7.5 12abc\n");
    save(gridDir, "one-block.dat", "10 10\n1 1\n0\n0\n\n5\n");
    return 0;
}
