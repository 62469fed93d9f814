#include "fuzz/fuzz_targets.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "common/block_convention.h"
#include "common/map_data_file.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/result_codes.h"
#include "common/whole_number.h"

using namespace qarn;

// Each check reads the input its own plain way and never calls the code it checks.

namespace {

std::uint32_t le(const std::uint8_t* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// A picture as a plain reading of a BMP's bytes: 0xRRGGBB pixels, top row first.
struct Picture {
    std::int64_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(std::int64_t x, std::int64_t y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// nullopt for a header this reading leaves alone (odd sizes, refused fields)
// or for data that does not fit the file.
std::optional<Picture> readPicture(const std::uint8_t* d, std::size_t n)
{
    const std::uint32_t hs = n >= 18 ? le(d + 14, 4) : 0;
    const bool core = hs == 12;
    if (!core && hs != 40 && hs != 52 && hs != 56 && hs < 64)
        return std::nullopt;
    if (n < 30 || d[0] != 'B' || d[1] != 'M')
        return std::nullopt;
    Picture p;
    p.width = core ? std::int16_t(le(d + 18, 2)) : std::int32_t(le(d + 18, 4));
    const std::int64_t rawHeight = core ? std::int16_t(le(d + 20, 2)) : std::int32_t(le(d + 22, 4));
    const std::uint32_t bits = le(d + (core ? 24 : 28), 2);
    p.height = std::abs(rawHeight);
    const std::uint64_t palette = 14 + std::uint64_t{hs}, entry = core ? 3 : 4;
    const std::uint64_t rowBytes = (std::uint64_t(p.width) * bits + 31) / 32 * 4;
    if (p.width < 1 || p.height < 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24) ||
        (!core && le(d + 30, 4) != 0) || le(d + 10, 4) + rowBytes * std::uint64_t(p.height) > n + 3 ||
        (bits <= 8 && palette + (entry << bits) > n) || std::uint64_t(p.width) * p.height > (1u << 24))
        return std::nullopt;
    for (std::int64_t y = 0; y < p.height; ++y) {
        const std::uint8_t* row = d + le(d + 10, 4) + rowBytes * std::uint64_t(rawHeight < 0 ? y : p.height - 1 - y);
        for (std::int64_t x = 0; x < p.width; ++x) {
            const std::uint64_t bit = std::uint64_t(x) * bits;
            if (row + (bit + bits + 7) / 8 > d + n)
                return std::nullopt; // only the last row's padding may be missing
            const std::uint32_t v = bits >= 16 ? le(row + bit / 8, int(bits / 8))
                                               : (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            auto w = [&](int shift) { return ((v >> shift & 31) << 3 | (v >> shift & 31) >> 2); };
            p.pixels.push_back(bits == 24   ? v
                               : bits == 16 ? w(10) << 16 | w(5) << 8 | w(0)
                                            : le(d + palette + entry * v, 3));
        }
    }
    return p;
}

} // namespace

std::string fuzzBmpReader(const std::uint8_t* data, std::size_t size)
{
    std::FILE* stream = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!stream)
        return {};
    BmpImage image;
    const ExtractResult result = loadBmp(stream, image);
    std::fclose(stream);
    // The file header's 14 bytes are read before its type is looked at.
    if ((result == ExtractResult::NotBmp) != (size >= 14 && (data[0] != 'B' || data[1] != 'M')))
        return "\"BM\" and ExtractResult::NotBmp disagree";
    if (result != ExtractResult::Ok)
        return image.pixels ? "a failed read left an image behind" : "";
    const std::optional<Picture> want = readPicture(data, size);
    if (!want)
        return {};
    if (image.width != want->width || image.height != want->height)
        return "decoded size differs from the header";
    for (std::int64_t y = 0; y < want->height; ++y)
        for (std::int64_t x = 0; x < want->width; ++x)
            if (le(image.pixel(std::int32_t(x), std::int32_t(y)), 3) != want->at(x, y))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") has the wrong colour";
    return {};
}

std::string fuzzExtraction(const std::uint8_t* data, std::size_t size)
{
    if (size < EXTRACTION_PREFIX_BYTES)
        return {};
    const bool user = !(data[0] & 1);
    const std::int32_t min = std::int32_t(le(data + 1, 4)), interval = std::int32_t(le(data + 5, 4));
    // Only what "CONFIRM DATA" lets through reaches an extraction.
    if (min < 0 || interval <= 0)
        return {};
    const std::string path = fuzzScratchPath("qarn-fuzz-extraction") + ".bmp";
    std::FILE* picture = std::fopen(path.c_str(), "wb");
    std::fwrite(data + EXTRACTION_PREFIX_BYTES, 1, size - EXTRACTION_PREFIX_BYTES, picture);
    std::fclose(picture);
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* heights = ::open_memstream(&text, &length);
    const ExtractionResult got =
        extractBlockHeights(path, heights, min, interval, user ? ColourSet::User : ColourSet::System);
    std::fclose(heights);
    const std::string written(text, length);
    std::free(text);
    std::remove(path.c_str());
    if (got.result != ExtractResult::Ok)
        return written.empty() ? "" : "a failed extraction wrote to the height values file";
    const std::optional<Picture> p = readPicture(data + EXTRACTION_PREFIX_BYTES, size - EXTRACTION_PREFIX_BYTES);
    if (!p)
        return {};

    // The colour set: painted band (row 3 counts, row 5 gives the colours) or the system set, then the reserved ones.
    static const std::uint32_t SYSTEM[18] = {0x008421, 0x63C600, 0x42E700, 0xA5E742, 0xA5C600, 0xA5A500,
                                             0xC6C600, 0xE7C684, 0xE7C642, 0xE7A500, 0xC6A542, 0xC6A584,
                                             0xAD7B29, 0xA56300, 0x844242, 0xA54200, 0xC66300, 0xE76300};
    static const std::pair<std::uint32_t, int> RESERVED[7] = {{0x0000FF, -9010}, {0x0080C0, -9020}, {0x00C0C0, -9030},
        {0x00FF00, -9040}, {0xFFFF00, -9050}, {0xFFFFFF, -9990}, {0x000000, -9999}};
    std::vector<std::pair<std::uint32_t, std::int64_t>> set;
    std::int64_t rung = 0;
    auto add = [&](std::uint32_t colour) {
        for (const auto& [c, code] : RESERVED)
            if (c == colour)
                return set.emplace_back(colour, code), void();
        set.emplace_back(colour, min + rung++ * std::int64_t{interval});
    };
    for (std::int64_t x = 5; user ? x < p->width && p->height > 5 && p->at(x, 3) != 0xFFFFFF : x < 185; x += 10)
        add(user ? p->at(x, 5) : SYSTEM[x / 10]);
    for (const auto& [c, code] : RESERVED)
        set.emplace_back(c, code);
    const std::int64_t top = user ? 10 : 0, rows = (p->height - top) / 10, cols = p->width / 10;
    std::string want = std::to_string(p->height - top) + " " + std::to_string(p->width) + "\n" +
                       std::to_string(rows) + " " + std::to_string(cols) + "\n" + std::to_string(interval) + "\n" +
                       std::to_string(set.size()) + "\n";
    for (const auto& entry : set)
        want += std::to_string(entry.second) + " ";
    bool colourError = false;
    for (std::int64_t r = 0; r < rows; ++r)
        for (std::int64_t c = 0; c < cols; ++c) {
            std::int64_t h = -9999;
            for (const auto& [colour, height] : set)
                if (colour == p->at(10 * c + 5, top + 10 * r + 5)) {
                    h = height;
                    break;
                }
            colourError = colourError || (h < 0 && h != -9020);
            char number[32];
            std::snprintf(number, sizeof number, c ? " %1.0f" : "\n%1.0f", double(float(h)));
            want += number;
        }
    want += "\n";
    if (written != want)
        return "height values file differs from the picture";
    return got.colourError == colourError ? "" : "colour error flag is wrong";
}

std::string fuzzMapDataFile(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzzScratchPath("qarn-fuzz-map-data") + ".xdt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    MapData read{123456789, -42, 0.5};
    const bool ok = readMapDataFile(path, read) == FileResult::Ok;
    std::remove(path.c_str());
    double metres = 0.5;
    if (size >= 16) {
        const std::uint64_t bits = le(data + 8, 4) | std::uint64_t{le(data + 12, 4)} << 32;
        std::memcpy(&metres, &bits, sizeof metres);
    }
    if (ok != (size >= 16))
        return "a file of " + std::to_string(size) + " bytes was " + (ok ? "accepted" : "refused");
    if (read.heightTens != (ok ? std::int32_t(le(data, 4)) : 123456789) ||
        read.widthTens != (ok ? std::int32_t(le(data + 4, 4)) : -42) ||
        std::memcmp(&read.metresPerArcSecond, &metres, sizeof metres) != 0)
        return "values differ from the file's first 16 bytes";
    const std::string picture(reinterpret_cast<const char*>(data), size);
    const std::size_t slash = picture.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : picture.substr(0, slash + 1);
    return mapDataPathFor(picture) == folder + MAP_DATA_FILE_NAME ? "" : "map data path is not in the picture's folder";
}

std::string fuzzTableText(const std::uint8_t* data, std::size_t size)
{
    // Blanks around, then one optional sign and decimal digits within the int range.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r"), last = text.find_last_not_of(" \t\n\v\f\r");
    std::optional<std::int32_t> want;
    if (first != std::string::npos) {
        std::string number = text.substr(first, last - first + 1);
        const bool negative = number[0] == '-';
        if (number[0] == '-' || number[0] == '+')
            number.erase(0, 1);
        std::int64_t magnitude = number.empty() ? -1 : 0;
        for (char ch : number)
            magnitude = magnitude < 0 || ch < '0' || ch > '9' || magnitude > INT32_MAX ? -1 : magnitude * 10 + ch - '0';
        const std::int64_t value = negative ? -magnitude : magnitude;
        if (magnitude >= 0 && value >= INT32_MIN && value <= INT32_MAX)
            want = std::int32_t(value);
    }
    // One reader serves the entries, the table's cells and the size entries.
    if (readWholeNumber(text) != want)
        return "the whole-number reader reads it otherwise";
    return {};
}

std::string fuzzGridBuild(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = ::fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    HeightValuesHeader h;
    std::string problem;
    if (file && readHeightValuesHeader(file, h) && h.blockRows * h.blockCols <= 4000) {
        const float rimless = h.colourHeights.empty() ? 0.0f : float(h.colourHeights.front());
        ElevationGrid grid;
        if (grid.build(file, int(h.blockRows), int(h.blockCols), float(h.contourInterval), rimless) != GridResult::Ok)
            problem = "a grid of " + std::to_string(h.blockRows) + " x " + std::to_string(h.blockCols) + " was refused";
        for (int r = 0; r < grid.rows() && problem.empty(); ++r)
            for (int c = 0; c < grid.cols(); ++c) {
                const GridCell& cell = grid.cell(r, c);
                const bool blue1 = cell.kind == CellKind::Blue1;
                if (!blue1 && (cell.baseHeight >= 0) != (cell.kind == CellKind::Height))
                    problem = "a loaded cell has the wrong kind";
                if (blue1 != (cell.areaId > 0) || (blue1 && cell.height != grid.areaLevel(cell.areaId)))
                    problem = "a flat-area cell is not at its area's level, or another cell has an area";
            }
    }
    if (file)
        std::fclose(file);
    return problem;
}

FuzzEntryPoint findFuzzEntryPoint(std::string_view name)
{
    const std::pair<std::string_view, FuzzEntryPoint> entries[] = {{"bmp_reader", fuzzBmpReader},
        {"extraction", fuzzExtraction}, {"map_data_file", fuzzMapDataFile}, {"table_text", fuzzTableText},
        {"grid_build", fuzzGridBuild}};
    for (const auto& [folder, entry] : entries)
        if (folder == name)
            return entry;
    return nullptr;
}

std::string fuzzScratchPath(const char* stem)
{
    const char* chosen = std::getenv("QARN_FUZZ_SCRATCH");
    const std::string dir = chosen && *chosen ? chosen : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return dir + "/" + stem + "-" + std::to_string(::getpid());
}

#ifdef QARN_FUZZ_ENTRY
// A libFuzzer program for the entry point QARN_FUZZ_ENTRY: a broken promise
// becomes a crash, so libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = QARN_FUZZ_ENTRY(data, size);
    if (problem.empty())
        return 0;
    std::fprintf(stderr, "==qarn-fuzz== %s\n", problem.c_str());
    std::abort();
}
#endif
