// qarn build: a map picture to an ASCII grid file and its build data report,
// the same files the builder window writes after "Build It" and Save As of the
// unedited table.
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/result_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/rich_text.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "forge/grid/grid_views.h"
#include "forge/output/output_result.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "forge/output/grid_files.h"
#include "common/platform.h"

namespace qarn {

namespace {

// Colour errors listed after the window's message; qarn check lists them all.
constexpr std::size_t BUILD_ERROR_LINES = 10;

struct BuildOptions {
    std::string picture;
    std::string colourSet;
    std::string min;
    std::string interval;
    std::string output;
    bool outputGiven = false; // an empty --output is refused, not taken as none
    std::string preview;
};

// Below the window's message and its note: the first blocks of a colour error.
void printWhereItStopped(const BuildRequest& request, const BuildOutcome& outcome)
{
    if (outcome.colourError) {
        const PictureCheck check = checkPicture({.bmpFilePath = request.bmpFilePath,
                                                 .colourSet = request.colourSet,
                                                 .withHeights = true,
                                                 .minElevation = request.minElevation,
                                                 .contourInterval = request.contourInterval,
                                                 .scope = CheckScope::ColourErrors,
                                                 .drawable = false});
        for (std::size_t i = 0; i < check.findings.size() && i < BUILD_ERROR_LINES; ++i)
            if (check.findings[i].severity == Severity::Error)
                std::fprintf(stderr, "%s\n", findingLine(check.findings[i]).c_str());
        std::fputs("qarn check lists them all\n", stderr);
    }
}

Exit refuse(const std::string& why)
{
    std::fprintf(stderr, "qarn build: %s\n", why.c_str());
    return Exit::Usage;
}

Exit runBuildCommand(const BuildOptions& options)
{
    BuildRequest request;
    request.bmpFilePath = options.picture;
    request.colourSet = options.colourSet == "user" ? ColourSet::User : ColourSet::System;
    if (!confirmEntries(options.min, options.interval, request.minElevation, request.contourInterval))
        return Exit::Usage;
    if (options.outputGiven && options.output.empty())
        return refuse("--output names no file");
    if (!options.output.empty() && (platform::isFolderSeparator(options.output.back()) ||
                                    std::filesystem::is_directory(pathFromUtf8(options.output))))
        return refuse("--output names a folder: " + options.output);
    const std::string chosen = options.output.empty() ? proposedSaveName(options.picture) : options.output;
    std::vector<NamedFile> results = {{"grid file", gridFileNameFor(chosen)},
                                      {"build data report", reportFileNameFor(chosen)}};
    if (!options.preview.empty())
        results.push_back({"preview", options.preview});
    const std::string clash = resultClash(
        {{"picture", options.picture}, {"map data file", mapDataPathFor(options.picture)}}, results);
    if (!clash.empty())
        return refuse(clash);

    // Warnings (the map data file missing) are printed as the build meets them.
    request.onMessage = [](const UserMessage& message) {
        if (message.kind != MessageKind::Information)
            printMessage(message);
    };
    GridBuild build = buildGridFiles(request, chosen);
    if (!build.folderError.empty())
        return refuse("no private folder for the height values file: " + build.folderError);
    const BuildOutcome& outcome = build.outcome;
    if (!outcome.built()) {
        printMessage(outcome.messages.back());
        printWhereItStopped(request, outcome);
        return exitForResult(outcome.result, outcome.colourError);
    }

    const SaveAsResult& saved = build.saved;
    if (saved.result != OutputResult::Ok) {
        std::fprintf(stderr, "qarn build: %s\n", saved.error.c_str());
        return Exit::NotWritten;
    }
    const auto [lowest, highest] = std::minmax_element(saved.heights.begin(), saved.heights.end());
    std::printf("Built a grid of %d rows x %d columns, heights %d to %d m; wrote %s and %s\n",
                outcome.grid.rows(), outcome.grid.cols(), *lowest, *highest, saved.gridPath.c_str(),
                saved.reportPath.c_str());
    if (!options.preview.empty()) {
        // The heights as saved (whole metres), so the picture shows what the file holds.
        const int perCell = previewPixelsPerCell(outcome.grid.rows(), outcome.grid.cols());
        const PreviewImage image = renderReliefPreview(outcome.grid, perCell);
        std::string error;
        if (writePreviewPng(image, options.preview, error) != OutputResult::Ok) {
            std::fprintf(stderr, "qarn build: %s\n", error.c_str());
            return Exit::NotWritten;
        }
        std::printf("Wrote the preview %s (%d x %d pixels)\n", options.preview.c_str(), image.width, image.height);
    }
    return Exit::Ok;
}

} // namespace

void addBuildCommand(CLI::App& app, Exit* exitStatus)
{
    auto options = std::make_shared<BuildOptions>();
    CLI::App* cmd = app.add_subcommand("build", "Build an elevation grid from a map picture and save it as an "
                                                "ESRI ArcInfo ASCII grid (1201 x 1201) with its build data report");
    addPictureOptions(*cmd, options->picture, options->colourSet);
    cmd->add_option("--min", options->min, "Minimum elevation in whole metres (0 or more): the lowest colour's height")
        ->required()
        ->check(NOT_AN_OPTION);
    cmd->add_option("--interval", options->interval, "Contour interval in whole metres (more than 0)")
        ->required()
        ->check(NOT_AN_OPTION);
    CLI::Option* output = cmd->add_option("--output", options->output,
                                          "Grid file name; the report is named after it with -Build_Data.txt in "
                                          "place of .asc (default: the picture's name with -arcinfo-ascii.asc)")
                              ->check(NOT_AN_OPTION);
    cmd->add_option("--preview", options->preview,
                    "Also write a shaded-relief picture of the saved heights as PNG (flat areas in blue)")
        ->check(NOT_AN_OPTION);
    cmd->footer("Example:\n  qarn build hills.bmp --colour-set system --min 100 --interval 20 --output hills.asc\n"
                "  writes hills.asc and hills-Build_Data.txt, both or neither. The map data file\n"
                "  QarnSizer_MAP_Data.xdt is read from the picture's folder. No result is written over the\n"
                "  picture, the map data file, another result or anything but a regular file.\n"
                "Exit status: 0 built; 2 command line or entry refused (also heights too large, a result\n"
                "  over an input); 3 picture cannot be opened; 4 picture not valid; 5 colour error;\n"
                "  6 out of memory; 7 height values file failed; 8 result file (or the preview) not written.");
    cmd->callback([options, output, exitStatus] {
        options->outputGiven = output->count() > 0;
        *exitStatus = runBuildCommand(*options);
    });
}

} // namespace qarn
