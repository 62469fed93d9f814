#include "fuzz/fuzz_targets.h"

#include "forge/extract/bmp_image.h"
#include "forge/extract/result_codes.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <memory>

// The reader's answer is checked against a second, deliberately plain reading
// of the same bytes straight from memory: where the headers end, where each row
// starts and what colour each pixel must have.

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t u32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16)
        | (std::uint32_t{p[3]} << 24);
}

// Header fields are read whole: every field that starts before the declared
// size (at most 64 bytes) is read to its end.
std::uint64_t headerBytesRead(std::uint32_t size)
{
    struct Field {
        std::uint32_t start, end;
    };
    static constexpr Field core[] = {{4, 6}, {6, 8}, {8, 10}, {10, 12}};
    static constexpr Field info[] = {{4, 8},   {8, 12},  {12, 14}, {14, 16}, {16, 20}, {20, 24},
                                     {24, 28}, {28, 32}, {32, 36}, {36, 40}, {40, 42}, {42, 44},
                                     {44, 46}, {46, 48}, {48, 52}, {52, 56}, {56, 60}, {60, 64}};
    std::uint64_t covered = 4;
    if (size <= 12) {
        for (const Field& f : core)
            if (f.start < size)
                covered = f.end;
    } else {
        for (const Field& f : info)
            if (f.start < std::min<std::uint32_t>(size, 64))
                covered = f.end;
    }
    return std::max<std::uint64_t>(covered, size);
}

std::uint8_t widen5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

std::string checkDecodedPicture(const std::uint8_t* data, std::size_t size, const BmpImage& image,
                                std::int64_t streamPosition)
{
    if (size < 18)
        return "decoded a picture from a file shorter than its headers";
    const std::uint32_t headerSize = u32(data + 14);
    const bool core = headerSize <= 12;
    if (size < (core ? 26u : 30u))
        return "decoded a picture from a file shorter than its headers";
    const std::int64_t width = core ? static_cast<std::int16_t>(u16(data + 18))
                                    : static_cast<std::int32_t>(u32(data + 18));
    const std::int64_t rawHeight = core ? static_cast<std::int16_t>(u16(data + 20))
                                        : static_cast<std::int32_t>(u32(data + 22));
    const unsigned bitCount = core ? u16(data + 24) : u16(data + 28);
    const std::uint64_t offBits = u32(data + 10);
    const bool topRowFirst = rawHeight < 0;
    const std::int64_t height = topRowFirst ? -rawHeight : rawHeight;

    if (image.width != width || image.height != height || !image.pixels)
        return "decoded size differs from the header";

    const std::uint64_t paletteStart = 14 + headerBytesRead(headerSize);
    const std::uint64_t entryBytes = core ? 3 : 4;
    const std::uint64_t paletteEntries = bitCount < 16 ? (std::uint64_t{1} << bitCount) : 0;
    const std::uint64_t afterHeaders = paletteStart + paletteEntries * entryBytes;
    if (afterHeaders > size)
        return "decoded a picture whose headers run past the end of the file";
    if (streamPosition < 0 || static_cast<std::uint64_t>(streamPosition) != afterHeaders)
        return "stream not left just after the headers and palette";

    const std::uint64_t dataBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    const std::uint64_t rowBytes = (dataBytes + 3) / 4 * 4;
    for (std::int64_t k = 0; k < height; ++k) {
        const std::uint64_t rowStart = offBits + static_cast<std::uint64_t>(k) * rowBytes;
        if (rowStart + dataBytes > size)
            return "decoded a picture whose pixel data runs past the end of the file";
        const std::uint8_t* row = data + rowStart;
        const std::int64_t y = topRowFirst ? k : height - 1 - k;
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint8_t want[3];
            if (bitCount == 24) {
                std::copy_n(row + 3 * x, 3, want);
            } else if (bitCount == 16) {
                const unsigned v = u16(row + 2 * x);
                want[0] = widen5(v & 31u);
                want[1] = widen5((v >> 5) & 31u);
                want[2] = widen5((v >> 10) & 31u);
            } else {
                unsigned index;
                if (bitCount == 1)
                    index = (row[x / 8] >> (7 - x % 8)) & 1u;
                else if (bitCount == 4)
                    index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu;
                else
                    index = row[x];
                std::copy_n(data + paletteStart + index * entryBytes, 3, want);
            }
            const std::uint8_t* got = image.pixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            if (!std::equal(want, want + 3, got))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") has the wrong colour";
        }
    }
    return {};
}

} // namespace

std::string fuzzBmpReader(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<std::FILE, FileCloser> stream(
        ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb"));
    if (!stream)
        return "cannot open the input as a stream";

    BmpImage image;
    const int result = loadBmp(stream.get(), image);
    switch (result) {
    case RESULT_OK:
        return checkDecodedPicture(data, size, image, ftello(stream.get()));
    case RESULT_NOT_BMP:
        if (size < 14 || (data[0] == 'B' && data[1] == 'M'))
            return "RESULT_NOT_BMP for a file that starts with \"BM\" or is too short to tell";
        break;
    case RESULT_READ_ERROR:
    case RESULT_BAD_HEADER:
    case RESULT_UNSUPPORTED_BMP:
    case RESULT_NO_MEMORY_PALETTE:
    case RESULT_NO_MEMORY_PIXELS:
        if (size >= 14 && (data[0] != 'B' || data[1] != 'M'))
            return "a file not starting with \"BM\" got code " + std::to_string(result);
        break;
    default:
        return "unknown result code " + std::to_string(result);
    }
    if (image.pixels || image.width != 0 || image.height != 0)
        return "a failed read left an image behind";
    return {};
}
