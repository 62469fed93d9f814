#include "forge/extract/bmp_image.h"

#include "common/platform.h"
#include "common/regular_file.h"

#include "forge/extract/result_codes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace qarn {

namespace {

constexpr std::uint16_t BMP_TYPE = 0x4D42; // "BM"
constexpr std::uint32_t CORE_HEADER_MAX = 12;
constexpr std::uint32_t INFO_HEADER_READ_MAX = 64;

struct BmpInfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint16_t recording = 0;
    std::uint32_t colorEncoding = 0;
};

std::uint16_t u16At(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t u32At(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool readBytes(std::FILE* stream, void* to, std::size_t count)
{
    return count == 0 || std::fread(to, 1, count, stream) == count;
}

// Fields are read whole: the bytes read run to the end of the last field that
// starts before `limit`. The tables list the field boundaries of each layout.
std::uint32_t bytesCoveringFields(std::uint32_t limit, const std::uint32_t* ends, std::size_t count)
{
    std::uint32_t covered = 4; // `size` itself
    for (std::size_t i = 0; i < count && covered < limit; ++i)
        covered = ends[i];
    return covered;
}

// OS/2 2.x headers are 16 to 64 bytes long; 40, 52 and 56 are Windows sizes.
bool isOs2InfoHeader(std::uint32_t size)
{
    return size >= 16 && size <= 64 && size != 40 && size != 52 && size != 56;
}

ExtractResult readInfoHeader(std::FILE* stream, BmpInfoHeader& h)
{
    std::uint8_t raw[INFO_HEADER_READ_MAX] = {};
    if (!readBytes(stream, raw, 4))
        return ExtractResult::ReadError;
    h.size = u32At(raw);

    std::uint32_t read;
    if (h.size <= CORE_HEADER_MAX) {
        static constexpr std::uint32_t coreEnds[] = {6, 8, 10, 12};
        read = bytesCoveringFields(h.size, coreEnds, std::size(coreEnds));
        if (!readBytes(stream, raw + 4, read - 4))
            return ExtractResult::ReadError;
        h.width = static_cast<std::int16_t>(u16At(raw + 4));
        h.height = static_cast<std::int16_t>(u16At(raw + 6));
        h.planes = u16At(raw + 8);
        h.bitCount = u16At(raw + 10);
    } else {
        static constexpr std::uint32_t infoEnds[] = {8,  12, 14, 16, 20, 24, 28, 32, 36,
                                                     40, 42, 44, 46, 48, 52, 56, 60, 64};
        const std::uint32_t limit = h.size < INFO_HEADER_READ_MAX ? h.size : INFO_HEADER_READ_MAX;
        read = bytesCoveringFields(limit, infoEnds, std::size(infoEnds));
        if (!readBytes(stream, raw + 4, read - 4))
            return ExtractResult::ReadError;
        h.width = static_cast<std::int32_t>(u32At(raw + 4));
        h.height = static_cast<std::int32_t>(u32At(raw + 8));
        h.planes = u16At(raw + 12);
        h.bitCount = u16At(raw + 14);
        h.compression = u32At(raw + 16);
        h.recording = u16At(raw + 44);
        h.colorEncoding = u32At(raw + 56);
    }
    if (h.size > read) {
        if (!platform::seek(stream, static_cast<std::int64_t>(h.size - read), SEEK_CUR))
            return ExtractResult::ReadError;
    }
    return ExtractResult::Ok;
}

ExtractResult checkHeader(const BmpInfoHeader& h)
{
    const std::uint32_t bitsPerPixel = std::uint32_t{h.planes} * h.bitCount;
    if (bitsPerPixel > 32 || h.compression > 4)
        return ExtractResult::BadHeader;
    if (isOs2InfoHeader(h.size) && (h.recording != 0 || h.colorEncoding != 0))
        return ExtractResult::BadHeader;
    // The lowest height has no positive counterpart in 32 bits.
    if (h.width < 1 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
        return ExtractResult::BadHeader;
    if (h.planes > 1)
        return ExtractResult::UnsupportedBmp;
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24)
        return ExtractResult::UnsupportedBmp;
    if (h.compression != 0)
        return ExtractResult::UnsupportedBmp;
    return ExtractResult::Ok;
}

// Widens a 5-bit channel so that 0 stays 0 and 31 becomes 255.
std::uint8_t widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

void putEntry(std::uint8_t* dst, const std::uint8_t* palette, unsigned index)
{
    const std::uint8_t* entry = palette + 3 * index;
    dst[0] = entry[0];
    dst[1] = entry[1];
    dst[2] = entry[2];
}

// Turns the kept pixels of one file row into 3-byte pixels: `count` of them,
// from column `first` in steps of `step`.
void expandRow(const std::uint8_t* src, std::uint8_t* dst, std::int64_t first, std::int64_t step, std::int64_t count,
               unsigned bitCount, const std::uint8_t* palette)
{
    std::int64_t x = first;
    switch (bitCount) {
    case 1:
        for (std::int64_t i = 0; i < count; ++i, x += step, dst += 3)
            putEntry(dst, palette, (src[x >> 3] >> (7 - (x & 7))) & 1u);
        break;
    case 4:
        for (std::int64_t i = 0; i < count; ++i, x += step, dst += 3)
            putEntry(dst, palette, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu);
        break;
    case 8:
        for (std::int64_t i = 0; i < count; ++i, x += step, dst += 3)
            putEntry(dst, palette, src[x]);
        break;
    case 16: // little-endian 5-5-5, red in the high bits
        for (std::int64_t i = 0; i < count; ++i, x += step, dst += 3) {
            const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
            dst[0] = widen5(v & 31u);
            dst[1] = widen5((v >> 5) & 31u);
            dst[2] = widen5((v >> 10) & 31u);
        }
        break;
    default: // 24: blue, green, red as stored
        if (step == 1) {
            std::memcpy(dst, src + 3 * first, static_cast<std::size_t>(3 * count));
            break;
        }
        for (std::int64_t i = 0; i < count; ++i, x += step, dst += 3)
            std::memcpy(dst, src + 3 * x, 3);
        break;
    }
}

// A stored row's length: its pixels' bytes padded to a multiple of 4.
std::uint64_t paddedRowBytes(std::uint64_t dataBytes)
{
    return (dataBytes + 3) / 4 * 4;
}

// The file length a picture needs: its pixels start at offBits, and the last
// row needs no padding.
std::uint64_t bytesNeeded(std::uint32_t offBits, std::int64_t width, std::int64_t height, unsigned bitCount)
{
    const std::uint64_t dataBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    const std::uint64_t rowBytes = paddedRowBytes(dataBytes);
    return offBits + rowBytes * static_cast<std::uint64_t>(height - 1) + dataBytes;
}

} // namespace

ExtractResult readBmpFormat(std::FILE* stream, BmpFormat& format)
{
    format = BmpFormat{};
    format.start = platform::tell(stream);
    if (format.start < 0)
        return ExtractResult::ReadError;

    std::uint8_t fileHeader[14];
    if (!readBytes(stream, fileHeader, sizeof fileHeader))
        return ExtractResult::ReadError;
    if (u16At(fileHeader) != BMP_TYPE)
        return ExtractResult::NotBmp;
    format.offBits = u32At(fileHeader + 10);

    BmpInfoHeader header;
    if (ExtractResult result = readInfoHeader(stream, header); result != ExtractResult::Ok)
        return result;
    if (ExtractResult result = checkHeader(header); result != ExtractResult::Ok)
        return result;

    format.topRowFirst = header.height < 0;
    const std::int64_t width = header.width;
    const std::int64_t height = format.topRowFirst ? -std::int64_t{header.height} : header.height;
    format.width = header.width;
    format.height = static_cast<std::int32_t>(height);
    format.bitCount = header.bitCount;

    // Refuse a picture the file cannot hold before allocating anything for it.
    format.dataBytes = (static_cast<std::uint64_t>(width) * format.bitCount + 7) / 8;
    format.rowBytes = paddedRowBytes(format.dataBytes);
    const std::uint64_t needed = bytesNeeded(format.offBits, width, height, format.bitCount);
    {
        const std::int64_t here = platform::tell(stream);
        if (here < 0)
            return ExtractResult::ReadError;
        if (!platform::seek(stream, 0, SEEK_END))
            return ExtractResult::ReadError;
        const std::int64_t end = platform::tell(stream);
        if (end < 0)
            return ExtractResult::ReadError;
        if (!platform::seek(stream, here, SEEK_SET))
            return ExtractResult::ReadError;
        if (needed > static_cast<std::uint64_t>(end - format.start))
            return ExtractResult::ReadError;
    }

    // 1-, 4- and 8-bit pictures carry a palette of 2^bits entries straight
    // after the header: 3 bytes each after a core header, else 4.
    if (format.bitCount < 16) {
        const std::size_t entries = std::size_t{1} << format.bitCount;
        const std::size_t entryBytes = header.size <= CORE_HEADER_MAX ? 3 : 4;
        std::uint8_t raw[256 * 4];
        if (!readBytes(stream, raw, entries * entryBytes))
            return ExtractResult::ReadError;
        for (std::size_t i = 0; i < entries; ++i) {
            format.palette[3 * i] = raw[entryBytes * i];
            format.palette[3 * i + 1] = raw[entryBytes * i + 1];
            format.palette[3 * i + 2] = raw[entryBytes * i + 2];
        }
    }
    return ExtractResult::Ok;
}

ExtractResult loadBmp(std::FILE* stream, BmpImage& image, const BmpPlan& plan)
{
    image = BmpImage{};
    BmpFormat format;
    if (ExtractResult result = readBmpFormat(stream, format); result != ExtractResult::Ok)
        return result;
    const std::int64_t width = format.width;
    const std::int64_t height = format.height;

    // The plan refuses the picture, or says which pixels to keep, before any
    // pixel memory is taken.
    BmpSelection keep;
    if (plan) {
        if (ExtractResult result = plan(format.width, format.height, keep); result != ExtractResult::Ok)
            return result;
    }
    const std::int64_t afterHeaders = platform::tell(stream);
    if (afterHeaders < 0)
        return ExtractResult::ReadError;

    // The kept row each picture row goes to, or -1; without a plan every row
    // is kept in its own place.
    std::vector<std::int32_t> rowSlot;
    try {
        rowSlot.assign(static_cast<std::size_t>(height), -1);
    } catch (const std::bad_alloc&) {
        return ExtractResult::NoMemoryPixels;
    }
    std::int64_t keptRows = 0;
    if (!plan) {
        for (std::int32_t& slot : rowSlot)
            slot = static_cast<std::int32_t>(keptRows++);
    }
    for (const std::int32_t y : keep.rows)
        if (y >= 0 && y < height && rowSlot[static_cast<std::size_t>(y)] < 0)
            rowSlot[static_cast<std::size_t>(y)] = static_cast<std::int32_t>(keptRows++);
    const std::int64_t firstColumn = keep.firstColumn;
    const std::int64_t columnStep = keep.columnStep;
    const std::int64_t keptColumns = firstColumn < width ? (width - 1 - firstColumn) / columnStep + 1 : 0;

    const std::uint64_t pixelBytes =
        static_cast<std::uint64_t>(keptColumns) * static_cast<std::uint64_t>(keptRows) * 3;
    if (pixelBytes > std::numeric_limits<std::size_t>::max())
        return ExtractResult::NoMemoryPixels;
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[pixelBytes]);
    if (!pixels)
        return ExtractResult::NoMemoryPixels;
    std::unique_ptr<std::uint8_t[]> rowBuffer(new (std::nothrow) std::uint8_t[format.rowBytes]);
    if (!rowBuffer)
        return ExtractResult::NoMemoryPixels;

    const std::int64_t pixelStart = format.start + static_cast<std::int64_t>(format.offBits);
    if (!platform::seek(stream, pixelStart, SEEK_SET))
        return ExtractResult::ReadError;

    // File rows are read in file order, each kept one into its place; the
    // others are passed over with a seek.
    const std::size_t outRowBytes = static_cast<std::size_t>(keptColumns) * 3;
    std::int64_t standingAt = 0; // the file row the stream stands at
    for (std::int64_t k = 0; k < height; ++k) {
        const std::int64_t y = format.topRowFirst ? k : height - 1 - k;
        const std::int64_t slot = rowSlot[static_cast<std::size_t>(y)];
        if (slot < 0)
            continue;
        if (k != standingAt &&
            !platform::seek(stream, pixelStart + static_cast<std::int64_t>(k * format.rowBytes), SEEK_SET))
            return ExtractResult::ReadError;
        const bool lastRow = k == height - 1;
        if (!readBytes(stream, rowBuffer.get(),
                       static_cast<std::size_t>(lastRow ? format.dataBytes : format.rowBytes)))
            return ExtractResult::ReadError;
        standingAt = k + 1;
        expandRow(rowBuffer.get(), pixels.get() + static_cast<std::size_t>(slot) * outRowBytes, firstColumn,
                  columnStep, keptColumns, format.bitCount, format.palette);
    }

    if (!platform::seek(stream, afterHeaders, SEEK_SET))
        return ExtractResult::ReadError;
    image.width = format.width;
    image.height = format.height;
    image.pixels = std::move(pixels);
    image.rowSlot = std::move(rowSlot);
    image.firstColumn = static_cast<std::int32_t>(firstColumn);
    image.columnStep = static_cast<std::int32_t>(columnStep);
    image.keptColumns = static_cast<std::int32_t>(keptColumns);
    return ExtractResult::Ok;
}

