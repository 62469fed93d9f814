// Flat areas: touching Blue1 cells are labelled over the real cells (so an area
// along the map's edge stays one area), start smoothing at the height of their
// lowest rim and end at one level, their lowest averaged height rounded.

#include <algorithm>
#include <new>

#include "forge/grid/elevation_grid.h"
#include "forge/grid/height_rounding.h"

namespace qarn {

GridResult ElevationGrid::prepareFlatAreas(float rimlessAreaLevel)
{
    rimlessAreaLevel_ = rimlessAreaLevel;
    for (std::int32_t r = 0; r < rows_; ++r) {
        for (std::int32_t c = 0; c < cols_; ++c) {
            const GridCell& here = cell(r, c);
            if (here.kind != CellKind::Blue1 || here.areaId != 0)
                continue;
            const GridResult result = fillFlatArea(border_ + r, border_ + c, nextAreaId_);
            if (result != GridResult::Ok)
                return result;
            ++nextAreaId_;
        }
    }
    for (GridCell& here : cells_) {
        if (here.kind == CellKind::Blue1)
            here.baseHeight = areaLevel(here.areaId);
    }
    return GridResult::Ok;
}

GridResult ElevationGrid::fillFlatArea(int row, int col, int areaNumber)
{
    if (positions_.empty() || areaNumber < 1 || row < 0 || row >= paddedRows_ || col < 0 || col >= paddedCols_)
        return GridResult::Ok;
    const std::int32_t startIndex = cellIndexAt(row, col);
    if (startIndex < 0)
        return GridResult::Ok;
    GridCell& start = cells_[static_cast<std::size_t>(startIndex)];
    if (start.kind != CellKind::Blue1 || start.areaId != 0)
        return GridResult::Ok;

    const auto slot = static_cast<std::size_t>(areaNumber);
    try {
        if (areaLevel_.size() <= slot)
            areaLevel_.resize(slot + 1, NO_AREA_LEVEL);
        labelStack_.clear();
        labelStack_.push_back(startIndex);
    } catch (const std::bad_alloc&) {
        return GridResult::NoMemory;
    }
    start.areaId = areaNumber;

    // Left, upper left, up, upper right, right, lower right, down, lower left.
    static constexpr int stepRow[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    static constexpr int stepCol[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    bool hasRim = false;
    float lowestRim = areaLevel_[slot];
    while (!labelStack_.empty()) {
        const std::int32_t index = labelStack_.back();
        labelStack_.pop_back();
        const int r = index / cols_;
        const int c = index % cols_;
        for (int k = 0; k < 8; ++k) {
            const int nr = r + stepRow[k];
            const int nc = c + stepCol[k];
            if (nr < 0 || nr >= rows_ || nc < 0 || nc >= cols_)
                continue;
            GridCell& next = cell(nr, nc);
            if (next.kind == CellKind::Blue1 && next.areaId == 0) {
                next.areaId = areaNumber;
                try {
                    labelStack_.push_back(static_cast<std::int32_t>(realIndex(nr, nc)));
                } catch (const std::bad_alloc&) {
                    return GridResult::NoMemory;
                }
            } else if (next.kind == CellKind::Height) {
                hasRim = true;
                lowestRim = std::min(lowestRim, next.baseHeight);
            }
        }
    }
    areaLevel_[slot] = hasRim ? lowestRim : rimlessAreaLevel_;
    return GridResult::Ok;
}

void ElevationGrid::flattenFlatAreas()
{
    std::fill(areaLevel_.begin(), areaLevel_.end(), NO_AREA_LEVEL);
    const auto inStore = [this](std::int32_t id) {
        return id >= 0 && static_cast<std::size_t>(id) < areaLevel_.size();
    };
    for (const GridCell& here : cells_) {
        if (here.kind == CellKind::Blue1 && inStore(here.areaId)) {
            float& level = areaLevel_[static_cast<std::size_t>(here.areaId)];
            if (here.height < level)
                level = here.height;
        }
    }
    for (float& level : areaLevel_)
        level = roundHeight(level);
    for (GridCell& here : cells_) {
        if (here.kind == CellKind::Blue1 && inStore(here.areaId))
            here.height = areaLevel_[static_cast<std::size_t>(here.areaId)];
    }
}

} // namespace qarn
