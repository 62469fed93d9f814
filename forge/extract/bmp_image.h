#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forge/extract/result_codes.h"

namespace qarn {

// Reads uncompressed BMP pictures (1, 4, 8, 16, 24 bits per pixel; Windows and
// OS/2 headers; either row order) into 24-bit colour, whole or only the pixels a
// caller asks for. Errors come back as the codes of forge/extract/result_codes.h
// (any failed read or seek is ReadError); the caller owns the stream, the image
// owns its pixels.

// The pixels a caller needs: the listed rows (y counted from the top; rows
// outside the picture are ignored) and, in each, the columns firstColumn,
// firstColumn + columnStep, ... up to the right edge.
struct BmpSelection {
    std::vector<std::int32_t> rows;
    std::int32_t firstColumn = 0; // at least 0
    std::int32_t columnStep = 1;  // at least 1
};

// Called with the picture's width and height (both positive) once the file has
// passed every check that needs no pixel memory: returns a code that refuses the
// picture, or ExtractResult::Ok with `keep` filled in.
using BmpPlan = std::function<ExtractResult(std::int32_t width, std::int32_t height, BmpSelection& keep)>;

struct BmpImage {
    std::int32_t width = 0;  // of the whole picture: at least 1 once loaded
    std::int32_t height = 0; // always positive once loaded
    // The kept pixels, 3 bytes each (blue, green, red): keptRows x keptColumns,
    // row by row; the whole picture, top row first, when read without a plan.
    std::unique_ptr<std::uint8_t[]> pixels;
    std::vector<std::int32_t> rowSlot; // y -> kept row, or -1 for a row not kept
    std::int32_t firstColumn = 0;
    std::int32_t columnStep = 1;
    std::int32_t keptColumns = 0;

    // Pixel (x, y), y counted from the top; only kept pixels, no range check.
    const std::uint8_t* pixel(std::int32_t x, std::int32_t y) const
    {
        const std::int64_t row = rowSlot[static_cast<std::size_t>(y)];
        const std::int64_t column = (x - firstColumn) / columnStep;
        return pixels.get() + 3 * (row * keptColumns + column);
    }
};

// How a BMP file stores its pixels, from its headers and palette.
struct BmpFormat {
    std::int64_t start = 0;     // the file's first byte in the stream
    std::uint32_t offBits = 0;  // the pixels start this far after it
    std::int32_t width = 0;
    std::int32_t height = 0;    // positive
    bool topRowFirst = false;   // else the bottom row is stored first
    unsigned bitCount = 0;
    std::uint64_t dataBytes = 0; // a stored row's pixel bytes
    std::uint64_t rowBytes = 0;  // and with its padding
    std::uint8_t palette[256 * 3] = {}; // blue, green, red an entry
};

// Reads the headers and palette from `stream`, standing at the file's first
// byte, and checks the file is long enough for its pixels: the checks and
// codes of loadBmp before it takes any pixel memory.
ExtractResult readBmpFormat(std::FILE* stream, BmpFormat& format);

// Reads the picture from `stream`, an open binary stream standing at the file's
// first byte, decoding only the rows `plan` keeps (every pixel without a plan):
// on ExtractResult::Ok `image` holds the pixels and the stream stands just after
// the headers and palette; on any other code, the reader's or the plan's, `image`
// is empty and the stream position unspecified.
ExtractResult loadBmp(std::FILE* stream, BmpImage& image, const BmpPlan& plan = {});

// A picture read a band of rows at a time, for a caller that looks at each
// pixel once and need not hold the whole picture: memory for one band only.
// The caller keeps the stream open while reading; errors as loadBmp's.
class BmpBandReader {
public:
    // Reads the headers (as readBmpFormat) and takes memory for bands of up to
    // `bandRows` rows.
    ExtractResult open(std::FILE* stream, std::int32_t bandRows);
    std::int32_t width() const { return format_.width; }
    std::int32_t height() const { return format_.height; }

    // Decodes rows y to y + count - 1 (counted from the top, count at most the
    // band's rows) into band(), in place of the band read before.
    ExtractResult read(std::int32_t y, std::int32_t count);
    // The whole picture's sizes; pixel(x, y) for the rows read last only.
    const BmpImage& band() const { return band_; }

private:
    std::FILE* stream_ = nullptr;
    BmpFormat format_;
    std::int32_t bandRows_ = 0;
    std::int32_t bandY_ = 0, bandCount_ = 0; // the rows read last
    std::vector<std::uint8_t> raw_; // the band's rows as stored
    BmpImage band_;
};

// What the picture at `path` uses that loadBmp refused with `result`: RLE or
// other compression, bit fields, a JPEG or PNG inside, "32 bits per pixel
// (usually an alpha channel)" or another bit count, colour planes. Empty for
// other codes, for headers that show none of these, and when the file cannot
// be read.
std::string unreadBmpFeature(const std::string& path, ExtractResult result);

// How much of a picture a file holds against what its headers promise, for
// the words after a ReadError. `cutShort` is false when the file is whole, or
// when it cannot be opened or names no size (not a BMP, a header refused).
struct BmpLength {
    bool cutShort = false;
    bool inHeaders = false;       // the file ends before its headers do
    std::uint64_t fileBytes = 0;
    std::int32_t width = 0;       // the rest only when !inHeaders
    std::int32_t height = 0;
    unsigned bitCount = 0;
    std::uint64_t neededBytes = 0;
};
BmpLength measureBmpLength(const std::string& path);

} // namespace qarn