ExtractResult BmpBandReader::open(std::FILE* stream, std::int32_t bandRows)
{
    stream_ = nullptr;
    band_ = BmpImage{};
    bandY_ = bandCount_ = 0;
    if (ExtractResult result = readBmpFormat(stream, format_); result != ExtractResult::Ok)
        return result;
    bandRows_ = std::clamp<std::int32_t>(bandRows, 1, format_.height);
    const std::uint64_t rawBytes = format_.rowBytes * static_cast<std::uint64_t>(bandRows_);
    const std::uint64_t pixelBytes = std::uint64_t{3} * static_cast<std::uint64_t>(format_.width) *
                                     static_cast<std::uint64_t>(bandRows_);
    if (rawBytes > std::numeric_limits<std::size_t>::max() || pixelBytes > std::numeric_limits<std::size_t>::max())
        return ExtractResult::NoMemoryPixels;
    try {
        raw_.resize(static_cast<std::size_t>(rawBytes));
        band_.rowSlot.assign(static_cast<std::size_t>(format_.height), -1);
    } catch (const std::bad_alloc&) {
        return ExtractResult::NoMemoryPixels;
    }
    band_.pixels.reset(new (std::nothrow) std::uint8_t[pixelBytes]);
    if (!band_.pixels)
        return ExtractResult::NoMemoryPixels;
    band_.width = format_.width;
    band_.height = format_.height;
    band_.keptColumns = format_.width;
    stream_ = stream;
    return ExtractResult::Ok;
}

