#include "painter/model/map_picture_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "common/atomic_file.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/block_layout.h"
#include "forge/output/save_file.h"

namespace qarn {

ExtractResult openMapPicture(const std::string& path, ColourSet colourSet, BlockMap& map)
{
    try {
        BmpImage image;
        if (const ExtractResult read = readMapPicture(path, image, samplingPlan(colourSet));
            read != ExtractResult::Ok)
            return read;
        const BlockLayout layout = blockLayoutFor(colourSet, image.width, image.height);
        BlockMap opened;
        opened.colourSet = colourSet;
        if (colourSet == ColourSet::User)
            opened.band = userBandColours(image);
        opened.rows = layout.blockRows;
        opened.cols = layout.blockCols;
        opened.blocks.resize(static_cast<std::size_t>(layout.blockRows) * static_cast<std::size_t>(layout.blockCols));
        for (std::int32_t r = 0; r < layout.blockRows; ++r) {
            for (std::int32_t c = 0; c < layout.blockCols; ++c) {
                const std::uint8_t* p = image.pixel(layout.sampleX(c), layout.sampleY(r));
                opened.at(r, c) = {p[2], p[1], p[0]};
            }
        }
        map = std::move(opened);
    } catch (const std::bad_alloc&) {
        return ExtractResult::NoMemory;
    }
    return ExtractResult::Ok;
}

namespace {

constexpr Rgb WHITE{255, 255, 255};
constexpr std::uint32_t BMP_HEADERS_SIZE = 14 + 40;

void putLittleEndian(unsigned char* at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// One pixel row of a row of blocks, `colours` one per block, padded to 4 bytes.
void fillPixelRow(std::vector<unsigned char>& row, const Rgb* colours, std::int32_t count)
{
    unsigned char* out = row.data();
    for (std::int32_t b = 0; b < count; ++b)
        for (int x = 0; x < BLOCK_PIXELS; ++x) {
            *out++ = colours[b].blue;
            *out++ = colours[b].green;
            *out++ = colours[b].red;
        }
}

// An uncompressed 24-bit BMP with a 40-byte header, rows stored bottom-up:
// each row of blocks is one pixel row written ten times.
OutputResult writeMapBmp(std::FILE* out, const BlockMap& map)
{
    const std::int32_t width = map.cols * BLOCK_PIXELS;
    const std::int32_t bandRows = map.colourSet == ColourSet::User ? USER_COLOUR_SET_ROWS : 0;
    const std::int32_t height = map.rows * BLOCK_PIXELS + bandRows;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);

    unsigned char headers[BMP_HEADERS_SIZE] = {'B', 'M'};
    putLittleEndian(headers + 2, BMP_HEADERS_SIZE + pixelBytes, 4);
    putLittleEndian(headers + 10, BMP_HEADERS_SIZE, 4);
    putLittleEndian(headers + 14, 40, 4);
    putLittleEndian(headers + 18, static_cast<std::uint32_t>(width), 4);
    putLittleEndian(headers + 22, static_cast<std::uint32_t>(height), 4);
    putLittleEndian(headers + 26, 1, 2);
    putLittleEndian(headers + 28, 24, 2);
    putLittleEndian(headers + 34, pixelBytes, 4);
    putLittleEndian(headers + 38, 2835, 4); // 72 dots per inch
    putLittleEndian(headers + 42, 2835, 4);
    if (std::fwrite(headers, 1, sizeof headers, out) != sizeof headers)
        return OutputResult::WriteFailed;

    std::vector<unsigned char> row(rowBytes, 0);
    const auto writeTenTimes = [&] {
        for (int i = 0; i < BLOCK_PIXELS; ++i)
            if (std::fwrite(row.data(), 1, row.size(), out) != row.size())
                return false;
        return true;
    };
    for (std::int32_t r = map.rows - 1; r >= 0; --r) {
        fillPixelRow(row, &map.blocks[map.index(r, 0)], map.cols);
        if (!writeTenTimes())
            return OutputResult::WriteFailed;
    }
    if (bandRows > 0) {
        // The band's colours, then white: the white block ends the band.
        std::vector<Rgb> band(static_cast<std::size_t>(map.cols), WHITE);
        std::copy(map.band.begin(), map.band.end(), band.begin());
        fillPixelRow(row, band.data(), map.cols);
        if (!writeTenTimes())
            return OutputResult::WriteFailed;
    }
    return std::fflush(out) == 0 ? OutputResult::Ok : OutputResult::WriteFailed;
}

} // namespace

OutputResult saveMapPicture(const BlockMap& map, const std::string& path, std::string& error,
                            const std::vector<CompanionFile>& companions)
{
    error.clear();
    if (map.rows < 1 || map.cols < 1 || map.rows > MAX_MAP_BLOCKS || map.cols > MAX_MAP_BLOCKS ||
        map.blocks.size() != static_cast<std::size_t>(map.rows) * static_cast<std::size_t>(map.cols) ||
        map.band.size() > static_cast<std::size_t>(map.cols)) {
        error = saveFailureText(path, "the map has no blocks, more than a grid holds, or a band wider than itself");
        return OutputResult::BadGridSize;
    }
    if (map.mapData && mapDataPathFor(path) == path) {
        error = saveFailureText(path, std::string("the map data file beside the picture has this name"));
        return OutputResult::FileFailed;
    }
    try {
        std::vector<std::unique_ptr<AtomicFile>> files;
        files.push_back(std::make_unique<AtomicFile>(path));
        OutputResult result =
            writeTemporary(*files.back(), [&](std::FILE* out) { return writeMapBmp(out, map); }, error);
        if (result != OutputResult::Ok)
            return result;
        std::vector<CompanionFile> alongside;
        if (map.mapData)
            alongside.push_back({mapDataPathFor(path), encodeMapData(*map.mapData)});
        alongside.insert(alongside.end(), companions.begin(), companions.end());
        for (const CompanionFile& companion : alongside) {
            files.push_back(std::make_unique<AtomicFile>(companion.path));
            result = writeTemporary(
                *files.back(),
                [&](std::FILE* out) {
                    return std::fwrite(companion.bytes.data(), 1, companion.bytes.size(), out) ==
                                   companion.bytes.size()
                               ? OutputResult::Ok
                               : OutputResult::WriteFailed;
                },
                error);
            if (result != OutputResult::Ok)
                return result;
        }
        std::vector<AtomicFile*> order;
        for (const auto& file : files)
            order.push_back(file.get());
        if (commitAll(order) != FileResult::Ok) {
            const auto failed = std::find_if(order.begin(), order.end(),
                                             [](const AtomicFile* file) { return !file->error().empty(); });
            const AtomicFile& named = failed == order.end() ? *order.front() : **failed;
            error = saveFailureText(named.targetPath(), named.error());
            return OutputResult::FileFailed;
        }
    } catch (const std::bad_alloc&) {
        error = saveFailureText(path, "out of memory");
        return OutputResult::WriteFailed;
    }
    return OutputResult::Ok;
}

} // namespace qarn
