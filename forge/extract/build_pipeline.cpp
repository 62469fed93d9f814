#include "forge/extract/build_pipeline.h"

#include <cstdio>
#include <new>

#include "common/file_handle.h"
#include "forge/extract/block_heights.h"
#include "forge/extract/result_codes.h"

namespace {

// A colour set holds the painted band (at most one entry per block column of
// the widest picture) and the seven reserved colours.
constexpr long MAX_COLOUR_HEIGHTS = 1L << 20;


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

void fail(BuildOutcome& outcome, ExtractResult result)
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
            FileHandle heights(std::fopen(HEIGHT_VALUES_FILE_NAME, "w"));
            if (!heights) {
                fail(outcome, ExtractResult::TempFileFailed);
                return outcome;
            }
            const ExtractionResult extracted =
                extractBlockHeights(request.bmpFilePath, heights.get(), request.minElevation,
                                    request.contourInterval, request.colourSet);
            outcome.result = extracted.result;
            outcome.colourError = extracted.result == ExtractResult::Ok && extracted.colourError;
            // A height values file that could not be completed is no file to build from.
            const bool writeFailed = std::ferror(heights.get()) != 0;
            if ((std::fclose(heights.release()) != 0 || writeFailed) && outcome.result == ExtractResult::Ok) {
                fail(outcome, ExtractResult::TempFileFailed);
                return outcome;
            }
        }
        outcome.messages.push_back(messageForBuildResult(outcome.result, outcome.colourError));
        if (!outcome.built())
            return outcome;

        // Steps 4-5: the map data file beside the picture; missing is a warning.
        outcome.mapDataChecked = true;
        outcome.mapDataRead =
            readMapDataFile(mapDataPathFor(request.bmpFilePath), outcome.mapData) == FileResult::Ok;
        if (!outcome.mapDataRead)
            outcome.messages.push_back(mapDataMissingMessage());

        // Steps 6-7: read the file back and build the grid.
        FileHandle heights(std::fopen(HEIGHT_VALUES_FILE_NAME, "r"));
        if (!heights || !readHeightValuesHeader(heights.get(), outcome.heights)) {
            fail(outcome, ExtractResult::TempFileFailed);
            return outcome;
        }
        const GridResult gridResult = outcome.grid.build(heights.get(), static_cast<int>(outcome.heights.blockRows),
                                                  static_cast<int>(outcome.heights.blockCols),
                                                  static_cast<float>(outcome.heights.contourInterval),
                                                  static_cast<float>(request.minElevation));
        heights.reset();
        if (gridResult == GridResult::NoMemory) {
            outcome.grid = ElevationGrid();
            fail(outcome, ExtractResult::NoMemory);
            return outcome;
        }
        // The file was written whole moments ago: a short one means it was
        // damaged on the way, and a grid built from it would be wrong.
        if (gridResult != GridResult::Ok ||
            outcome.grid.valuesRead() < std::int64_t{outcome.heights.blockRows} * outcome.heights.blockCols) {
            outcome.grid = ElevationGrid();
            fail(outcome, ExtractResult::TempFileFailed);
            return outcome;
        }

        // Steps 9-10.
        outcome.messages.push_back(resultsReadyMessage());
        std::remove(HEIGHT_VALUES_FILE_NAME);
    } catch (const std::bad_alloc&) {
        outcome.grid = ElevationGrid();
        outcome.result = ExtractResult::NoMemory;
        outcome.messages.push_back(messageForBuildResult(ExtractResult::NoMemory, false));
    }
    return outcome;
}
