#include "painter/model/picture_rewrite.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "common/block_convention.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/block_layout.h"

namespace qarn {

namespace {

constexpr std::int32_t STRIPE_BLOCK_ROWS = 64;

// The bits per pixel of a BMP's header (the 12-byte OS/2 header or a later one).
int bitsPerPixel(const std::string& path)
{
    unsigned char header[30] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    const std::size_t read = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (read < sizeof header)
        return 0;
    const int at = header[14] == 12 && header[15] == 0 ? 24 : 28;
    return header[at] | header[at + 1] << 8;
}

} // namespace

PictureRewrite describePictureRewrite(const std::string& path, ColourSet colourSet)
{
    PictureRewrite rewrite;
    rewrite.bitsPerPixel = bitsPerPixel(path);
    try {
        for (std::int32_t first = 0;; first += STRIPE_BLOCK_ROWS) {
            BlockLayout layout;
            BmpImage image;
            const BmpPlan plan = [&](std::int32_t width, std::int32_t height, BmpSelection& keep) {
                layout = blockLayoutFor(colourSet, width, height);
                const std::int32_t last = std::min(layout.blockRows, first + STRIPE_BLOCK_ROWS);
                for (std::int32_t y = layout.upper(first); y < layout.upper(last); ++y)
                    keep.rows.push_back(y);
                return ExtractResult::Ok;
            };
            rewrite.result = readMapPicture(path, image, plan);
            if (rewrite.result != ExtractResult::Ok)
                return rewrite;
            rewrite.width = image.width;
            rewrite.height = image.height;
            rewrite.savedWidth = layout.blockCols * BLOCK_PIXELS;
            rewrite.savedHeight = layout.top + layout.blockRows * BLOCK_PIXELS;
            const std::int32_t last = std::min(layout.blockRows, first + STRIPE_BLOCK_ROWS);
            for (std::int32_t r = first; r < last; ++r)
                for (std::int32_t c = 0; c < layout.blockCols; ++c) {
                    const std::uint8_t* one = image.pixel(layout.left(c), layout.upper(r));
                    bool mixed = false;
                    for (std::int32_t y = 0; y < BLOCK_PIXELS && !mixed; ++y)
                        for (std::int32_t x = 0; x < BLOCK_PIXELS && !mixed; ++x)
                            mixed = std::memcmp(one, image.pixel(layout.left(c) + x, layout.upper(r) + y), 3) != 0;
                    rewrite.mixedBlocks += mixed;
                }
            if (last >= layout.blockRows)
                return rewrite;
        }
    } catch (const std::bad_alloc&) {
        rewrite.result = ExtractResult::NoMemory;
    }
    return rewrite;
}

} // namespace qarn
