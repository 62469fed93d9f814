#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forge/extract/block_layout.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

namespace qarn {

// Reads a map picture exactly as a build does and says where it goes wrong:
// blocks whose colour stops the build, and blocks, neighbours or sizes that
// build without a word but are likely mistakes. Errors: `result` holds the
// code a build's extraction would return, and a picture that cannot be read
// has no findings; nothing is thrown. The check owns the decoded picture when
// it keeps one.

enum class FindingKind { ReservedColour, UnknownColour, MixedBlock, Cliff, SizeMismatch, LeftoverPixels };
enum class Severity { Error, Warning };

// A block a finding is about: counted from 1 at the map's top left (below a
// user set's band), with its sampled pixel counted from 0 at the picture's top
// left. Row 0 means no block.
struct BlockSpot {
    std::int32_t row = 0, col = 0, x = 0, y = 0;

    bool empty() const { return row == 0; }
};

// A part of the picture outside every block, in pixels: [x0, x1) x [y0, y1).
struct PixelBox {
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// Every finding has one shape: what it is, how bad, and where, as the blocks
// it is about and the parts of the picture outside them; whoever draws or
// marks findings needs no more. The other fields carry the words' details.
struct Finding {
    FindingKind kind = FindingKind::UnknownColour;
    Severity severity = Severity::Error;
    BlockSpot at;   // the block; none for findings about the whole picture
    BlockSpot next; // Cliff: the neighbouring block
    std::array<PixelBox, 2> edges{}; // SizeMismatch: the picture; LeftoverPixels: the columns, the rows
    Rgb colour{};                  // ReservedColour, UnknownColour: the sampled colour
    int colourCount = 0;           // MixedBlock: colours among the block's pixels
    std::int64_t height = 0, height2 = 0; // Cliff: the two blocks' heights, or rungs
    bool metres = false;           // Cliff: heights in metres (heights given), else rungs
    std::int64_t rungsApart = 0;   // Cliff
    std::int32_t pictureWidth = 0, pictureHeight = 0;   // SizeMismatch
    std::int32_t expectedWidth = 0, expectedHeight = 0; // SizeMismatch: what the map data file was made for
    std::int32_t leftoverCols = 0, leftoverRows = 0;    // LeftoverPixels
};

enum class CheckScope { Everything, ColourErrors };

struct PictureCheckRequest {
    std::string bmpFilePath;
    ColourSet colourSet = ColourSet::System;
    // With heights, cliffs are told in metres; without, in rungs. Both values
    // as "CONFIRM DATA" accepts them (minimum 0 or more, interval above 0).
    bool withHeights = false;
    std::int32_t minElevation = 0;
    std::int32_t contourInterval = 1;
    // Every finding, or the colour errors alone that stop a build.
    CheckScope scope = CheckScope::Everything;
    // Keep the whole picture in the check to draw it marked, or not: then
    // every finding is found reading the picture a block row at a time, and
    // colour errors alone from the pixels a build reads (qarn build's list
    // after a colour error); the findings are the same either way.
    bool drawable = true;
};

// Steep pairs whose higher blocks are neighbours (or one block) and whose
// lower blocks are too make one cliff: its blocks' extent and its steepest
// pair (the first of the largest step).
struct Cliff {
    std::int32_t firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0; // counted from 1, as in BlockSpot
    std::int32_t firstX = 0, firstY = 0, lastX = 0, lastY = 0;         // the corner blocks' sampled pixels
    std::size_t pairs = 0;
    std::size_t steepest = 0; // index in PictureCheck::findings
};

struct PictureCheck {
    ExtractResult result = ExtractResult::Ok; // what a build's extraction would return
    bool colourError = false; // a build would stop with "Colour Error in BMP file"
    BmpImage image;           // the picture as read (whole only when drawable); empty when result is not Ok
    BlockLayout layout;
    std::vector<Finding> findings; // errors first; kinds in FindingKind order, each in block order
    std::vector<Cliff> cliffs;     // the Cliff findings grouped, in the order of their first pair

    std::size_t count(Severity severity) const;
};

// Cliffs are neighbouring blocks (across or diagonally) more than this many rungs apart.
inline constexpr std::int64_t CLIFF_RUNGS = 1;

PictureCheck checkPicture(const PictureCheckRequest& request);

// "block row 12, column 40 (pixel 395, 115): colour #0000FF is reserved (BLUE)"
std::string findingText(const Finding& finding);
// The same after "error: " or "warning: ".
std::string findingLine(const Finding& finding);

inline constexpr std::size_t CHECK_LINES_PER_KIND = 50;

// "a cliff over block rows 1 to 2, columns 1 to 3 (pixels 5, 5 to 25, 15): 5 pairs of neighbouring blocks, the
// largest step 3 contour intervals (rungs 3 and 0)"
std::string cliffText(const PictureCheck& check, const Cliff& cliff);

// Every finding's line, cliffs one line each (or, with everyPair, each of
// their pairs), at most `linesPerKind` of a kind followed by one "and N more"
// line, then the summary with the counts. Empty when the picture could not be
// read.
std::vector<std::string> checkReportLines(const PictureCheck& check, std::size_t linesPerKind = CHECK_LINES_PER_KIND,
                                          bool everyPair = false);

} // namespace qarn
