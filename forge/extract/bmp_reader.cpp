#include "forge/extract/bmp_image.h"

#include "forge/extract/result_codes.h"

#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>

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

int readInfoHeader(std::FILE* stream, BmpInfoHeader& h)
{
    std::uint8_t raw[INFO_HEADER_READ_MAX] = {};
    if (!readBytes(stream, raw, 4))
        return RESULT_READ_ERROR;
    h.size = u32At(raw);

    std::uint32_t read;
    if (h.size <= CORE_HEADER_MAX) {
        static constexpr std::uint32_t coreEnds[] = {6, 8, 10, 12};
        read = bytesCoveringFields(h.size, coreEnds, std::size(coreEnds));
        if (!readBytes(stream, raw + 4, read - 4))
            return RESULT_READ_ERROR;
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
            return RESULT_READ_ERROR;
        h.width = static_cast<std::int32_t>(u32At(raw + 4));
        h.height = static_cast<std::int32_t>(u32At(raw + 8));
        h.planes = u16At(raw + 12);
        h.bitCount = u16At(raw + 14);
        h.compression = u32At(raw + 16);
        h.recording = u16At(raw + 44);
        h.colorEncoding = u32At(raw + 56);
    }
    if (h.size > read) {
        if (int status = fseeko(stream, static_cast<off_t>(h.size - read), SEEK_CUR))
            return status;
    }
    return RESULT_OK;
}

int checkHeader(const BmpInfoHeader& h)
{
    const std::uint32_t bitsPerPixel = std::uint32_t{h.planes} * h.bitCount;
    if (bitsPerPixel > 32 || h.compression > 4)
        return RESULT_BAD_HEADER;
    if (isOs2InfoHeader(h.size) && (h.recording != 0 || h.colorEncoding != 0))
        return RESULT_BAD_HEADER;
    // The lowest height has no positive counterpart in 32 bits.
    if (h.width < 1 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
        return RESULT_BAD_HEADER;
    if (h.planes > 1)
        return RESULT_UNSUPPORTED_BMP;
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24)
        return RESULT_UNSUPPORTED_BMP;
    if (h.compression != 0)
        return RESULT_UNSUPPORTED_BMP;
    return RESULT_OK;
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

// Turns one file row of a palette or 16-bit picture into 3-byte pixels.
void expandRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width, unsigned bitCount,
               const std::uint8_t* palette)
{
    switch (bitCount) {
    case 1:
        for (std::int32_t x = 0; x < width; ++x, dst += 3)
            putEntry(dst, palette, (src[x >> 3] >> (7 - (x & 7))) & 1u);
        break;
    case 4:
        for (std::int32_t x = 0; x < width; ++x, dst += 3)
            putEntry(dst, palette, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu);
        break;
    case 8:
        for (std::int32_t x = 0; x < width; ++x, dst += 3)
            putEntry(dst, palette, src[x]);
        break;
    default: // 16: little-endian 5-5-5, red in the high bits
        for (std::int32_t x = 0; x < width; ++x, dst += 3) {
            const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
            dst[0] = widen5(v & 31u);
            dst[1] = widen5((v >> 5) & 31u);
            dst[2] = widen5((v >> 10) & 31u);
        }
        break;
    }
}

} // namespace

