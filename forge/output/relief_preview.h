#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forge/output/output_result.h"

namespace qarn {

class ElevationGrid;

// A shaded-relief picture of a built grid, so a user can see whether slopes
// came out smooth, a lake sits flat or a stray colour made a pit.
// Errors: rendering returns an empty image (0 x 0) for input it refuses (no
// heights, a side below 1, a picture too large); writing returns false and
// says why in `error`. Nothing is thrown; the caller owns every buffer and the
// image owns its pixels.

struct PreviewImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // width x height pixels, 3 bytes (red, green, blue), top row first

    bool empty() const { return width == 0 || height == 0; }
};

// Light from the north-west, 45 degrees above the horizon.
inline constexpr double PREVIEW_LIGHT_AZIMUTH_DEGREES = 315.0;
inline constexpr double PREVIEW_LIGHT_ALTITUDE_DEGREES = 45.0;

// The relief's colours, 0 to 255 a channel, unrounded; shared with the 3D view
// so both show a height in the same colour.
struct ReliefColour {
    double red, green, blue;
};

// The colour of a height at `t` between the map's lowest (0) and highest (1)
// cell: low greens, through yellow and browns, to grey and white on the tops.
// Values outside 0..1 (and not-a-number) take the nearer end.
ReliefColour reliefHeightColour(double t);
inline constexpr ReliefColour RELIEF_WATER_COLOUR = {62, 120, 196};

// How much the hillshade darkens or lightens a colour: full on land, light on
// water, so a flat area reads as one flat sheet. The colour is multiplied by
// 1 - s + s * light, light being 1 on level ground.
inline constexpr double RELIEF_LAND_SHADING = 0.8;
inline constexpr double RELIEF_WATER_SHADING = 0.3;

// Largest picture rendered, in pixels: far above a 540 x 540 map at 16 pixels a cell.
inline constexpr std::int64_t PREVIEW_MAX_PIXELS = 100'000'000;

// Renders rows x cols cells (row 0 the map's top, row-major `heights` in
// metres) as a picture of pixelsPerCell x pixelsPerCell pixels per cell:
// colours by height between the map's lowest and highest cell, hillshaded with
// the true cell size. Cells whose `flatMask` byte is non-zero (flatMask may be
// null) are drawn as water. Heights that are not finite count as the lowest.
PreviewImage renderReliefPreview(int rows, int cols, const float* heights, const std::uint8_t* flatMask,
                                 int pixelsPerCell);

// The same seen from afar, for a picture shown at fewer pixels than cells:
// one cell in cellsPerPixel across and down is drawn (from the first), each
// exactly as the whole picture draws it, shaded from its own neighbours and
// coloured between the lowest and highest of all cells.
PreviewImage renderReliefPreview(int rows, int cols, const float* heights, const std::uint8_t* flatMask,
                                 int pixelsPerCell, int cellsPerPixel);

// The same for a built grid: its real cells' heights, Blue1 cells as water.
PreviewImage renderReliefPreview(const ElevationGrid& grid, int pixelsPerCell);

// One byte per real cell of the grid, row-major: 1 for a Blue1 (flat-area)
// cell, else 0; for drawing other heights (an edited table) over the grid's
// flat areas. Empty when the grid has no cells or memory runs out.
std::vector<std::uint8_t> flatAreaMask(const ElevationGrid& grid);

// Pixels per cell that make the longer side at least `minimumLongSide` pixels
// (at least 1, at most 16).
int previewPixelsPerCell(int rows, int cols, int minimumLongSide = 500);
// Cells per pixel that keep the longer side at least `minimumLongSide` pixels
// (at least 1), for a map with more cells than that.
int previewCellsPerPixel(int rows, int cols, int minimumLongSide);

// Writes the picture as an 8-bit RGB PNG through a temporary file renamed over
// `path`, so a failure leaves any earlier file of that name untouched.
OutputResult writePreviewPng(const PreviewImage& image, const std::string& path, std::string& error);

} // namespace qarn
