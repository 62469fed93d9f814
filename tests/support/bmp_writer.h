#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace qarn_test {

// Builds BMP files in memory for tests: any of the decoded bit depths, core,
// Windows and odd-sized information headers, either row order, and fields that
// can be set to wrong values to make bad headers. Throws nothing on odd input;
// it writes whatever it is told.
//
//   BmpSpec bmpSpec = solidBmp(30, 20, rgb(0, 132, 33));
//   bmpSpec.bitCount = 8; bmpSpec.palette = {rgb(0, 132, 33)}; bmpSpec.pixels.assign(600, 0);
//   writeBmp(dir.file("map.bmp"), bmpSpec);

// Colours are 0xRRGGBB.
constexpr std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

struct BmpSpec {
    std::int32_t width = 1;
    std::int32_t height = 1;    // pixel rows, positive
    std::uint16_t bitCount = 24;
    bool topDown = false;       // writes a negative height and the top row first
    std::uint32_t headerSize = 40;

    // width x height values, top row first: a colour for 24 bits, a palette
    // index for 1, 4 and 8 bits, the raw little-endian 16-bit value for 16 bits.
    std::vector<std::uint32_t> pixels;
    // Colours of the palette; written as 2^bitCount entries (1, 4, 8 bits),
    // missing ones as zeros, 3 bytes each after a header of 12 bytes or less.
    std::vector<std::uint32_t> palette;
    std::optional<std::size_t> paletteEntriesWritten; // instead of 2^bitCount

    // Header fields, written as given when set.
    std::optional<std::int32_t> headerWidth;  // else width
    std::optional<std::int32_t> headerHeight; // else height, negated when topDown
    std::uint16_t planes = 1;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::uint16_t recording = 0;      // header bytes 44-45
    std::uint32_t colorEncoding = 0;  // header bytes 56-59
    bool windowsV4Fields = true;      // headers of 108+ bytes: RGB masks at 40, CSType "sRGB" at 56
    std::optional<std::uint32_t> offBits; // else straight after the palette plus gapBeforePixels
    std::uint32_t gapBeforePixels = 0;
    std::string type = "BM";
};

inline void putU16(std::string& bytes, std::size_t at, std::uint16_t v)
{
    if (bytes.size() < at + 2)
        bytes.resize(at + 2, '\0');
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

inline void putU32(std::string& bytes, std::size_t at, std::uint32_t v)
{
    putU16(bytes, at, static_cast<std::uint16_t>(v & 0xFFFF));
    putU16(bytes, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// Bytes of one row before padding.
inline std::size_t bmpRowDataBytes(std::int64_t width, unsigned bitCount)
{
    return static_cast<std::size_t>((width * bitCount + 7) / 8);
}

inline std::string encodeBmp(const BmpSpec& s)
{
    const bool core = s.headerSize <= 12;
    const std::size_t paletteEntries = s.paletteEntriesWritten.value_or(
        s.bitCount <= 8 ? (std::size_t{1} << s.bitCount) : 0);
    const std::size_t entryBytes = core ? 3 : 4;
    const std::uint32_t pixelStart = static_cast<std::uint32_t>(
        14 + s.headerSize + paletteEntries * entryBytes + s.gapBeforePixels);

    std::string out(14 + s.headerSize, '\0');
    out[0] = s.type.size() > 0 ? s.type[0] : '\0';
    out[1] = s.type.size() > 1 ? s.type[1] : '\0';
    putU32(out, 10, s.offBits.value_or(pixelStart));

    const std::int32_t w = s.headerWidth.value_or(s.width);
    const std::int32_t h = s.headerHeight.value_or(s.topDown ? -s.height : s.height);
    // Header fields only as far as the header reaches.
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        if (at + 2 <= s.headerSize)
            putU16(out, 14 + at, v);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        if (at + 4 <= s.headerSize)
            putU32(out, 14 + at, v);
    };
    put32(0, s.headerSize);
    if (core) {
        put16(4, static_cast<std::uint16_t>(w));
        put16(6, static_cast<std::uint16_t>(h));
        put16(8, s.planes);
        put16(10, s.bitCount);
    } else {
        put32(4, static_cast<std::uint32_t>(w));
        put32(8, static_cast<std::uint32_t>(h));
        put16(12, s.planes);
        put16(14, s.bitCount);
        put32(16, s.compression);
        put32(32, s.clrUsed);
        if (s.headerSize >= 108 && s.windowsV4Fields) {
            put32(40, 0x00FF0000u);
            put32(44, 0x0000FF00u);
            put32(48, 0x000000FFu);
            put32(56, 0x73524742u); // "sRGB"
        }
        if (s.recording != 0)
            put16(44, s.recording);
        if (s.colorEncoding != 0)
            put32(56, s.colorEncoding);
    }

    for (std::size_t i = 0; i < paletteEntries; ++i) {
        const std::uint32_t c = i < s.palette.size() ? s.palette[i] : 0;
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
        out.push_back(static_cast<char>((c >> 16) & 0xFF));
        if (!core)
            out.push_back('\0');
    }
    out.append(s.gapBeforePixels, '\0');

    const std::size_t dataBytes = bmpRowDataBytes(s.width, s.bitCount);
    const std::size_t rowBytes = (dataBytes + 3) / 4 * 4;
    for (std::int32_t k = 0; k < s.height; ++k) {
        const std::int32_t y = s.topDown ? k : s.height - 1 - k;
        std::string row(rowBytes, '\0');
        for (std::int32_t x = 0; x < s.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) + x;
            const std::uint32_t v = i < s.pixels.size() ? s.pixels[i] : 0;
            switch (s.bitCount) {
            case 1:
                row[x / 8] = static_cast<char>(row[x / 8] | ((v & 1) << (7 - x % 8)));
                break;
            case 4:
                row[x / 2] = static_cast<char>(row[x / 2] | ((v & 0xF) << (x % 2 ? 0 : 4)));
                break;
            case 8:
                row[x] = static_cast<char>(v);
                break;
            case 16:
                row[2 * x] = static_cast<char>(v & 0xFF);
                row[2 * x + 1] = static_cast<char>((v >> 8) & 0xFF);
                break;
            case 24:
                row[3 * x] = static_cast<char>(v & 0xFF);
                row[3 * x + 1] = static_cast<char>((v >> 8) & 0xFF);
                row[3 * x + 2] = static_cast<char>((v >> 16) & 0xFF);
                break;
            default: // depths the reader refuses: the rows are left zero
                break;
            }
        }
        out += row;
    }
    putU32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

inline void writeBmp(const std::filesystem::path& path, const BmpSpec& bmpSpec)
{
    const std::string bytes = encodeBmp(bmpSpec);
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit picture of one colour.
inline BmpSpec solidBmp(std::int32_t width, std::int32_t height, std::uint32_t colour)
{
    BmpSpec bmpSpec;
    bmpSpec.width = width;
    bmpSpec.height = height;
    bmpSpec.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour);
    return bmpSpec;
}

} // namespace qarn_test
