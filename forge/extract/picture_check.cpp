#include "forge/extract/picture_check.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <new>
#include <tuple>

#include "common/map_data_file.h"
#include "forge/extract/block_heights.h"
#include "sizer/map_size_calculation.h"

namespace qarn {

namespace {

std::int32_t clampToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

Rgb colourOf(const std::uint8_t* pixel)
{
    return {pixel[2], pixel[1], pixel[0]};
}

// Distinct colours among the block's 100 pixels.
int coloursInBlock(const BmpImage& image, std::int32_t left, std::int32_t upper)
{
    std::uint32_t colours[BLOCK_PIXELS * BLOCK_PIXELS];
    int n = 0;
    for (std::int32_t dy = 0; dy < BLOCK_PIXELS; ++dy)
        for (std::int32_t dx = 0; dx < BLOCK_PIXELS; ++dx) {
            const std::uint8_t* p = image.pixel(left + dx, upper + dy);
            colours[n++] = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
        }
    std::sort(colours, colours + n);
    return static_cast<int>(std::unique(colours, colours + n) - colours);
}

// Whether any pixel of the block differs from its sampled pixel: each pixel
// row is compared whole with the sample repeated across a block.
bool blockIsMixed(const BmpImage& image, const BlockLayout& layout, std::int32_t r, std::int32_t c)
{
    std::uint8_t pattern[3 * BLOCK_PIXELS];
    const std::uint8_t* sample = image.pixel(layout.sampleX(c), layout.sampleY(r));
    for (int i = 0; i < BLOCK_PIXELS; ++i)
        std::memcpy(pattern + 3 * i, sample, 3);
    for (std::int32_t dy = 0; dy < BLOCK_PIXELS; ++dy)
        if (std::memcmp(image.pixel(layout.left(c), layout.upper(r) + dy), pattern, sizeof pattern) != 0)
            return true;
    return false;
}

// What the scan needs of each block, row-major: its sampled pixel (blue,
// green, red) and, when mixed blocks are looked for, how many colours its
// pixels hold (1 for a block of one colour).
struct BlockPixels {
    std::vector<std::uint8_t> samples;
    std::vector<std::uint8_t> colours;
};

// Block row r's entries from a picture holding at least that row's pixels.
void summariseBlockRow(const BmpImage& image, const BlockLayout& layout, std::int32_t r, bool mixed,
                       BlockPixels& blocks)
{
    const std::size_t first = static_cast<std::size_t>(r) * static_cast<std::size_t>(layout.blockCols);
    for (std::int32_t c = 0; c < layout.blockCols; ++c) {
        const std::size_t i = first + static_cast<std::size_t>(c);
        std::memcpy(&blocks.samples[3 * i], image.pixel(layout.sampleX(c), layout.sampleY(r)), 3);
        if (mixed)
            blocks.colours[i] = blockIsMixed(image, layout, r, c)
                ? static_cast<std::uint8_t>(coloursInBlock(image, layout.left(c), layout.upper(r)))
                : 1;
    }
}

void sizeBlockPixels(const BlockLayout& layout, bool mixed, BlockPixels& blocks)
{
    const std::size_t count = static_cast<std::size_t>(layout.blockRows) * static_cast<std::size_t>(layout.blockCols);
    blocks.samples.resize(3 * count);
    if (mixed)
        blocks.colours.resize(count);
}

void checkSize(const PictureCheckRequest& request, PictureCheck& check)
{
    MapData data;
    if (readMapDataFile(mapDataPathFor(request.bmpFilePath), data) != FileResult::Ok)
        return;
    MapSizeCalculation calc;
    calc.setInput(clampToInt32(std::int64_t{data.widthTens} * 10), clampToInt32(std::int64_t{data.heightTens} * 10),
                  static_cast<std::int32_t>(request.colourSet));
    calc.compute();
    if (calc.pixelWidth == 0 || calc.pixelHeight == 0)
        return; // sizes the calculator never writes
    const std::int32_t expectedHeight =
        calc.pixelHeight + (request.colourSet == ColourSet::User ? USER_COLOUR_SET_ROWS : 0);
    if (calc.pixelWidth == check.image.width && expectedHeight == check.image.height)
        return;
    Finding f;
    f.kind = FindingKind::SizeMismatch;
    f.severity = Severity::Warning;
    f.pictureWidth = check.image.width;
    f.pictureHeight = check.image.height;
    f.expectedWidth = calc.pixelWidth;
    f.expectedHeight = expectedHeight;
    f.edges[0] = {0, 0, check.image.width, check.image.height};
    check.findings.push_back(f);
}

// Colour errors, mixed blocks and cliffs; `step` is the metres of one rung.
void scanBlocks(PictureCheck& check, const BlockPixels& blocks, ColourHeightSet& set, bool metres, std::int64_t step,
                bool errorsOnly)
{
    const BlockLayout& layout = check.layout;
    const std::size_t rows = static_cast<std::size_t>(layout.blockRows);
    const std::size_t cols = static_cast<std::size_t>(layout.blockCols);
    std::vector<std::int32_t> heights(rows * cols);
    std::vector<bool> onLadder(rows * cols);
    std::vector<Finding> byKind[4]; // the block kinds, in FindingKind order

    auto blockFinding = [&](FindingKind kind, std::int32_t r, std::int32_t c) {
        Finding f;
        f.kind = kind;
        f.severity = kind == FindingKind::ReservedColour || kind == FindingKind::UnknownColour ? Severity::Error
                                                                                                : Severity::Warning;
        f.at = {r + 1, c + 1, layout.sampleX(c), layout.sampleY(r)};
        return f;
    };

    for (std::int32_t r = 0; r < layout.blockRows; ++r)
        for (std::int32_t c = 0; c < layout.blockCols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c);
            const std::uint8_t* sample = &blocks.samples[3 * i];
            const auto height = static_cast<std::int32_t>(heightForColour(set, sample));
            heights[i] = height;
            const Rgb colour = colourOf(sample);
            onLadder[i] = reservedCodeFor(colour) == 0 && !raisesColourError(height);
            if (raisesColourError(height)) {
                const FindingKind kind =
                    reservedCodeFor(colour) != 0 ? FindingKind::ReservedColour : FindingKind::UnknownColour;
                Finding f = blockFinding(kind, r, c);
                f.colour = colour;
                byKind[static_cast<int>(kind)].push_back(f);
            }
            if (!errorsOnly && blocks.colours[i] > 1) {
                Finding f = blockFinding(FindingKind::MixedBlock, r, c);
                f.colourCount = blocks.colours[i];
                byKind[static_cast<int>(FindingKind::MixedBlock)].push_back(f);
            }
        }

