#include "forge/grid/grid_views.h"

#include <cmath>
#include <limits>

namespace qarn {

int truncatedHeight(float height)
{
    // A float at or beyond 2^31 has no int value.
    if (std::isnan(height))
        return 0;
    if (height <= -2147483648.0f)
        return std::numeric_limits<int>::min();
    if (height >= 2147483648.0f)
        return std::numeric_limits<int>::max();
    return static_cast<int>(height);
}

std::vector<int> truncatedHeights(const ElevationGrid& grid)
{
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(grid.rows()) * static_cast<std::size_t>(grid.cols()));
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            values.push_back(truncatedHeight(grid.height(r, c)));
    return values;
}

std::vector<float> realCellHeights(const ElevationGrid& grid)
{
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(grid.rows()) * static_cast<std::size_t>(grid.cols()));
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            values.push_back(grid.height(r, c));
    return values;
}

} // namespace qarn
