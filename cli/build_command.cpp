// qarn build: a map picture to an ASCII grid file and its build data report,
// the same files the builder window writes after "Build It" and Save As of the
// unedited table.
#include "cli/command.h"

#include <algorithm>
#include <memory>
#include <cstdio>
#include <string>

#include "common/rich_text.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/result_codes.h"
#include "forge/grid/grid_views.h"
#include "forge/output/output_result.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "forge/output/save_results.h"

namespace {

// Exit statuses, one per kind of failure.
enum class BuildExit : int {
    Built = 0,
    BadInput = 2,     // --min or --interval refused, or heights beyond the 32-bit range
    NoPicture = 3,    // the picture cannot be opened or read at all
    BadPicture = 4,   // not a BMP, corrupt, unsupported, cut short, no blocks or too many
    ColourError = 5,  // a reserved or unknown colour in the map
    NoMemory = 6,
    TempFile = 7,     // "hightvals.dat" cannot be written or read back
    SaveFailed = 8,   // the grid file or the report cannot be written
};

struct BuildOptions {
    std::string picture;
    std::string colourSet;
    std::string min;
    std::string interval;
    std::string output;
    std::string preview;
};

void printMessage(const UserMessage& message)
{
    std::fprintf(stderr, "%s:\n%s", message.caption.c_str(), plainText(message.text).c_str());
}

BuildExit exitFor(const BuildOutcome& outcome)
{
    if (outcome.colourError)
        return BuildExit::ColourError;
    switch (outcome.result) {
    case ExtractResult::CannotOpenBmp:
    case ExtractResult::TypeUnreadable:
        return BuildExit::NoPicture;
    case ExtractResult::NoMemoryPixels:
    case ExtractResult::NoMemory:
        return BuildExit::NoMemory;
    case ExtractResult::TempFileFailed:
        return BuildExit::TempFile;
    case ExtractResult::HeightsTooLarge:
        return BuildExit::BadInput;
    default:
        return BuildExit::BadPicture;
    }
}

BuildExit runBuildCommand(const BuildOptions& options)
{
    BuildRequest request;
    request.bmpFilePath = options.picture;
    request.colourSet = options.colourSet == "user" ? ColourSet::User : ColourSet::System;
    if (auto refused = checkMinElevation(options.min, request.minElevation)) {
        printMessage(*refused);
        return BuildExit::BadInput;
    }
    if (auto refused = checkContourInterval(options.interval, request.contourInterval)) {
        printMessage(*refused);
        return BuildExit::BadInput;
    }

    BuildOutcome outcome = runBuild(request);
    if (!outcome.built()) {
        printMessage(outcome.messages.back());
        return exitFor(outcome);
    }
    if (!outcome.mapDataRead)
        printMessage(mapDataMissingMessage());

    // What the window's table holds and Save copies back: whole metres. The
    // table goes before the save takes its own copy of the heights.
    int lowest = 0;
    int highest = 0;
    {
        const std::vector<int> table = truncatedHeights(outcome.grid);
        applyTableValues(outcome.grid, table);
        const auto [low, high] = std::minmax_element(table.begin(), table.end());
        lowest = *low;
        highest = *high;
    }
    const std::string chosen = options.output.empty() ? proposedSaveName(options.picture) : options.output;
    const SaveAsResult saved = saveGridAndReport(outcome.grid, chosen, outcome.mapDataRead, outcome.mapData);
    if (saved.result != OutputResult::Ok) {
        std::fprintf(stderr, "qarn build: %s\n", saved.error.c_str());
        return BuildExit::SaveFailed;
    }
    std::printf("Built a grid of %d rows x %d columns, heights %d to %d m; wrote %s and %s\n",
                outcome.grid.rows(), outcome.grid.cols(), lowest, highest, saved.gridPath.c_str(),
                saved.reportPath.c_str());
    if (!options.preview.empty()) {
        // The heights as saved (whole metres), so the picture shows what the file holds.
        const int perCell = previewPixelsPerCell(outcome.grid.rows(), outcome.grid.cols());
        const PreviewImage image = renderReliefPreview(outcome.grid, perCell);
        std::string error;
        if (!writePreviewPng(image, options.preview, error)) {
            std::fprintf(stderr, "qarn build: %s\n", error.c_str());
            return BuildExit::SaveFailed;
        }
        std::printf("Wrote the preview %s (%d x %d pixels)\n", options.preview.c_str(), image.width, image.height);
    }
    return BuildExit::Built;
}

} // namespace

void addBuildCommand(CLI::App& app, int* exitStatus)
{
    auto options = std::make_shared<BuildOptions>();
    CLI::App* cmd = app.add_subcommand("build", "Build an elevation grid from a map picture and save it as an "
                                                "ESRI ArcInfo ASCII grid (1201 x 1201) with its build data report");
    cmd->add_option("MAP.bmp", options->picture, "The map picture: a BMP painted in 10 x 10 pixel blocks")
        ->required();
    cmd->add_option("--colour-set", options->colourSet,
                    "system: the built-in 25-colour set; user: the set painted in the picture's top 10 pixel rows")
        ->required()
        ->check(CLI::IsMember({"system", "user"}));
    cmd->add_option("--min", options->min, "Minimum elevation in whole metres (0 or more): the lowest colour's height")
        ->required();
    cmd->add_option("--interval", options->interval, "Contour interval in whole metres (more than 0)")->required();
    cmd->add_option("--output", options->output,
                    "Grid file name; the report is named after it with -Build_Data.txt in place of .asc "
                    "(default: the picture's name with -arcinfo-ascii.asc)");
    cmd->add_option("--preview", options->preview,
                    "Also write a shaded-relief picture of the saved heights as PNG (flat areas in blue)");
    cmd->footer("Example:\n  qarn build hills.bmp --colour-set system --min 100 --interval 20 --output hills.asc\n"
                "  writes hills.asc and hills-Build_Data.txt. \"hightvals.dat\" is made in the working directory\n"
                "  while the build runs. The map data file QarnSizer_MAP_Data.xdt is read from the picture's folder.\n"
                "Exit status: 0 built; 2 --min or --interval refused or too large; 3 picture cannot be opened;\n"
                "  4 picture not valid; 5 colour error; 6 out of memory; 7 height values file failed;\n"
                "  8 result file (or the preview) not written.");
    cmd->callback([options, exitStatus] { *exitStatus = static_cast<int>(runBuildCommand(*options)); });
}