    // Each neighbouring pair once: the neighbours after a block in reading order.
    static constexpr std::int32_t NEIGHBOURS[][2] = {{0, 1}, {1, -1}, {1, 0}, {1, 1}};
    for (std::int32_t r = 0; r < (errorsOnly ? 0 : layout.blockRows); ++r)
        for (std::int32_t c = 0; c < layout.blockCols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c);
            if (!onLadder[i])
                continue;
            for (const auto& [dr, dc] : NEIGHBOURS) {
                const std::int32_t r2 = r + dr, c2 = c + dc;
                if (r2 >= layout.blockRows || c2 < 0 || c2 >= layout.blockCols)
                    continue;
                const std::size_t j = static_cast<std::size_t>(r2) * cols + static_cast<std::size_t>(c2);
                if (!onLadder[j])
                    continue;
                const std::int64_t apart = (std::int64_t{heights[i]} - heights[j]) / step;
                if (apart <= CLIFF_RUNGS && apart >= -CLIFF_RUNGS)
                    continue;
                Finding f = blockFinding(FindingKind::Cliff, r, c);
                f.next = {r2 + 1, c2 + 1, layout.sampleX(c2), layout.sampleY(r2)};
                f.height = heights[i];
                f.height2 = heights[j];
                f.metres = metres;
                f.rungsApart = apart < 0 ? -apart : apart;
                byKind[static_cast<int>(FindingKind::Cliff)].push_back(f);
            }
        }
    for (const std::vector<Finding>& kind : byKind)
        check.findings.insert(check.findings.end(), kind.begin(), kind.end());
}

