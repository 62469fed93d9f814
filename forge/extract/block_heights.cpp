#include "forge/extract/block_heights.h"

#include "common/regular_file.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

#include <cerrno>
#include <charconv>
#include <functional>
#include <memory>
#include <new>
#include <string>

namespace qarn {

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

// Refuses a picture without a whole map block or with more than a grid holds,
// from its size alone; else keeps only the pixels the extraction reads: each
// block's sample pixel and, for a user set, the band's two rows.
ExtractResult planSampling(ColourSet colourSet, std::int32_t width, std::int32_t height, BmpSelection& keep)
{
    const BlockLayout layout = blockLayoutFor(colourSet, width, height);
    if (const ExtractResult result = blockLayoutResult(layout); result != ExtractResult::Ok)
        return result;
    if (colourSet == ColourSet::User)
        keep.rows = {USER_BAND_COUNT_ROW, USER_BAND_COLOUR_ROW};
    for (std::int32_t r = 0; r < layout.blockRows; ++r)
        keep.rows.push_back(layout.sampleY(r));
    keep.firstColumn = BLOCK_SAMPLE_OFFSET;
    keep.columnStep = BLOCK_PIXELS;
    return ExtractResult::Ok;
}

BmpPlan samplingPlan(ColourSet colourSet)
{
    return std::bind_front(planSampling, colourSet);
}

// Opens the picture, checks its type and says why not, as every read of a map picture does.
ExtractResult openMapPicture(const std::string& bmpFilePath, FileHandle& bmp)
{
    FileResult opened = FileResult::Ok;
    bmp = openRegularFile(bmpFilePath, opened);
    if (!bmp) {
        if (opened == FileResult::NotRegular)
            std::fputs("Error opening source file: not a regular file\n", stderr);
        else
            std::perror("Error opening source file");
        return ExtractResult::CannotOpenBmp;
    }
    return checkFileType(bmp.get());
}

ExtractResult readMapPicture(const std::string& bmpFilePath, BmpImage& image, const BmpPlan& plan)
{
    FileHandle bmp;
    if (ExtractResult result = openMapPicture(bmpFilePath, bmp); result != ExtractResult::Ok)
        return result;
    return loadBmp(bmp.get(), image, plan);
}

ExtractResult openMapPictureBands(const std::string& bmpFilePath, std::int32_t bandRows, FileHandle& bmp,
                                  BmpBandReader& reader)
{
    if (ExtractResult result = openMapPicture(bmpFilePath, bmp); result != ExtractResult::Ok)
        return result;
    return reader.open(bmp.get(), bandRows);
}

ExtractionResult extractBlockHeights(const std::string& bmpFilePath, std::FILE* heightsFile,
                                     std::int32_t minElevation, std::int32_t contourInterval,
                                     ColourSet colourSet)
{
    BmpImage image;
    if (ExtractResult result = readMapPicture(bmpFilePath, image, samplingPlan(colourSet));
        result != ExtractResult::Ok)
        return {result, false};
    const BlockLayout layout = blockLayoutFor(colourSet, image.width, image.height);

    ColourHeightSet set;
    if (const ExtractResult built = buildColourHeightSet(image, colourSet, minElevation, contourInterval, set);
        built != ExtractResult::Ok)
        return {built, false};

    std::string line;
    try {
        line.reserve(static_cast<std::size_t>(layout.blockCols) * 12 + 2);
    } catch (const std::bad_alloc&) {
        return {ExtractResult::NoMemory, false};
    }

    std::fprintf(heightsFile, "%ld %ld\n", static_cast<long>(layout.pixelRows), static_cast<long>(layout.pixelCols));
    std::fprintf(heightsFile, "%ld %ld\n", static_cast<long>(layout.blockRows), static_cast<long>(layout.blockCols));
    std::fprintf(heightsFile, "%d\n", static_cast<int>(contourInterval));
    std::fprintf(heightsFile, "%d\n", static_cast<int>(set.entries.size()));
    for (const ColourHeightEntry& entry : set.entries)
        std::fprintf(heightsFile, "%d ", static_cast<int>(entry.height));
    std::fputs("\n", heightsFile);

    for (std::int32_t r = 0; r < layout.blockRows; ++r) {
        line.clear();
        for (std::int32_t c = 0; c < layout.blockCols; ++c) {
            if (c > 0)
                line.push_back(' ');
            appendHeight(line, heightForColour(set, image.pixel(layout.sampleX(c), layout.sampleY(r))));
        }
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), heightsFile);
    }
    return {ExtractResult::Ok, set.colourError};
}

} // namespace qarn