int loadBmp(std::FILE* stream, BmpImage& image)
{
    image = BmpImage{};

    const off_t start = ftello(stream);
    if (start < 0)
        return RESULT_READ_ERROR;

    std::uint8_t fileHeader[14];
    if (!readBytes(stream, fileHeader, sizeof fileHeader))
        return RESULT_READ_ERROR;
    if (u16At(fileHeader) != BMP_TYPE)
        return RESULT_NOT_BMP;
    const std::uint32_t offBits = u32At(fileHeader + 10);

    BmpInfoHeader header;
    if (int result = readInfoHeader(stream, header))
        return result;
    if (int result = checkHeader(header))
        return result;

    const bool topRowFirst = header.height < 0;
    const std::int64_t width = header.width;
    const std::int64_t height = topRowFirst ? -std::int64_t{header.height} : header.height;
    const unsigned bitCount = header.bitCount;

    // Refuse a picture the file cannot hold before allocating anything for it.
    const std::uint64_t dataBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    const std::uint64_t rowBytes = (dataBytes + 3) / 4 * 4;
    const std::uint64_t needed = offBits + rowBytes * static_cast<std::uint64_t>(height - 1) + dataBytes;
    {
        const off_t here = ftello(stream);
        if (here < 0)
            return RESULT_READ_ERROR;
        if (int status = fseeko(stream, 0, SEEK_END))
            return status;
        const off_t end = ftello(stream);
        if (end < 0)
            return RESULT_READ_ERROR;
        if (int status = fseeko(stream, here, SEEK_SET))
            return status;
        if (needed > static_cast<std::uint64_t>(end - start))
            return RESULT_READ_ERROR;
    }

    // 1-, 4- and 8-bit pictures carry a palette of 2^bits entries straight
    // after the header: 3 bytes each after a core header, else 4.
    std::uint8_t palette[256 * 3] = {};
    if (bitCount < 16) {
        const std::size_t entries = std::size_t{1} << bitCount;
        const std::size_t entryBytes = header.size <= CORE_HEADER_MAX ? 3 : 4;
        std::uint8_t raw[256 * 4];
        if (!readBytes(stream, raw, entries * entryBytes))
            return RESULT_READ_ERROR;
        for (std::size_t i = 0; i < entries; ++i) {
            palette[3 * i] = raw[entryBytes * i];
            palette[3 * i + 1] = raw[entryBytes * i + 1];
            palette[3 * i + 2] = raw[entryBytes * i + 2];
        }
    }
    const off_t afterHeaders = ftello(stream);
    if (afterHeaders < 0)
        return RESULT_READ_ERROR;

    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
    if (pixelBytes > std::numeric_limits<std::size_t>::max())
        return RESULT_NO_MEMORY_PIXELS;
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[pixelBytes]);
    std::unique_ptr<std::uint8_t[]> rowBuffer;
    if (!pixels)
        return RESULT_NO_MEMORY_PIXELS;
    if (bitCount != 24) {
        rowBuffer.reset(new (std::nothrow) std::uint8_t[rowBytes]);
        if (!rowBuffer)
            return RESULT_NO_MEMORY_PIXELS;
    }

    if (int status = fseeko(stream, start + static_cast<off_t>(offBits), SEEK_SET))
        return status;

    // Each file row goes straight to its place, so no pass reverses the rows.
    const std::size_t outRowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t padding = static_cast<std::size_t>(rowBytes - dataBytes);
    for (std::int64_t k = 0; k < height; ++k) {
        const std::int64_t y = topRowFirst ? k : height - 1 - k;
        std::uint8_t* dst = pixels.get() + static_cast<std::size_t>(y) * outRowBytes;
        const bool lastRow = k == height - 1;
        if (bitCount == 24) {
            std::uint8_t pad[4];
            if (!readBytes(stream, dst, outRowBytes) || (!lastRow && !readBytes(stream, pad, padding)))
                return RESULT_READ_ERROR;
        } else {
            if (!readBytes(stream, rowBuffer.get(), static_cast<std::size_t>(lastRow ? dataBytes : rowBytes)))
                return RESULT_READ_ERROR;
            expandRow(rowBuffer.get(), dst, header.width, bitCount, palette);
        }
    }

    if (int status = fseeko(stream, afterHeaders, SEEK_SET))
        return status;
    image.width = header.width;
    image.height = static_cast<std::int32_t>(height);
    image.pixels = std::move(pixels);
    return RESULT_OK;
}

std::string describeBmpRefusal(const std::string& path, int result)
{
    if (result != RESULT_UNSUPPORTED_BMP && result != RESULT_BAD_HEADER)
        return {};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "rb"), std::fclose);
    std::uint8_t fileHeader[14];
    BmpInfoHeader h;
    if (!stream || !readBytes(stream.get(), fileHeader, sizeof fileHeader) || u16At(fileHeader) != BMP_TYPE ||
        readInfoHeader(stream.get(), h) != RESULT_OK)
        return {};

    // Checked in the order that names the cause best: an embedded picture has
    // no bit count of its own, and 32-bit pictures usually also carry bit fields.
    const bool os2 = isOs2InfoHeader(h.size);
    std::string what;
    if (result == RESULT_BAD_HEADER) {
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
    std::string text = "The picture uses " + what +
                       ", which the builder does not read. Save it as an uncompressed 24-bit or 8-bit BMP: in GIMP, "
                       "File > Export As..., a name ending in .bmp, Export, then in the BMP dialog leave "
                       "Run-Length Encoded unticked and choose 24 bits R8 G8 B8 (under Advanced Options in "
                       "GIMP 2.10, RGB format in GIMP 3).";
    if (h.bitCount == 32)
        text += " Or remove the alpha channel first: Layer > Transparency > Remove Alpha Channel.";
    return text;
}