ExtractResult BmpBandReader::read(std::int32_t y, std::int32_t count)
{
    if (!stream_ || y < 0 || count < 1 || count > bandRows_ || y > format_.height - count)
        return ExtractResult::ReadError;
    std::fill_n(band_.rowSlot.begin() + bandY_, bandCount_, -1); // the band read before is gone
    bandCount_ = 0;
    // The band's rows lie together in the file, bottom row first unless the
    // picture is stored top row first; the file's last row has no padding.
    const std::int64_t firstFileRow = format_.topRowFirst ? y : std::int64_t{format_.height} - y - count;
    const bool endsFile = firstFileRow + count == format_.height;
    const std::uint64_t bytes =
        format_.rowBytes * static_cast<std::uint64_t>(count - 1) + (endsFile ? format_.dataBytes : format_.rowBytes);
    const std::int64_t at = format_.start + static_cast<std::int64_t>(format_.offBits) +
                            static_cast<std::int64_t>(static_cast<std::uint64_t>(firstFileRow) * format_.rowBytes);
    if (!platform::seek(stream_, at, SEEK_SET) || !readBytes(stream_, raw_.data(), static_cast<std::size_t>(bytes)))
        return ExtractResult::ReadError;
    const std::size_t outRowBytes = static_cast<std::size_t>(format_.width) * 3;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int64_t fileRow = firstFileRow + i;
        const std::int64_t row = format_.topRowFirst ? fileRow : std::int64_t{format_.height} - 1 - fileRow;
        const std::int32_t slot = static_cast<std::int32_t>(row - y);
        band_.rowSlot[static_cast<std::size_t>(row)] = slot;
        expandRow(raw_.data() + static_cast<std::size_t>(i) * format_.rowBytes,
                  band_.pixels.get() + static_cast<std::size_t>(slot) * outRowBytes, 0, 1, format_.width,
                  format_.bitCount, format_.palette);
    }
    bandY_ = y, bandCount_ = count;
    return ExtractResult::Ok;
}

