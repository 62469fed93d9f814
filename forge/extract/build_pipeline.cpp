#include "forge/extract/build_pipeline.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>

#include "forge/extract/block_heights.h"
#include "forge/extract/result_codes.h"

namespace {

// A colour set holds the painted band (at most one entry per block column of
// the widest picture) and the seven reserved colours.
constexpr long MAX_COLOUR_HEIGHTS = 1L << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool readHeightValuesHeader(std::FILE* f, HeightValuesHeader& h)
{
    int count = 0;
    if (std::fscanf(f, "%ld %ld", &h.pixelRows, &h.pixelCols) != 2 ||
        std::fscanf(f, "%ld %ld", &h.blockRows, &h.blockCols) != 2 || std::fscanf(f, "%d", &h.contourInterval) != 1 ||
        std::fscanf(f, "%d", &count) != 1)
        return false;
    if (h.blockRows < 1 || h.blockCols < 1 || h.blockRows > MAX_MAP_BLOCKS || h.blockCols > MAX_MAP_BLOCKS ||
        count < 0 || count > MAX_COLOUR_HEIGHTS)
        return false;
    h.colourHeights.assign(static_cast<std::size_t>(count), 0);
    for (int& value : h.colourHeights)
        if (std::fscanf(f, "%d", &value) != 1)
            return false;
    return true;
}

namespace {

void fail(BuildOutcome& outcome, int result)
{
    outcome.result = result;
    outcome.messages.push_back(messageForBuildResult(result, false));
}

} // namespace

BuildOutcome runBuild(const BuildRequest& request)
{
    BuildOutcome outcome;
    try {
        // Steps 1-3: the extraction into a fresh height values file.
        {
            File heights(std::fopen(HEIGHT_VALUES_FILE_NAME, "w"));
            if (!heights) {
                fail(outcome, RESULT_TEMP_FILE_FAILED);
                return outcome;
            }
            const ExtractionResult extracted =
                extractBlockHeights(request.bmpFilePath, heights.get(), request.minElevation,
                                    request.contourInterval, request.colourSetChoice);
            outcome.result = extracted.result;
            outcome.colourError = extracted.result == RESULT_OK && extracted.colourError;
            // A height values file that could not be completed is no file to build from.
            const bool writeFailed = std::ferror(heights.get()) != 0;
            if ((std::fclose(heights.release()) != 0 || writeFailed) && outcome.result == RESULT_OK) {
                fail(outcome, RESULT_TEMP_FILE_FAILED);
                return outcome;
            }
        }
        outcome.messages.push_back(messageForBuildResult(outcome.result, outcome.colourError));
        if (!outcome.built())
            return outcome;

        // Steps 4-5: the map data file beside the picture; missing is a warning.
        outcome.mapDataChecked = true;
        outcome.mapDataRead = readMapDataFile(mapDataPathFor(request.bmpFilePath), outcome.mapData);
        if (!outcome.mapDataRead)
            outcome.messages.push_back(mapDataMissingMessage());

        // Steps 6-7: read the file back and build the grid.
        File heights(std::fopen(HEIGHT_VALUES_FILE_NAME, "r"));
        if (!heights || !readHeightValuesHeader(heights.get(), outcome.heights)) {
            fail(outcome, RESULT_TEMP_FILE_FAILED);
            return outcome;
        }
        const int gridResult = outcome.grid.build(heights.get(), static_cast<int>(outcome.heights.blockRows),
                                                  static_cast<int>(outcome.heights.blockCols),
                                                  static_cast<float>(outcome.heights.contourInterval),
                                                  static_cast<float>(request.minElevation));
        heights.reset();
        if (gridResult == GRID_RESULT_NO_MEMORY) {
            outcome.grid = ElevationGrid();
            fail(outcome, RESULT_NO_MEMORY);
            return outcome;
        }
        // The file was written whole moments ago: a short one means it was
        // damaged on the way, and a grid built from it would be wrong.
        if (gridResult != GRID_RESULT_OK ||
            outcome.grid.valuesRead() < std::int64_t{outcome.heights.blockRows} * outcome.heights.blockCols) {
            outcome.grid = ElevationGrid();
            fail(outcome, RESULT_TEMP_FILE_FAILED);
            return outcome;
        }

        // Steps 9-10.
        outcome.messages.push_back(resultsReadyMessage());
        std::remove(HEIGHT_VALUES_FILE_NAME);
    } catch (const std::bad_alloc&) {
        outcome.grid = ElevationGrid();
        outcome.result = RESULT_NO_MEMORY;
        outcome.messages.push_back(messageForBuildResult(RESULT_NO_MEMORY, false));
    }
    return outcome;
}

int truncatedHeight(float height)
{
    // Truncation toward zero, kept inside the int range (a float at or beyond
    // 2^31 has no int value).
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