// Joins steep pairs into cliffs: two pairs belong together when their higher
// blocks are the same or neighbours and so are their lower blocks, so a
// terrace edge is one cliff and its two faces around a spike too.
void groupCliffs(PictureCheck& check)
{
    std::vector<std::size_t> pairs; // indices of the Cliff findings
    for (std::size_t k = 0; k < check.findings.size(); ++k)
        if (check.findings[k].kind == FindingKind::Cliff)
            pairs.push_back(k);
    struct Ends { std::int32_t highRow, highCol, lowRow, lowCol; };
    std::vector<Ends> ends;
    ends.reserve(pairs.size());
    for (const std::size_t k : pairs) {
        const Finding& f = check.findings[k];
        ends.push_back(f.height > f.height2 ? Ends{f.at.row, f.at.col, f.next.row, f.next.col}
                                            : Ends{f.next.row, f.next.col, f.at.row, f.at.col});
    }
    // The pairs by their higher block, to find the few a pair can join.
    const std::size_t cols = static_cast<std::size_t>(check.layout.blockCols) + 2;
    const auto blockOf = [&](std::int32_t row, std::int32_t col) {
        return static_cast<std::size_t>(row) * cols + static_cast<std::size_t>(col);
    };
    std::vector<std::vector<std::size_t>> byHigh((static_cast<std::size_t>(check.layout.blockRows) + 2) * cols);
    for (std::size_t p = 0; p < pairs.size(); ++p)
        byHigh[blockOf(ends[p].highRow, ends[p].highCol)].push_back(p);

    std::vector<std::size_t> parent(pairs.size());
    for (std::size_t p = 0; p < parent.size(); ++p)
        parent[p] = p;
    const auto root = [&](std::size_t p) {
        while (parent[p] != p)
            p = parent[p] = parent[parent[p]];
        return p;
    };
    const auto near = [](std::int32_t a, std::int32_t b) { return a - b <= 1 && b - a <= 1; };
    for (std::size_t p = 0; p < pairs.size(); ++p)
        for (std::int32_t dr = -1; dr <= 1; ++dr)
            for (std::int32_t dc = -1; dc <= 1; ++dc)
                for (const std::size_t q : byHigh[blockOf(ends[p].highRow + dr, ends[p].highCol + dc)])
                    if (near(ends[p].lowRow, ends[q].lowRow) && near(ends[p].lowCol, ends[q].lowCol))
                        parent[root(p)] = root(q);

    std::vector<std::size_t> cliffOfRoot(pairs.size(), SIZE_MAX);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const std::size_t k = pairs[p];
        const Finding& f = check.findings[k];
        std::size_t& index = cliffOfRoot[root(p)];
        if (index == SIZE_MAX) {
            index = check.cliffs.size();
            check.cliffs.push_back({f.at.row, f.at.row, f.at.col, f.at.col, f.at.x, f.at.y, f.at.x, f.at.y, 0, k});
        }
        Cliff& cliff = check.cliffs[index];
        ++cliff.pairs;
        if (f.rungsApart > check.findings[cliff.steepest].rungsApart)
            cliff.steepest = k;
        for (const auto& [row, col, x, y] : {f.at, f.next}) {
            if (row < cliff.firstRow)
                cliff.firstRow = row, cliff.firstY = y;
            if (row > cliff.lastRow)
                cliff.lastRow = row, cliff.lastY = y;
            if (col < cliff.firstCol)
                cliff.firstCol = col, cliff.firstX = x;
            if (col > cliff.lastCol)
                cliff.lastCol = col, cliff.lastX = x;
        }
    }
}

