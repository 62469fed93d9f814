#include "forge/extract/build_pipeline.h"

#include <cstdio>
#include <new>
#include <utility>

#include "forge/extract/block_heights.h"
#include "forge/extract/height_values_file.h"
#include "forge/extract/message_notes.h"
#include "forge/extract/result_codes.h"

namespace qarn {

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

// The box that ends a failed build, with the line that explains it.
void fail(BuildOutcome& outcome, const BuildRequest& request, ExtractResult result, bool colourError = false)
{
    outcome.result = result;
    outcome.messages.push_back(messageForBuildResult(result, colourError));
    outcome.messages.back().note = buildStopNote(request.bmpFilePath, result, colourError);
}

} // namespace

BuildOutcome runBuild(const BuildRequest& request)
{
    BuildOutcome outcome;
    // Boxes that do not end the build are told as they come; the last one is
    // left for the caller to show once it holds what the box speaks of.
    const auto tell = [&](UserMessage message) {
        outcome.messages.push_back(std::move(message));
        if (request.onMessage)
            request.onMessage(outcome.messages.back());
    };
    try {
        // Steps 1-3: the extraction into a fresh height values file.
        HeightValuesFile heights;
        if (!heights.open(request.heightsFilePath)) {
            fail(outcome, request, ExtractResult::TempFileFailed);
            return outcome;
        }
        const ExtractionResult extracted = extractBlockHeights(request.bmpFilePath, heights.stream(),
                                                               request.minElevation, request.contourInterval,
                                                               request.colourSet);
        outcome.result = extracted.result;
        outcome.colourError = extracted.result == ExtractResult::Ok && extracted.colourError;
        // A height values file that could not be completed is no file to build from.
        if ((std::fflush(heights.stream()) != 0 || std::ferror(heights.stream()) != 0) &&
            outcome.result == ExtractResult::Ok) {
            fail(outcome, request, ExtractResult::TempFileFailed);
            return outcome;
        }
        if (!outcome.built()) {
            fail(outcome, request, outcome.result, outcome.colourError);
            return outcome;
        }
        tell(messageForBuildResult(outcome.result, false));

        // Steps 4-5: the map data file beside the picture; missing is a warning.
        outcome.mapDataChecked = true;
        outcome.mapDataRead =
            readMapDataFile(mapDataPathFor(request.bmpFilePath), outcome.mapData) == FileResult::Ok;
        if (!outcome.mapDataRead) {
            UserMessage missing = mapDataMissingMessage();
            missing.note = mapDataMissingNote(request.bmpFilePath);
            tell(std::move(missing));
        }

        // Steps 6-7: read the file back and build the grid.
        std::rewind(heights.stream());
        if (!readHeightValuesHeader(heights.stream(), outcome.heights)) {
            fail(outcome, request, ExtractResult::TempFileFailed);
            return outcome;
        }
        const GridResult gridResult = outcome.grid.build(heights.stream(), static_cast<int>(outcome.heights.blockRows),
                                                  static_cast<int>(outcome.heights.blockCols),
                                                  static_cast<float>(outcome.heights.contourInterval),
                                                  static_cast<float>(request.minElevation));
        if (gridResult == GridResult::NoMemory) {
            outcome.grid = ElevationGrid();
            fail(outcome, request, ExtractResult::NoMemory);
            return outcome;
        }
        // The file was written whole moments ago: a short one means it was
        // damaged on the way, and a grid built from it would be wrong.
        if (gridResult != GridResult::Ok ||
            outcome.grid.valuesRead() < std::int64_t{outcome.heights.blockRows} * outcome.heights.blockCols) {
            outcome.grid = ElevationGrid();
            fail(outcome, request, ExtractResult::TempFileFailed);
            return outcome;
        }

        // Steps 9-10.
        outcome.messages.push_back(resultsReadyMessage());
        if (request.onBuilt)
            request.onBuilt(outcome);
        heights.remove();
    } catch (const std::bad_alloc&) {
        outcome.grid = ElevationGrid();
        outcome.result = ExtractResult::NoMemory;
        outcome.messages.push_back(messageForBuildResult(ExtractResult::NoMemory, false));
    }
    return outcome;
}

} // namespace qarn
