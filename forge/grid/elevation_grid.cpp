#include "forge/grid/elevation_grid.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "common/platform.h"

namespace qarn {

namespace {

// Reads white-space separated values the way "%f" does, one token at a time,
// without the cost of a formatted read per value (a full map has 290 000).
// Once the stream holds something that is not a number, nothing more is read.
class HeightValueReader {
public:
    explicit HeightValueReader(std::FILE* stream) : stream_(stream), stuck_(stream == nullptr) {}

    enum class Outcome { Value, Unusable, End };

    Outcome next(float& value)
    {
        if (stuck_)
            return Outcome::End;
        int ch = platform::readByteUnlocked(stream_);
        while (isBlank(ch))
            ch = platform::readByteUnlocked(stream_);
        char token[64];
        std::size_t length = 0;
        bool tooLong = false;
        while (ch != EOF && !isBlank(ch)) {
            if (length < sizeof token)
                token[length++] = static_cast<char>(ch);
            else
                tooLong = true;
            ch = platform::readByteUnlocked(stream_);
        }
        // The one blank that ended the token stays read; later reads skip blanks anyway.
        if (length == 0 || tooLong) {
            stuck_ = true;
            return Outcome::End;
        }
        const char* first = token;
        const char* last = token + length;
        if (*first == '+' && length > 1 && first[1] != '-')
            ++first;
        float parsed = 0.0f;
        const auto [end, ec] = std::from_chars(first, last, parsed);
        if (end == first) {
            stuck_ = true;
            return Outcome::End;
        }
        // "12abc" gives 12, and the rest can never be read as a value.
        if (end != last)
            stuck_ = true;
        // Out of range or not a number: no usable height, like an unreadable value.
        if (ec != std::errc() || !std::isfinite(parsed))
            return Outcome::Unusable;
        value = parsed;
        return Outcome::Value;
    }

private:
    static bool isBlank(int ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

    std::FILE* stream_;
    bool stuck_;
};

int clampIndex(int value, int high)
{
    return value < 0 ? 0 : (value > high ? high : value);
}

} // namespace

void ElevationGrid::setBorder(int border)
{
    border_ = border < 0 ? 0 : border;
}

const char* describe(GridResult result)
{
    switch (result) {
    case GridResult::Ok:
        return "built";
    case GridResult::NoMemory:
        return "out of memory";
    case GridResult::BadSize:
        return "no rows or columns, or too many to index";
    }
    return "unknown grid result";
}

GridResult ElevationGrid::allocate(int rows, int cols, float contourInterval)
{
    return size(rows, cols, contourInterval, false);
}

GridResult ElevationGrid::size(int rows, int cols, float contourInterval, bool reuse)
{
    if (rows < 1 || cols < 1)
        return GridResult::BadSize;
    const std::int64_t padRows = static_cast<std::int64_t>(rows) + 2 * static_cast<std::int64_t>(border_);
    const std::int64_t padCols = static_cast<std::int64_t>(cols) + 2 * static_cast<std::int64_t>(border_);
    constexpr std::int64_t maxIndex = std::numeric_limits<std::int32_t>::max();
    if (padRows > maxIndex || padCols > maxIndex || padRows * padCols > maxIndex)
        return GridResult::BadSize;
    try {
        if (reuse) {
            // loadHeights sets every cell and position afresh.
            cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
            positions_.resize(static_cast<std::size_t>(padRows * padCols));
            lineBuffer_.resize(static_cast<std::size_t>(std::max(padRows, padCols)));
            areaLevel_.assign(1, NO_AREA_LEVEL);
        } else {
            std::vector<GridCell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
            std::vector<std::int32_t> positions(static_cast<std::size_t>(padRows * padCols), -1);
            std::vector<std::int32_t> lineBuffer(static_cast<std::size_t>(std::max(padRows, padCols)));
            std::vector<float> areaLevel(1, NO_AREA_LEVEL);
            cells_.swap(cells);
            positions_.swap(positions);
            lineBuffer_.swap(lineBuffer);
            areaLevel_.swap(areaLevel);
        }
    } catch (const std::bad_alloc&) {
        return GridResult::NoMemory;
    }
    rows_ = rows;
    cols_ = cols;
    contourInterval_ = contourInterval;
    paddedRows_ = static_cast<std::int32_t>(padRows);
    paddedCols_ = static_cast<std::int32_t>(padCols);
    nextAreaId_ = 1;
    return GridResult::Ok;
}

template <typename NextValue> void ElevationGrid::loadFrom(NextValue next)
{
    if (cells_.empty())
        return;
    float last = 0.0f;
    valuesRead_ = 0;
    for (std::int32_t r = 0; r < rows_; ++r) {
        for (std::int32_t c = 0; c < cols_; ++c) {
            float value = 0.0f;
            if (next(value)) {
                last = value;
                ++valuesRead_;
            }
            GridCell& fresh = cell(r, c);
            fresh = GridCell{};
            fresh.setBase(last, cellKindForValue(last));
        }
    }
    // Every position refers to the nearest real cell; border positions share it.
    for (std::int32_t i = 0; i < paddedRows_; ++i) {
        const std::size_t rowStart = static_cast<std::size_t>(clampIndex(i - border_, rows_ - 1)) *
                                     static_cast<std::size_t>(cols_);
        std::int32_t* out = &positions_[static_cast<std::size_t>(i) * static_cast<std::size_t>(paddedCols_)];
        for (std::int32_t j = 0; j < paddedCols_; ++j)
            out[j] = static_cast<std::int32_t>(rowStart + static_cast<std::size_t>(clampIndex(j - border_, cols_ - 1)));
    }
}

void ElevationGrid::loadHeights(std::FILE* heights)
{
    HeightValueReader reader(heights);
    loadFrom([&reader](float& value) { return reader.next(value) == HeightValueReader::Outcome::Value; });
}

void ElevationGrid::loadHeights(std::span<const float> heights)
{
    std::size_t next = 0;
    loadFrom([&](float& value) {
        if (next >= heights.size())
            return false;
        value = heights[next++];
        return true;
    });
}

void ElevationGrid::averageCandidates()
{
    for (GridCell& c : cells_) {
        if (c.candidateCount > 0) {
            double sum = 0.0;
            for (int k = 0; k < c.candidateCount; ++k)
                sum += c.candidates[k];
            c.height = static_cast<float>(sum / c.candidateCount);
        } else {
            c.height = 0.0f;
        }
    }
}

template <typename Load>
GridResult ElevationGrid::buildWith(Load load, int rows, int cols, float contourInterval, float rimlessAreaLevel)
{
    try {
        ElevationGrid fresh;
        fresh.setBorder(GRID_BORDER);
        GridResult result = fresh.allocate(rows, cols, contourInterval);
        if (result != GridResult::Ok)
            return result;
        load(fresh);
        result = fresh.finishBuild(rimlessAreaLevel);
        if (result != GridResult::Ok)
            return result;
        *this = std::move(fresh);
    } catch (const std::bad_alloc&) {
        return GridResult::NoMemory;
    }
    return GridResult::Ok;
}

GridResult ElevationGrid::finishBuild(float rimlessAreaLevel)
{
    const GridResult result = prepareFlatAreas(rimlessAreaLevel);
    if (result != GridResult::Ok)
        return result;
    smoothRows();
    smoothColumns();
    smoothDiagonals();
    smoothAntiDiagonals();
    averageCandidates();
    flattenFlatAreas();
    return GridResult::Ok;
}

GridResult ElevationGrid::rebuild(std::span<const float> heights, int rows, int cols, float contourInterval,
                                  float rimlessAreaLevel)
{
    GridResult result = GridResult::NoMemory;
    try {
        setBorder(GRID_BORDER);
        result = size(rows, cols, contourInterval, true);
        if (result == GridResult::Ok) {
            loadHeights(heights);
            result = finishBuild(rimlessAreaLevel);
        }
    } catch (const std::bad_alloc&) {
        result = GridResult::NoMemory;
    }
    if (result != GridResult::Ok)
        *this = ElevationGrid{};
    return result;
}

GridResult ElevationGrid::build(std::FILE* heights, int rows, int cols, float contourInterval, float rimlessAreaLevel)
{
    return buildWith([heights](ElevationGrid& fresh) { fresh.loadHeights(heights); }, rows, cols, contourInterval,
                     rimlessAreaLevel);
}

GridResult ElevationGrid::build(std::span<const float> heights, int rows, int cols, float contourInterval,
                                float rimlessAreaLevel)
{
    return buildWith([heights](ElevationGrid& fresh) { fresh.loadHeights(heights); }, rows, cols, contourInterval,
                     rimlessAreaLevel);
}

} // namespace qarn