std::string hexColour(const Rgb& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

std::string upper(const char* name)
{
    std::string text = name;
    for (char& ch : text)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The "and N more" line's words for each kind, for one and for several.
std::string moreOf(FindingKind kind, std::size_t n)
{
    switch (kind) {
    case FindingKind::ReservedColour: return counted(n, "more block", "more blocks") + " of a reserved colour";
    case FindingKind::UnknownColour:
        return counted(n, "more block", "more blocks") + " of a colour not in the colour set";
    case FindingKind::MixedBlock: return counted(n, "more block", "more blocks") + " of more than one colour";
    default: return counted(n, "more cliff", "more cliffs");
    }
}

const char* prefixOf(Severity severity)
{
    return severity == Severity::Error ? "error: " : "warning: ";
}

// The picture whole, kept in the check to be drawn: the colour set from its
// band and every block's pixels.
ExtractResult readWhole(const PictureCheckRequest& request, PictureCheck& check, ColourHeightSet& set,
                        BlockPixels& blocks)
{
    const bool errorsOnly = request.scope == CheckScope::ColourErrors;
    ExtractResult result = readMapPicture(request.bmpFilePath, check.image,
                                          errorsOnly && !request.drawable ? samplingPlan(request.colourSet) : BmpPlan{});
    if (result != ExtractResult::Ok)
        return result;
    check.layout = blockLayoutFor(request.colourSet, check.image.width, check.image.height);
    if ((result = blockLayoutResult(check.layout)) != ExtractResult::Ok)
        return result;
    // Without heights the ladder runs 0, 1, 2, ...: every height is its rung.
    result = buildColourHeightSet(check.image, request.colourSet, request.withHeights ? request.minElevation : 0,
                                  request.withHeights ? request.contourInterval : 1, set);
    if (result != ExtractResult::Ok)
        return result;
    try {
        sizeBlockPixels(check.layout, !errorsOnly, blocks);
    } catch (const std::bad_alloc&) {
        return ExtractResult::NoMemory;
    }
    for (std::int32_t r = 0; r < check.layout.blockRows; ++r)
        summariseBlockRow(check.image, check.layout, r, !errorsOnly, blocks);
    return ExtractResult::Ok;
}

// The same read a block row at a time, keeping only the picture's sizes.
ExtractResult readInBands(const PictureCheckRequest& request, PictureCheck& check, ColourHeightSet& set,
                          BlockPixels& blocks)
{
    FileHandle file;
    BmpBandReader reader;
    ExtractResult result = openMapPictureBands(request.bmpFilePath, BLOCK_PIXELS, file, reader);
    if (result != ExtractResult::Ok)
        return result;
    check.image.width = reader.width();
    check.image.height = reader.height();
    check.layout = blockLayoutFor(request.colourSet, reader.width(), reader.height());
    if ((result = blockLayoutResult(check.layout)) != ExtractResult::Ok)
        return result;
    // A user set's band lies in the rows above the first block.
    if (check.layout.top > 0 && (result = reader.read(0, check.layout.top)) != ExtractResult::Ok)
        return result;
    result = buildColourHeightSet(reader.band(), request.colourSet, request.withHeights ? request.minElevation : 0,
                                  request.withHeights ? request.contourInterval : 1, set);
    if (result != ExtractResult::Ok)
        return result;
    const bool mixed = request.scope == CheckScope::Everything;
    try {
        sizeBlockPixels(check.layout, mixed, blocks);
    } catch (const std::bad_alloc&) {
        return ExtractResult::NoMemory;
    }
    for (std::int32_t r = 0; r < check.layout.blockRows; ++r) {
        if ((result = reader.read(check.layout.upper(r), BLOCK_PIXELS)) != ExtractResult::Ok)
            return result;
        summariseBlockRow(reader.band(), check.layout, r, mixed, blocks);
    }
    return ExtractResult::Ok;
}

} // namespace

std::size_t PictureCheck::count(Severity severity) const
{
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(), [&](const Finding& f) { return f.severity == severity; }));
}

