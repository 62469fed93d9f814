#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "common/block_convention.h"
#include "forge/grid/ascii_grid_header.h"
#include "forge/grid/grid_cell.h"

namespace qarn {

// The bordered elevation grid of one build: real cells in one vector, and the
// padded rectangle as indices into it, so a border position shares its edge
// cell. The grid owns its cells and arrays; it never owns or closes the FILE it
// reads. Errors: operations that allocate return a GridResult code (they catch
// std::bad_alloc; nothing is thrown); build and allocate then leave the grid as
// it was, after a failed prepareFlatAreas the grid must be discarded.

enum class GridResult {
    Ok,
    NoMemory,
    BadSize, // 0 rows or columns, or a padded rectangle too large to index
};

// Plain words for a code.
const char* describe(GridResult result);

inline constexpr float NO_AREA_LEVEL = 99999.0f;
inline constexpr std::int32_t GRID_BORDER = 20;

class ElevationGrid {
public:
    ElevationGrid() = default;

    // The whole build sequence: setBorder(GRID_BORDER), allocate, loadHeights,
    // prepareFlatAreas, the four passes, averageCandidates, flattenFlatAreas.
    // Built into a fresh grid that replaces this one only on success, so a
    // failed build keeps the previous grid.
    GridResult build(std::FILE* heights, int rows, int cols, float contourInterval, float rimlessAreaLevel);
    // The same from heights already in memory (rows x cols, row-major), as
    // the height values file would carry them.
    GridResult build(std::span<const float> heights, int rows, int cols, float contourInterval,
                     float rimlessAreaLevel);
    // The same build in the memory this grid holds from its last one, for a
    // map built again and again (the painter's preview after each stroke):
    // no memory taken and cleared afresh while the size stays. Gives the grid
    // build gives; on failure this grid is left empty.
    GridResult rebuild(std::span<const float> heights, int rows, int cols, float contourInterval,
                       float rimlessAreaLevel);

    // --- Grid model ---
    void setBorder(int border);
    // Starts a build: sizes, empty padded rectangle, area levels reset.
    // GridResult::BadSize for rows or cols below 1 (the grid is unchanged).
    GridResult allocate(int rows, int cols, float contourInterval);
    // Reads rows x cols values ("%f" style) row by row from the stream, which is
    // positioned after the header, creates the real cells and fills the border.
    // A file that ends early, or a value that cannot be read, leaves every later
    // cell with the last value read (0.0 if none); valuesRead() then tells how
    // many were really read. Does not close the stream.
    void loadHeights(std::FILE* heights);
    // The same from memory: values beyond the span's end count as unread.
    void loadHeights(std::span<const float> heights);
    std::int64_t valuesRead() const { return valuesRead_; }
    void averageCandidates();
    int shorterSide() const { return paddedRows_ < paddedCols_ ? paddedRows_ : paddedCols_; }

    // --- Smoothing passes ---
    // Adds exactly one candidate to the cell at each position of the line; the
    // line holds indices of cells (cellIndexAt) and may repeat a cell.
    void smoothLine(const std::int32_t* line, int length);
    void smoothRows();
    void smoothColumns();
    void smoothDiagonals();
    void smoothAntiDiagonals();

    // --- Flat areas ---
    // Numbers the areas of Blue1 cells over the real cells (eight neighbours,
    // none outside the map) in row-by-row order of their first cell, and sets
    // every area cell's base height to its area's starting level: the lowest
    // base height of the Height cells around it, or rimlessAreaLevel when it
    // has none.
    GridResult prepareFlatAreas(float rimlessAreaLevel = NO_AREA_LEVEL);
    // Labels the area holding the cell at padded position (row, col) with the
    // number and sets that number's level. Does nothing unless the cell is an
    // unlabelled Blue1 cell.
    GridResult fillFlatArea(int row, int col, int areaNumber);
    // Sets every area cell's height to its area's lowest height, rounded.
    void flattenFlatAreas();

    // --- Access ---
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    int border() const { return border_; }
    int paddedRows() const { return paddedRows_; }
    int paddedCols() const { return paddedCols_; }
    float contourInterval() const { return contourInterval_; }
    const AsciiGridHeader& header() const { return header_; }

    // Real cell (r, c), 0 <= r < rows(), 0 <= c < cols(); row 0 is the map's top.
    const GridCell& cell(int r, int c) const { return cells_[realIndex(r, c)]; }
    GridCell& cell(int r, int c) { return cells_[realIndex(r, c)]; }
    float height(int r, int c) const { return cell(r, c).height; }
    void setHeight(int r, int c, float value) { cell(r, c).height = value; }

    // Index of the cell at padded position (i, j), or -1 before loadHeights.
    std::int32_t cellIndexAt(int i, int j) const
    {
        return positions_[static_cast<std::size_t>(i) * static_cast<std::size_t>(paddedCols_) +
                          static_cast<std::size_t>(j)];
    }
    const GridCell& cellByIndex(std::int32_t index) const { return cells_[static_cast<std::size_t>(index)]; }

    // Level of flat area a (starting level after prepareFlatAreas, final after
    // flattenFlatAreas); NO_AREA_LEVEL for a number no area has.
    float areaLevel(int a) const
    {
        return (a >= 0 && static_cast<std::size_t>(a) < areaLevel_.size()) ? areaLevel_[static_cast<std::size_t>(a)]
                                                                           : NO_AREA_LEVEL;
    }
    // The number the next area found gets; areas found so far are 1 to nextAreaId() - 1.
    int nextAreaId() const { return nextAreaId_; }

private:
    std::size_t realIndex(int r, int c) const
    {
        return static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(c);
    }
    float baseAt(const std::int32_t* line, int i) const { return cells_[static_cast<std::size_t>(line[i])].baseHeight; }
    void give(const std::int32_t* line, int i, float value) { cells_[static_cast<std::size_t>(line[i])].addCandidate(value); }
    void giveOwn(const std::int32_t* line, int i) { give(line, i, baseAt(line, i)); }
    void giveRaised(const std::int32_t* line, int i, double factor);
    void giveRamp(const std::int32_t* line, int firstPos, int firstStep, int lastStep, int steps, float from, float to);
    void smoothDiagonalLines(bool mirrored);
    // Fills the real cells from next(value), which says whether it gave a value.
    template <typename NextValue> void loadFrom(NextValue next);
    template <typename Load> GridResult buildWith(Load load, int rows, int cols, float contourInterval,
                                                  float rimlessAreaLevel);
    // allocate, in fresh memory or in the memory the grid holds.
    GridResult size(int rows, int cols, float contourInterval, bool reuse);
    // The build's stages after loadHeights.
    GridResult finishBuild(float rimlessAreaLevel);

    std::vector<GridCell> cells_;          // real cells, row-major
    std::vector<std::int32_t> positions_;  // padded rectangle, row-major, cell indices
    std::vector<std::int32_t> lineBuffer_; // one line of a pass
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    float contourInterval_ = 0.0f;
    std::vector<float> areaLevel_;         // by area number; slot 0 is no area's
    std::vector<std::int32_t> labelStack_; // cells still to visit while labelling an area
    std::int32_t nextAreaId_ = 1;
    std::int64_t valuesRead_ = 0;
    float rimlessAreaLevel_ = NO_AREA_LEVEL;
    std::int32_t border_ = 0;
    std::int32_t paddedRows_ = 0;
    std::int32_t paddedCols_ = 0;
    AsciiGridHeader header_;
};

} // namespace qarn
