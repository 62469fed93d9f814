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

int readMapPicture(const std::string& bmpFilePath, BmpImage& image)
{
    FilePtr bmp(std::fopen(bmpFilePath.c_str(), "rb"));
    if (!bmp) {
        std::perror("Error opening source file");
        return RESULT_CANNOT_OPEN_BMP;
    }
    if (int result = checkFileType(bmp.get()))
        return result;
    return loadBmp(bmp.get(), image);
}

ExtractionResult extractBlockHeights(const std::string& bmpFilePath, std::FILE* heightsFile,
                                     std::int32_t minElevation, std::int32_t contourInterval,
                                     int colourSetChoice)
{
    BmpImage image;
    if (int result = readMapPicture(bmpFilePath, image))
        return {result, false};

    const BlockLayout layout = blockLayoutFor(image, colourSetChoice);
    if (int result = blockLayoutResult(layout))
        return {result, false};
    const std::int32_t blockRows = layout.blockRows;
    const std::int32_t blockCols = layout.blockCols;

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

    std::fprintf(heightsFile, "%ld %ld\n", static_cast<long>(layout.pixelRows), static_cast<long>(layout.pixelCols));
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
            appendHeight(line, heightForColour(set, image.pixel(layout.sampleX(c), layout.sampleY(r))));
        }
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), heightsFile);
    }
    return {RESULT_OK, set.colourError};
}
