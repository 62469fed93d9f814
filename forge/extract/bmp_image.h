#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Reads uncompressed BMP pictures (1, 4, 8, 16, 24 bits per pixel; Windows and
// OS/2 headers; either row order) into 24-bit colour. Errors come back as the
// codes of forge/extract/result_codes.h; the caller owns the stream, the image
// owns its pixels.

struct BmpImage {
    std::int32_t width = 0;   // at least 1 once loaded
    std::int32_t height = 0;  // always positive once loaded
    // width x height pixels of 3 bytes (blue, green, red), top row first.
    std::unique_ptr<std::uint8_t[]> pixels;

    // Pixel (x, y), y counted from the top; no range check.
    const std::uint8_t* pixel(std::int32_t x, std::int32_t y) const
    {
        return pixels.get() + 3 * (static_cast<std::int64_t>(y) * width + x);
    }
};

// Reads the picture from `stream`, an open binary stream standing at the file's
// first byte. On RESULT_OK `image` holds the picture and the stream is left just
// after the headers and palette; on any other code `image` is left empty and the
// stream position is unspecified.
int loadBmp(std::FILE* stream, BmpImage& image);

// Words for a refusal of loadBmp: what the picture at `path` uses that is not
// read (RLE or other compression, bit fields, a JPEG or PNG inside, 32 or 2
// bits per pixel) and how to save it instead. `result` is loadBmp's code; the
// text is empty for other codes, for headers that show none of these, and
// when the file cannot be read.
std::string describeBmpRefusal(const std::string& path, int result);