std::string unreadBmpFeature(const std::string& path, ExtractResult result)
{
    if (result != ExtractResult::UnsupportedBmp && result != ExtractResult::BadHeader)
        return {};
    FileResult opened = FileResult::Ok;
    const FileHandle stream = openRegularFile(path, opened);
    std::uint8_t fileHeader[14];
    BmpInfoHeader h;
    if (!stream || !readBytes(stream.get(), fileHeader, sizeof fileHeader) || u16At(fileHeader) != BMP_TYPE ||
        readInfoHeader(stream.get(), h) != ExtractResult::Ok)
        return {};

    // Checked in the order that names the cause best: an embedded picture has
    // no bit count of its own, and 32-bit pictures usually also carry bit fields.
    const bool os2 = isOs2InfoHeader(h.size);
    std::string what;
    if (result == ExtractResult::BadHeader) {
        if (os2 || h.compression != 5)
            return {};
        what = "a PNG picture inside";
    } else if (!os2 && h.compression == 4) {
        what = "a JPEG picture inside";
    } else if (h.bitCount == 32) {
        what = "32 bits per pixel (usually an alpha channel)";
    } else if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24) {
        what = std::to_string(h.bitCount) + " bits per pixel";
    } else if (h.planes > 1) {
        what = std::to_string(h.planes) + " colour planes";
    } else if (h.compression == 1 || h.compression == 2 || (os2 && h.compression == 4)) {
        what = "RLE compression";
    } else if (h.compression == 3) {
        what = os2 ? "Huffman compression" : "bit fields (colour masks)";
    } else {
        return {};
    }
    return what;
}

