#include "forge/output/marked_picture.h"

#include <algorithm>
#include <new>
#include <vector>

namespace qarn {

namespace {

// A part of the picture in picture pixels, right and bottom edges excluded.
struct Area {
    std::int64_t x0, y0, x1, y1;
};

Area blockArea(const BlockLayout& layout, std::int32_t row, std::int32_t col)
{
    return {layout.left(col - 1), layout.upper(row - 1), layout.left(col - 1) + BLOCK_PIXELS,
            layout.upper(row - 1) + BLOCK_PIXELS};
}

// Fills the band between `outer` and `inner` (output pixels), clipped to the image.
void paintRing(PreviewImage& image, Area outer, Area inner, const std::uint8_t* colour)
{
    const std::int64_t x0 = std::max<std::int64_t>(outer.x0, 0), x1 = std::min<std::int64_t>(outer.x1, image.width);
    const std::int64_t y0 = std::max<std::int64_t>(outer.y0, 0), y1 = std::min<std::int64_t>(outer.y1, image.height);
    for (std::int64_t y = y0; y < y1; ++y)
        for (std::int64_t x = x0; x < x1; ++x) {
            if (x >= inner.x0 && x < inner.x1 && y >= inner.y0 && y < inner.y1)
                continue;
            std::uint8_t* out = image.rgb.data() + 3 * (y * image.width + x);
            out[0] = colour[0];
            out[1] = colour[1];
            out[2] = colour[2];
        }
}

} // namespace

int markedPixelsPerBlock(std::int32_t width, std::int32_t height)
{
    const std::int64_t blocks =
        (std::max<std::int64_t>({width, height, 1}) + BLOCK_PIXELS - 1) / BLOCK_PIXELS;
    return static_cast<int>(std::max<std::int64_t>(1, MARKED_PICTURE_FIT / blocks));
}

PreviewImage renderMarkedPicture(const PictureCheck& check)
{
    const BmpImage& picture = check.image;
    if (!picture.pixels || picture.width < 1 || picture.height < 1)
        return {};
    const std::int64_t perBlock = markedPixelsPerBlock(picture.width, picture.height);
    auto down = [&](std::int64_t v) { return v * perBlock / BLOCK_PIXELS; };
    auto up = [&](std::int64_t v) { return (v * perBlock + BLOCK_PIXELS - 1) / BLOCK_PIXELS; };

    PreviewImage image;
    std::vector<std::int32_t> sourceX;
    try {
        image.width = static_cast<int>(up(picture.width));
        image.height = static_cast<int>(up(picture.height));
        image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
        sourceX.resize(static_cast<std::size_t>(image.width));
    } catch (const std::bad_alloc&) {
        return {};
    }

    // Each output pixel shows the picture pixel under its centre, faded to
    // 60 % so that the outlines stand out from any map colour.
    for (int x = 0; x < image.width; ++x)
        sourceX[static_cast<std::size_t>(x)] = static_cast<std::int32_t>(
            std::min<std::int64_t>(picture.width - 1, (2 * x + 1) * BLOCK_PIXELS / (2 * perBlock)));
    std::uint8_t* out = image.rgb.data();
    for (int y = 0; y < image.height; ++y) {
        const auto sy = static_cast<std::int32_t>(
            std::min<std::int64_t>(picture.height - 1, (2 * std::int64_t{y} + 1) * BLOCK_PIXELS / (2 * perBlock)));
        for (int x = 0; x < image.width; ++x, out += 3) {
            const std::uint8_t* p = picture.pixel(sourceX[static_cast<std::size_t>(x)], sy); // blue, green, red
            out[0] = static_cast<std::uint8_t>(p[2] + (255 - p[2]) * 2 / 5);
            out[1] = static_cast<std::uint8_t>(p[1] + (255 - p[1]) * 2 / 5);
            out[2] = static_cast<std::uint8_t>(p[0] + (255 - p[0]) * 2 / 5);
        }
    }

    // Blocks are ringed outside their edge, so their own colour stays in view;
    // findings about the whole picture or its edges are ringed inside.
    const std::int64_t thickness = std::max<std::int64_t>(1, perBlock / 5);
    const BlockLayout& layout = check.layout;
    for (Severity pass : {Severity::Warning, Severity::Error}) {
        const std::uint8_t* colour = pass == Severity::Error ? MARK_ERROR_RGB : MARK_WARNING_RGB;
        auto ringInside = [&](Area a) {
            const Area outer{down(a.x0), down(a.y0), up(a.x1), up(a.y1)};
            paintRing(image, outer,
                      {outer.x0 + thickness, outer.y0 + thickness, outer.x1 - thickness, outer.y1 - thickness}, colour);
        };
        auto ringOutside = [&](Area a) {
            const Area inner{down(a.x0), down(a.y0), up(a.x1), up(a.y1)};
            paintRing(image, {inner.x0 - thickness, inner.y0 - thickness, inner.x1 + thickness, inner.y1 + thickness},
                      inner, colour);
        };
        for (const Finding& f : check.findings) {
            if (f.severity != pass)
                continue;
            if (!f.at.empty()) {
                Area area = blockArea(layout, f.at.row, f.at.col);
                if (!f.next.empty()) {
                    const Area b = blockArea(layout, f.next.row, f.next.col);
                    area = {std::min(area.x0, b.x0), std::min(area.y0, b.y0), std::max(area.x1, b.x1),
                            std::max(area.y1, b.y1)};
                }
                ringOutside(area);
            }
            for (const PixelBox& edge : f.edges)
                if (!edge.empty())
                    ringInside({edge.x0, edge.y0, edge.x1, edge.y1});
        }
    }
    return image;
}

} // namespace qarn