PictureCheck checkPicture(const PictureCheckRequest& request)
{
    PictureCheck check;
    const bool errorsOnly = request.scope == CheckScope::ColourErrors;
    ColourHeightSet set;
    BlockPixels blocks;
    // Colour errors alone need only the sampled pixels, which a sampling read
    // takes whole at less cost than bands.
    const bool inBands = !request.drawable && !errorsOnly;
    check.result = inBands ? readInBands(request, check, set, blocks) : readWhole(request, check, set, blocks);
    if (check.result != ExtractResult::Ok) {
        check.image = BmpImage{};
        return check;
    }
    try {
        const std::int64_t rung = request.withHeights ? std::max<std::int64_t>(request.contourInterval, 1) : 1;
        scanBlocks(check, blocks, set, request.withHeights, rung, errorsOnly);
        if (errorsOnly) {
            check.colourError = set.colourError;
            return check;
        }
        groupCliffs(check);
        checkSize(request, check);
        const BlockLayout& layout = check.layout;
        Finding leftover;
        leftover.kind = FindingKind::LeftoverPixels;
        leftover.severity = Severity::Warning;
        leftover.leftoverCols = layout.pixelCols - layout.blockCols * BLOCK_PIXELS;
        leftover.leftoverRows = layout.pixelRows - layout.blockRows * BLOCK_PIXELS;
        const std::int32_t width = check.image.width, height = check.image.height;
        if (leftover.leftoverCols > 0)
            leftover.edges[0] = {layout.left(layout.blockCols), 0, width, height};
        if (leftover.leftoverRows > 0)
            leftover.edges[1] = {0, layout.upper(layout.blockRows), width, height};
        if (leftover.leftoverCols > 0 || leftover.leftoverRows > 0)
            check.findings.push_back(leftover);
    } catch (const std::bad_alloc&) {
        check.findings.clear();
        check.cliffs.clear();
        check.result = ExtractResult::NoMemory;
        return check;
    }
    check.colourError = set.colourError;
    return check;
}

std::string findingText(const Finding& f)
{
    std::string at = "block row " + std::to_string(f.at.row) + ", column " + std::to_string(f.at.col) + " (pixel " +
                     std::to_string(f.at.x) + ", " + std::to_string(f.at.y) + "): ";
    switch (f.kind) {
    case FindingKind::ReservedColour: {
        const char* name = "";
        for (const ReservedColour& reserved : RESERVED_COLOURS)
            if (reserved.colour == f.colour)
                name = reserved.name;
        return at + "colour " + hexColour(f.colour) + " is reserved (" + upper(name) + ")";
    }
    case FindingKind::UnknownColour:
        return at + "colour " + hexColour(f.colour) + " is not in the colour set";
    case FindingKind::MixedBlock:
        return at + "the block holds " + std::to_string(f.colourCount) + " colours; the builder reads only this pixel";
    case FindingKind::Cliff: {
        const std::string unit = f.metres ? " m" : "";
        return "block row " + std::to_string(f.at.row) + ", column " + std::to_string(f.at.col) + " (pixels " +
               std::to_string(f.at.x) + ", " + std::to_string(f.at.y) + " and " + std::to_string(f.next.x) + ", " +
               std::to_string(f.next.y) + "): " + (f.metres ? "heights " : "rungs ") + std::to_string(f.height) + unit +
               " and " + std::to_string(f.height2) + unit +
               (f.at.row == f.next.row || f.at.col == f.next.col ? " side by side, " : " corner to corner, ") +
               std::to_string(f.rungsApart) + " contour intervals apart (a cliff)";
    }
    case FindingKind::SizeMismatch:
        return "the picture is " + std::to_string(f.pictureWidth) + " x " + std::to_string(f.pictureHeight) +
               " pixels; " + MAP_DATA_FILE_NAME + " beside it was made for " + std::to_string(f.expectedWidth) + " x " +
               std::to_string(f.expectedHeight);
    case FindingKind::LeftoverPixels: {
        // "the last pixel column is ...", "the last 7 pixel columns and 3 pixel rows are ..."
        auto part = [](std::int32_t n, const char* one, const char* many) {
            return n == 1 ? std::string(one) : std::to_string(n) + " " + many;
        };
        std::string parts;
        if (f.leftoverCols > 0)
            parts = part(f.leftoverCols, "pixel column", "pixel columns");
        if (f.leftoverRows > 0)
            parts += (parts.empty() ? "" : " and ") + part(f.leftoverRows, "pixel row", "pixel rows");
        const bool one = f.leftoverCols + f.leftoverRows == 1;
        return "the last " + parts + (one ? " is outside every block and is ignored"
                                          : " are outside every block and are ignored");
    }
    }
    return at;
}