BmpLength measureBmpLength(const std::string& path)
{
    BmpLength length;
    FileResult opened = FileResult::Ok;
    const FileHandle stream = openRegularFile(path, opened);
    if (!stream || fseeko(stream.get(), 0, SEEK_END) != 0)
        return length;
    const off_t end = ftello(stream.get());
    if (end < 0 || fseeko(stream.get(), 0, SEEK_SET) != 0)
        return length;
    length.fileBytes = static_cast<std::uint64_t>(end);

    std::uint8_t fileHeader[14];
    BmpInfoHeader h;
    const bool headerWhole = readBytes(stream.get(), fileHeader, sizeof fileHeader);
    if (headerWhole && u16At(fileHeader) != BMP_TYPE)
        return length;
    if (!headerWhole || readInfoHeader(stream.get(), h) != ExtractResult::Ok) {
        // A short file shows as a failed read; a file of 2 bytes or less is
        // told apart by the reader as one without a type.
        length.cutShort = length.inHeaders = length.fileBytes > 2;
        return length;
    }
    if (checkHeader(h) != ExtractResult::Ok)
        return length;
    const std::int64_t height = h.height < 0 ? -std::int64_t{h.height} : h.height;
    length.width = h.width;
    length.height = static_cast<std::int32_t>(height);
    length.bitCount = h.bitCount;
    length.neededBytes = bytesNeeded(u32At(fileHeader + 10), h.width, height, h.bitCount);
    length.cutShort = length.fileBytes < length.neededBytes;
    return length;
}

} // namespace qarn
