#include "forge/output/relief_preview.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

// The PNG encoder is stb's single header, compressing through zlib: both are
// there for Linux and for the Windows cross build, so both write the same bytes.
static unsigned char* compressWithZlib(unsigned char* data, int size, int* compressedSize, int level);
#define STBIW_ZLIB_COMPRESS compressWithZlib
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

// stb frees what this returns with free().
static unsigned char* compressWithZlib(unsigned char* data, int size, int* compressedSize, int level)
{
    uLongf bound = compressBound(static_cast<uLong>(size));
    auto* out = static_cast<unsigned char*>(std::malloc(bound));
    if (!out)
        return nullptr;
    if (compress2(out, &bound, data, static_cast<uLong>(size), level) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *compressedSize = static_cast<int>(bound);
    return out;
}

#include "common/atomic_file.h"
#include "common/block_convention.h"
#include "forge/grid/elevation_grid.h"

namespace qarn {

namespace {

struct RampStop {
    double at; // 0 = the map's lowest cell, 1 = its highest
    double red, green, blue;
};

constexpr RampStop RAMP[] = {
    {0.00, 46, 112, 60},   {0.15, 96, 156, 72},   {0.32, 170, 196, 100}, {0.48, 226, 212, 132},
    {0.64, 196, 150, 90},  {0.80, 150, 110, 80},  {0.90, 165, 160, 155}, {1.00, 250, 250, 250},
};

// Heights are stretched this much for the shading only: slopes of a few
// degrees, usual in these maps, would otherwise hardly show.
constexpr double VERTICAL_EXAGGERATION = 3.0;

constexpr double PI = 3.14159265358979323846;

std::uint8_t channel(double value)
{
    const double rounded = std::floor(value + 0.5);
    return static_cast<std::uint8_t>(std::clamp(rounded, 0.0, 255.0));
}

void writeBytes(void* file, void* data, int size)
{
    std::fwrite(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(file));
}

// A failed write shows in the stream's error flag, which commit() checks.
bool encode(std::FILE* file, const PreviewImage& image, char* message)
{
    if (!stbi_write_png_to_func(writeBytes, file, image.width, image.height, 3, image.rgb.data(), image.width * 3)) {
        std::snprintf(message, 256, "out of memory");
        return false;
    }
    return true;
}

} // namespace

ReliefColour reliefHeightColour(double t)
{
    if (!(t > 0.0))
        return {RAMP[0].red, RAMP[0].green, RAMP[0].blue};
    constexpr std::size_t last = sizeof(RAMP) / sizeof(RAMP[0]) - 1;
    for (std::size_t i = 1; i <= last; ++i) {
        if (t <= RAMP[i].at) {
            const RampStop& a = RAMP[i - 1];
            const RampStop& b = RAMP[i];
            const double f = (t - a.at) / (b.at - a.at);
            return {a.red + f * (b.red - a.red), a.green + f * (b.green - a.green), a.blue + f * (b.blue - a.blue)};
        }
    }
    return {RAMP[last].red, RAMP[last].green, RAMP[last].blue};
}

PreviewImage renderReliefPreview(int rows, int cols, const float* heights, const std::uint8_t* flatMask,
                                 int pixelsPerCell)
{
    return renderReliefPreview(rows, cols, heights, flatMask, pixelsPerCell, 1);
}

PreviewImage renderReliefPreview(int rows, int cols, const float* heights, const std::uint8_t* flatMask,
                                 int pixelsPerCell, int cellsPerPixel)
{
    PreviewImage image;
    if (!heights || rows < 1 || cols < 1 || pixelsPerCell < 1 || cellsPerPixel < 1)
        return image;
    // The cells drawn: every cellsPerPixel-th across and down, from the first.
    const int drawnRows = (rows - 1) / cellsPerPixel + 1;
    const int drawnCols = (cols - 1) / cellsPerPixel + 1;
    const std::int64_t width = std::int64_t{drawnCols} * pixelsPerCell;
    const std::int64_t height = std::int64_t{drawnRows} * pixelsPerCell;
    if (width > PREVIEW_MAX_PIXELS || height > PREVIEW_MAX_PIXELS || width * height > PREVIEW_MAX_PIXELS)
        return image;

    const std::size_t cellCount = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    try {
        image.rgb.resize(static_cast<std::size_t>(width * height) * 3);
    } catch (const std::bad_alloc&) {
        return PreviewImage{};
    }

    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (std::size_t i = 0; i < cellCount; ++i) {
        if (std::isfinite(heights[i])) {
            lowest = std::min(lowest, static_cast<double>(heights[i]));
            highest = std::max(highest, static_cast<double>(heights[i]));
        }
    }
    if (!std::isfinite(lowest))
        lowest = highest = 0.0;
    const auto z = [&](int r, int c) {
        const float h = heights[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                static_cast<std::size_t>(c)];
        return std::isfinite(h) ? static_cast<double>(h) : lowest;
    };
    const double span = highest - lowest;

    // Light vector (east, north, up); the surface normal of a cell is
    // (-dz/dx east, -dz/dy north, 1) from Horn's 3 x 3 weighting.
    const double azimuth = PREVIEW_LIGHT_AZIMUTH_DEGREES * PI / 180.0;
    const double altitude = PREVIEW_LIGHT_ALTITUDE_DEGREES * PI / 180.0;
    const double lightEast = std::sin(azimuth) * std::cos(altitude);
    const double lightNorth = std::cos(azimuth) * std::cos(altitude);
    const double lightUp = std::sin(altitude);
    const double run = 8.0 * METRES_PER_SRTM_GRID / VERTICAL_EXAGGERATION;

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int dr = 0; dr < drawnRows; ++dr) {
        const int r = dr * cellsPerPixel;
        const int n = r > 0 ? r - 1 : r;
        const int s = r + 1 < rows ? r + 1 : r;
        for (int dc = 0; dc < drawnCols; ++dc) {
            const int c = dc * cellsPerPixel;
            const int w = c > 0 ? c - 1 : c;
            const int e = c + 1 < cols ? c + 1 : c;
            const double dzEast =
                ((z(n, e) + 2.0 * z(r, e) + z(s, e)) - (z(n, w) + 2.0 * z(r, w) + z(s, w))) / run;
            const double dzNorth =
                ((z(n, w) + 2.0 * z(n, c) + z(n, e)) - (z(s, w) + 2.0 * z(s, c) + z(s, e))) / run;
            const double shade = (lightUp - dzEast * lightEast - dzNorth * lightNorth) /
                                 std::sqrt(dzEast * dzEast + dzNorth * dzNorth + 1.0);
            // 1 on level ground, so level land shows its ramp colour unchanged.
            const double light = std::max(0.0, shade) / lightUp;

            const std::size_t index = static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                      static_cast<std::size_t>(c);
            const bool water = flatMask && flatMask[index] != 0;
            const ReliefColour colour =
                water ? RELIEF_WATER_COLOUR : reliefHeightColour(span > 0.0 ? (z(r, c) - lowest) / span : 0.0);
            const double strength = water ? RELIEF_WATER_SHADING : RELIEF_LAND_SHADING;
            const double factor = 1.0 - strength + strength * light;
            const std::uint8_t pixel[3] = {channel(colour.red * factor), channel(colour.green * factor),
                                           channel(colour.blue * factor)};

            for (int dy = 0; dy < pixelsPerCell; ++dy) {
                std::uint8_t* out = image.rgb.data() +
                                    static_cast<std::size_t>(dr * pixelsPerCell + dy) * stride +
                                    static_cast<std::size_t>(dc) * pixelsPerCell * 3;
                for (int dx = 0; dx < pixelsPerCell; ++dx, out += 3)
                    std::memcpy(out, pixel, 3);
            }
        }
    }
    return image;
}

std::vector<std::uint8_t> flatAreaMask(const ElevationGrid& grid)
{
    std::vector<std::uint8_t> mask;
    if (grid.rows() < 1 || grid.cols() < 1)
        return mask;
    try {
        mask.reserve(static_cast<std::size_t>(grid.rows()) * static_cast<std::size_t>(grid.cols()));
    } catch (const std::bad_alloc&) {
        return mask;
    }
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            mask.push_back(grid.cell(r, c).kind == CellKind::Blue1 ? 1 : 0);
    return mask;
}

PreviewImage renderReliefPreview(const ElevationGrid& grid, int pixelsPerCell)
{
    const int rows = grid.rows();
    const int cols = grid.cols();
    if (rows < 1 || cols < 1)
        return PreviewImage{};
    std::vector<float> heights;
    try {
        heights.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    } catch (const std::bad_alloc&) {
        return PreviewImage{};
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            heights.push_back(grid.height(r, c));
    const std::vector<std::uint8_t> flat = flatAreaMask(grid);
    if (flat.size() != heights.size())
        return PreviewImage{};
    return renderReliefPreview(rows, cols, heights.data(), flat.data(), pixelsPerCell);
}

int previewCellsPerPixel(int rows, int cols, int minimumLongSide)
{
    const int longSide = std::max(rows, cols);
    if (longSide < 1 || minimumLongSide < 1)
        return 1;
    return std::max(1, longSide / minimumLongSide);
}

int previewPixelsPerCell(int rows, int cols, int minimumLongSide)
{
    const int longSide = std::max(rows, cols);
    if (longSide < 1)
        return 1;
    const int perCell = (minimumLongSide + longSide - 1) / longSide;
    return std::clamp(perCell, 1, 16);
}

OutputResult writePreviewPng(const PreviewImage& image, const std::string& path, std::string& error)
{
    if (image.width < 1 || image.height < 1 ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3) {
        error = "no picture to write to " + path;
        return OutputResult::BadGridSize;
    }
    AtomicFile file(path);
    if (file.open() != FileResult::Ok) {
        error = path + ": " + file.error();
        return OutputResult::FileFailed;
    }
    char message[256] = "";
    if (!encode(file.stream(), image, message)) {
        error = "cannot write " + path + ": " + message;
        file.discard();
        return OutputResult::WriteFailed;
    }
    if (file.commit() != FileResult::Ok) {
        error = path + ": " + file.error();
        return OutputResult::FileFailed;
    }
    return OutputResult::Ok;
}

} // namespace qarn
