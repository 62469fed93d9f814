#include "fuzz/fuzz_targets.h"

#include "forge/extract/block_heights.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

// The extraction reads its picture from a path, so each input's picture goes
// to a scratch file first. What it writes is compared with the height values
// file printed here from the same picture, read separately, with the file's
// own printf formats. The separate read goes through a file stream as well:
// unlike a memory stream, a file lets a header skip run past its end.

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::int32_t i32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8)
                                     | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24));
}

void appendf(std::string& out, const char* format, auto value)
{
    char text[64];
    const int n = std::snprintf(text, sizeof text, format, value);
    out.append(text, static_cast<std::size_t>(n));
}

// What the extraction must answer and write for a picture that loadBmp read.
struct Expected {
    int result = RESULT_OK;
    bool colourError = false;
    std::string text;
};

Expected expectedFor(const std::string& path, const std::uint8_t* bmp, std::size_t size, int choice,
                     std::int32_t minElevation, std::int32_t contourInterval)
{
    if (size < 2)
        return {RESULT_TYPE_UNREADABLE, false, {}};
    if (bmp[0] != 'B' || bmp[1] != 'M')
        return {RESULT_NOT_BMP, false, {}};
    BmpImage image;
    {
        FilePtr stream(std::fopen(path.c_str(), "rb"));
        if (!stream)
            return {RESULT_READ_ERROR, false, {}};
        if (int result = loadBmp(stream.get(), image))
            return {result, false, {}};
    }
    const std::int32_t top = choice == COLOUR_SET_USER ? 10 : 0;
    const std::int32_t pixelRows = image.height - top;
    const std::int32_t blockRows = pixelRows / 10;
    const std::int32_t blockCols = image.width / 10;
    if (blockRows <= 0 || blockCols <= 0)
        return {RESULT_NO_MAP_BLOCKS, false, {}};
    if (blockRows > MAX_MAP_BLOCKS || blockCols > MAX_MAP_BLOCKS)
        return {RESULT_TOO_MANY_BLOCKS, false, {}};

    ColourHeightSet set;
    if (const int built = buildColourHeightSet(image, choice, minElevation, contourInterval, set);
        built != RESULT_OK)
        return {built, false, {}};
    Expected e;
    appendf(e.text, "%ld", static_cast<long>(pixelRows));
    appendf(e.text, " %ld\n", static_cast<long>(image.width));
    appendf(e.text, "%ld", static_cast<long>(blockRows));
    appendf(e.text, " %ld\n", static_cast<long>(blockCols));
    appendf(e.text, "%d\n", static_cast<int>(contourInterval));
    appendf(e.text, "%d\n", static_cast<int>(set.entries.size()));
    for (const ColourHeightEntry& entry : set.entries)
        appendf(e.text, "%d ", static_cast<int>(entry.height));
    e.text += '\n';
    for (std::int32_t r = 0; r < blockRows; ++r) {
        for (std::int32_t c = 0; c < blockCols; ++c) {
            const float h = heightForColour(set, image.pixel(10 * c + 5, top + 10 * r + 5));
            appendf(e.text, c == 0 ? "%1.0f" : " %1.0f", static_cast<double>(h));
        }
        e.text += '\n';
    }
    e.colourError = set.colourError;
    return e;
}

} // namespace

std::string fuzzExtraction(const std::uint8_t* data, std::size_t size)
{
    if (size < EXTRACTION_PREFIX_BYTES)
        return {};
    const int choice = (data[0] & 1) ? COLOUR_SET_SYSTEM : COLOUR_SET_USER;
    const std::int32_t minElevation = i32(data + 1);
    const std::int32_t contourInterval = i32(data + 5);
    const std::uint8_t* bmp = data + EXTRACTION_PREFIX_BYTES;
    const std::size_t bmpSize = size - EXTRACTION_PREFIX_BYTES;

    const std::string path = fuzzScratchPath("qarn-fuzz-extraction") + ".bmp";
    {
        FilePtr file(std::fopen(path.c_str(), "wb"));
        if (!file || std::fwrite(bmp, 1, bmpSize, file.get()) != bmpSize)
            return "cannot write the scratch picture " + path;
    }

    char* written = nullptr;
    std::size_t writtenSize = 0;
    ExtractionResult got;
    {
        FilePtr heights(::open_memstream(&written, &writtenSize));
        if (!heights) {
            std::remove(path.c_str());
            return "cannot open a memory stream";
        }
        got = extractBlockHeights(path, heights.get(), minElevation, contourInterval, choice);
    }
    const std::string text(written, writtenSize);
    std::free(written);
    const Expected want = expectedFor(path, bmp, bmpSize, choice, minElevation, contourInterval);
    std::remove(path.c_str());

    if (got.result != want.result)
        return "result " + std::to_string(got.result) + ", expected " + std::to_string(want.result);
    if (got.colourError != want.colourError)
        return "colour error flag is wrong";
    if (text != want.text)
        return got.result == RESULT_OK ? "height values file differs from the picture"
                                        : "a failed extraction wrote to the height values file";
    return {};
}
