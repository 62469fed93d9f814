#include "forge/extract/block_heights.h"

#include "common/regular_file.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

#include <cerrno>
#include <charconv>
#include <memory>
#include <new>
#include <string>

namespace {

// Checks the first two bytes before handing the stream to the reader, and puts
// the stream back where it was.
ExtractResult checkFileType(std::FILE* bmp)
{
    const long start = std::ftell(bmp);
    unsigned char type[2];
    errno = 0;
    if (start < 0 || std::fread(type, 1, 2, bmp) != 2 || std::fseek(bmp, start, SEEK_SET) != 0) {
        // A file of 0 or 1 bytes fails with no system error to name.
        if (errno == 0)
            std::fputs("Error getting file type: the file is too short to hold its type\n", stderr);
        else
            std::perror("Error getting file type");
        return ExtractResult::TypeUnreadable;
    }
    if (type[0] != 'B' || type[1] != 'M')
        return ExtractResult::NotBmp;
    return ExtractResult::Ok;
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
                                     ColourSet colourSet)
{
    BmpImage image;
    {
        FileResult opened = FileResult::Ok;
        FileHandle bmp = openRegularFile(bmpFilePath, opened);
        if (!bmp) {
            if (opened == FileResult::NotRegular)
                std::fputs("Error opening source file: not a regular file\n", stderr);
            else
                std::perror("Error opening source file");
            return {ExtractResult::CannotOpenBmp, false};
        }
        if (ExtractResult result = checkFileType(bmp.get()); result != ExtractResult::Ok)
            return {result, false};
        if (ExtractResult result = loadBmp(bmp.get(), image); result != ExtractResult::Ok)
            return {result, false};
    }

    const std::int32_t top = colourSet == ColourSet::User ? USER_COLOUR_SET_ROWS : 0;
    const std::int32_t pixelRows = image.height - top;
    const std::int32_t pixelCols = image.width;
    const std::int32_t blockRows = pixelRows / 10;
    const std::int32_t blockCols = pixelCols / 10;
    if (blockRows <= 0 || blockCols <= 0)
        return {ExtractResult::NoMapBlocks, false};
    if (blockRows > MAX_MAP_BLOCKS || blockCols > MAX_MAP_BLOCKS)
        return {ExtractResult::TooManyBlocks, false};

    ColourHeightSet set;
    if (const ExtractResult built = buildColourHeightSet(image, colourSet, minElevation, contourInterval, set);
        built != ExtractResult::Ok)
        return {built, false};

    std::string line;
    try {
        line.reserve(static_cast<std::size_t>(blockCols) * 12 + 2);
    } catch (const std::bad_alloc&) {
        return {ExtractResult::NoMemory, false};
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
    return {ExtractResult::Ok, set.colourError};
}