std::string findingLine(const Finding& finding)
{
    return prefixOf(finding.severity) + findingText(finding);
}

std::string cliffText(const PictureCheck& check, const Cliff& cliff)
{
    const auto span = [](std::int32_t first, std::int32_t last, const char* one, const char* many) {
        return first == last ? std::string(one) + " " + std::to_string(first)
                             : std::string(many) + " " + std::to_string(first) + " to " + std::to_string(last);
    };
    const Finding& steepest = check.findings[cliff.steepest];
    const std::string unit = steepest.metres ? " m" : "";
    return "a cliff over block " + span(cliff.firstRow, cliff.lastRow, "row", "rows") + ", " +
           span(cliff.firstCol, cliff.lastCol, "column", "columns") + " (pixels " + std::to_string(cliff.firstX) +
           ", " + std::to_string(cliff.firstY) + " to " + std::to_string(cliff.lastX) + ", " +
           std::to_string(cliff.lastY) + "): " +
           counted(cliff.pairs, "pair of neighbouring blocks", "pairs of neighbouring blocks") +
           ", the largest step " + std::to_string(steepest.rungsApart) + " contour intervals (" +
           (steepest.metres ? "heights " : "rungs ") + std::to_string(steepest.height) + unit + " and " +
           std::to_string(steepest.height2) + unit + ")";
}

std::vector<std::string> checkReportLines(const PictureCheck& check, std::size_t linesPerKind, bool everyPair)
{
    std::vector<std::string> lines;
    if (check.result != ExtractResult::Ok)
        return lines;
    for (std::size_t i = 0; i < check.findings.size();) {
        const FindingKind kind = check.findings[i].kind;
        std::size_t end = i;
        while (end < check.findings.size() && check.findings[end].kind == kind)
            ++end;
        const bool byCliff = kind == FindingKind::Cliff && !everyPair;
        const std::size_t shown = byCliff ? check.cliffs.size() : end - i;
        for (std::size_t k = 0; k < shown && k < linesPerKind; ++k)
            lines.push_back(byCliff ? prefixOf(Severity::Warning) + cliffText(check, check.cliffs[k])
                                    : findingLine(check.findings[i + k]));
        if (shown > linesPerKind)
            lines.push_back(prefixOf(check.findings[i].severity) + std::string("and ") +
                            (byCliff ? counted(shown - linesPerKind, "more cliff", "more cliffs")
                                     : moreOf(kind, shown - linesPerKind)));
        i = end;
    }
    // Each cliff counts as one warning; its pairs are told beside.
    const std::size_t pairs = static_cast<std::size_t>(std::count_if(
        check.findings.begin(), check.findings.end(), [](const Finding& f) { return f.kind == FindingKind::Cliff; }));
    const std::size_t warnings = check.count(Severity::Warning) - pairs + check.cliffs.size();
    const std::string cliffs = check.cliffs.empty() ? ""
        : " (" + counted(check.cliffs.size(), "cliff", "cliffs") + " of " +
              counted(pairs, "block pair", "block pairs") + ")";
    lines.push_back(counted(check.count(Severity::Error), "error", "errors") + ", " +
                    counted(warnings, "warning", "warnings") + cliffs +
                    (check.colourError ? ": a build stops with \"Colour Error in BMP file\"" : ": the picture builds"));
    return lines;
}

} // namespace qarn
