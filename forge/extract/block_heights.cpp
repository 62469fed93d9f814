#include "forge/extract/block_heights.h"

#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

#include <cerrno>
#include <charconv>
#include <memory>
#include <new>
#include <string>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Checks the first two bytes before handing the stream to the reader, and puts
// the stream back where it was.
int checkFileType(std::FILE* bmp)
{
    const long start = std::ftell(bmp);
    unsigned char type[2];
    errno = 0;
    if (start < 0 || std::fread(type, 1, 2, bmp) != 2 || std::fseek(bmp, start, SEEK_SET) != 0) {
        std::perror("Error getting file type");
        return RESULT_TYPE_UNREADABLE;
    }
    if (type[0] != 'B' || type[1] != 'M')
        return RESULT_NOT_BMP;
    return RESULT_OK;
}

// Block heights come from int32 values, so every one is a whole number and
// prints as "%1.0f" would print it.
void appendHeight(std::string& line, float height)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(height)).ptr;
    line.append(digits, end);
}

} // namespace

ExtractionResult extractBlockHeights(const std::string& bmpFilePath, std::FILE* heightsFile,
                                     std::int32_t minElevation, std::int32_t contourInterval,
                                     int colourSetChoice)
{
    BmpImage image;
    {
        FilePtr bmp(std::fopen(bmpFilePath.c_str(), "rb"));
        if (!bmp) {
            std::perror("Error opening source file");
            return {RESULT_CANNOT_OPEN_BMP, false};
        }
        if (int result = checkFileType(bmp.get()))
            return {result, false};
        if (int result = loadBmp(bmp.get(), image))
            return {result, false};
    }

    const bool userSet = colourSetChoice == COLOUR_SET_USER;
    const std::int32_t top = userSet ? 10 : 0;
    const std::int32_t pixelRows = image.height - top;
    const std::int32_t pixelCols = image.width;
    const std::int32_t blockRows = pixelRows / 10;
    const std::int32_t blockCols = pixelCols / 10;
    if (blockRows <= 0 || blockCols <= 0)
        return {RESULT_NO_MAP_BLOCKS, false};
    if (blockRows > MAX_MAP_BLOCKS || blockCols > MAX_MAP_BLOCKS)
        return {RESULT_TOO_MANY_BLOCKS, false};

    ColourHeightSet set;
    if (const int built = buildColourHeightSet(image, colourSetChoice, minElevation, contourInterval, set);
        built != RESULT_OK)
        return {built, false};

    std::string line;
    try {
        line.reserve(static_cast<std::size_t>(blockCols) * 12 + 2);
    } catch (const std::bad_alloc&) {
        return {RESULT_NO_MEMORY, false};
    }

    std::fprintf(heightsFile, "%ld %ld\n", static_cast<long>(pixelRows), static_cast<long>(pixelCols));
    std::fprintf(heightsFile, "%ld %ld\n", static_cast<long>(blockRows), static_cast<long>(blockCols));
    std::fprintf(heightsFile, "%d\n", static_cast<int>(contourInterval));
    std::fprintf(heightsFile, "%d\n", static_cast<int>(set.entries.size()));
    for (const ColourHeightEntry& entry : set.entries)
        std::fprintf(heightsFile, "%d ", static_cast<int>(entry.height));
    std::fputs("\n", heightsFile);

    for (std::int32_t r = 0; r < blockRows; ++r) {
        line.clear();
        for (std::int32_t c = 0; c < blockCols; ++c) {
            if (c > 0)
                line.push_back(' ');
            appendHeight(line, heightForColour(set, image.pixel(10 * c + 5, top + 10 * r + 5)));
        }
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), heightsFile);
    }
    return {RESULT_OK, set.colourError};
}
