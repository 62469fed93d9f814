// qarn build: a map picture to an ASCII grid file and its build data report,
// the same files the builder window writes after "Build It" and Save As of the
// unedited table.
#include "cli/command.h"
#include "cli/exit_status.h"

#include <algorithm>
#include <memory>
#include <cstdio>
#include <string>

#include "forge/extract/build_inputs.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/colour_height_set.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "forge/output/save_results.h"

namespace {

// Colour errors listed after the window's message; qarn check lists them all.
constexpr std::size_t BUILD_ERROR_LINES = 10;

struct BuildOptions {
    std::string picture;
    std::string colourSet;
    std::string min;
    std::string interval;
    std::string output;
    std::string preview;
};


// Below the window's message: the first blocks of a colour error, or what a
// refused picture uses that is not read.
void printWhereItStopped(const BuildRequest& request, const BuildOutcome& outcome)
{
    if (outcome.colourError) {
        const PictureCheck check = checkPicture({request.bmpFilePath, request.colourSetChoice, true,
                                                 request.minElevation, request.contourInterval});
        for (std::size_t i = 0; i < check.findings.size() && i < BUILD_ERROR_LINES; ++i)
            if (check.findings[i].severity == Severity::Error)
                std::fprintf(stderr, "%s\n", findingLine(check.findings[i]).c_str());
        std::fputs("qarn check lists them all\n", stderr);
    }
    const std::string refusal = describeBmpRefusal(request.bmpFilePath, outcome.result);
    if (!refusal.empty())
        std::fprintf(stderr, "%s\n", refusal.c_str());
}

int runBuildCommand(const BuildOptions& options)
{
    BuildRequest request;
    request.bmpFilePath = options.picture;
    request.colourSetChoice = options.colourSet == "user" ? COLOUR_SET_USER : COLOUR_SET_SYSTEM;
    if (auto refused = checkMinElevation(options.min, request.minElevation)) {
        printMessage(*refused);
        return EXIT_BAD_INPUT;
    }
    if (auto refused = checkContourInterval(options.interval, request.contourInterval)) {
        printMessage(*refused);
        return EXIT_BAD_INPUT;
    }

    BuildOutcome outcome = runBuild(request);
    if (!outcome.built()) {
        printMessage(outcome.messages.back());
        printWhereItStopped(request, outcome);
        return exitForResult(outcome.result, outcome.colourError);
    }
    if (!outcome.mapDataRead)
        printMessage(mapDataMissingMessage());

    // What the window's table holds and Save copies back: whole metres.
    const std::vector<int> table = truncatedHeights(outcome.grid);
    applyTableValues(outcome.grid, table);
    const std::string chosen = options.output.empty() ? proposedSaveName(options.picture) : options.output;
    const SaveAsResult saved = saveGridAndReport(outcome.grid, chosen, outcome.mapDataRead, outcome.mapData);
    if (saved.result != 0) {
        std::fprintf(stderr, "qarn build: %s\n", saved.error.c_str());
        return EXIT_SAVE_FAILED;
    }
    const auto [lowest, highest] = std::minmax_element(table.begin(), table.end());
    std::printf("Built a grid of %d rows x %d columns, heights %d to %d m; wrote %s and %s\n",
                outcome.grid.rows(), outcome.grid.cols(), *lowest, *highest, saved.gridPath.c_str(),
                saved.reportPath.c_str());
    if (!options.preview.empty()) {
        // The heights as saved (whole metres), so the picture shows what the file holds.
        const int perCell = previewPixelsPerCell(outcome.grid.rows(), outcome.grid.cols());
        const PreviewImage image = renderReliefPreview(outcome.grid, perCell);
        std::string error;
        if (!writePreviewPng(image, options.preview, error)) {
            std::fprintf(stderr, "qarn build: %s\n", error.c_str());
            return EXIT_SAVE_FAILED;
        }
        std::printf("Wrote the preview %s (%d x %d pixels)\n", options.preview.c_str(), image.width, image.height);
    }
    return EXIT_BUILT;
}

} // namespace

void printMessage(const UserMessage& message)
{
    std::fprintf(stderr, "%s:\n%s\n", message.caption.c_str(), plainTextOf(message.text).c_str());
}

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
    cmd->callback([options, exitStatus] { *exitStatus = runBuildCommand(*options); });
}
