// qarn check: reads a map picture as a build does and says, block by block,
// what would stop the build and what builds but looks like a mistake.
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/result_files.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "forge/extract/build_messages.h"
#include "forge/extract/message_notes.h"
#include "forge/extract/picture_check.h"
#include "forge/output/marked_picture.h"
#include "forge/output/output_result.h"
#include "common/map_data_file.h"

namespace qarn {

namespace {

struct CheckOptions {
    std::string picture;
    std::string colourSet;
    std::string min;
    std::string interval;
    std::string marked;
    bool all = false;
};

Exit runCheck(const CheckOptions& options)
{
    PictureCheckRequest request;
    request.bmpFilePath = options.picture;
    request.colourSet = options.colourSet == "user" ? ColourSet::User : ColourSet::System;
    if (!options.min.empty() || !options.interval.empty()) {
        request.withHeights = true;
        if (!confirmEntries(options.min, options.interval, request.minElevation, request.contourInterval))
            return Exit::Usage;
    }

    if (!options.marked.empty()) {
        const std::string clash = resultClash(
            {{"picture", options.picture}, {"map data file", mapDataPathFor(options.picture)}},
            {{"marked picture", options.marked}});
        if (!clash.empty()) {
            std::fprintf(stderr, "qarn check: %s\n", clash.c_str());
            return Exit::Usage;
        }
    }
    // Without a marked picture to draw, the picture is read a block row at a time.
    request.drawable = !options.marked.empty();
    const PictureCheck check = checkPicture(request);
    if (check.result != ExtractResult::Ok) {
        UserMessage stop = messageForBuildResult(check.result, false);
        stop.note = buildStopNote(request.bmpFilePath, check.result, false);
        printMessage(stop);
        return exitForResult(check.result, false);
    }
    for (const std::string& line : checkReportLines(check, options.all ? SIZE_MAX : CHECK_LINES_PER_KIND, options.all))
        std::printf("%s\n", line.c_str());

    if (!options.marked.empty()) {
        const PreviewImage image = renderMarkedPicture(check);
        std::string error;
        if (writePreviewPng(image, options.marked, error) != OutputResult::Ok) {
            std::fprintf(stderr, "qarn check: %s\n", error.c_str());
            return Exit::NotWritten;
        }
        std::printf("Wrote the marked picture %s (%d x %d pixels)\n", options.marked.c_str(), image.width,
                    image.height);
    }
    return check.colourError ? Exit::ColourError : Exit::Ok;
}

} // namespace

void addCheckCommand(CLI::App& app, Exit* exitStatus)
{
    auto options = std::make_shared<CheckOptions>();
    CLI::App* cmd = app.add_subcommand("check", "Check a map picture before building it: list the blocks that stop "
                                                "the build and those that look like mistakes");
    addPictureOptions(*cmd, options->picture, options->colourSet);
    CLI::Option* min = cmd->add_option("--min", options->min,
                                       "Minimum elevation in whole metres: cliffs are then told in metres, not rungs")
                           ->check(NOT_AN_OPTION);
    CLI::Option* interval =
        cmd->add_option("--interval", options->interval, "Contour interval in whole metres")->check(NOT_AN_OPTION);
    min->needs(interval);
    interval->needs(min);
    cmd->add_option("--marked", options->marked,
                    "Also write the picture as PNG with every finding outlined: errors in red, warnings in blue")
        ->check(NOT_AN_OPTION);
    cmd->add_flag("--all", options->all,
                  "List every finding, and every pair of neighbouring blocks of a cliff, without the limit of 50 "
                  "lines of a kind");
    cmd->footer("Prints one line a finding, errors first, then the counts. Errors are blocks of a reserved colour or\n"
                "  of a colour not in the set, which stop a build. Warnings: blocks of more than one colour (only\n"
                "  the pixel named is read), neighbouring blocks more than one rung apart (one line a cliff: steep\n"
                "  pairs whose higher blocks touch and whose lower blocks touch join; --all lists each pair), a\n"
                "  picture size other than the map data file beside it was made for, and pixels outside every\n"
                "  block.\n"
                "  Blocks count from row 1, column 1 at the map's top left; pixels from 0, 0 at the picture's.\n"
                "Example:\n  qarn check hills.bmp --colour-set system --marked hills-marked.png\n"
                "Exit status: 0 the picture builds (warnings allowed); 5 colour error; otherwise as qarn build:\n"
                "  2 command line, --min or --interval refused; 3 picture cannot be opened; 4 picture not valid; 6 out of memory;\n"
                "  8 the marked picture not written.");
    cmd->callback([options, exitStatus] { *exitStatus = runCheck(*options); });
}

} // namespace qarn
