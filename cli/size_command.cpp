// qarn size: the calculator's "Get Results" press, and optionally its exit
// files, without a window.
#include "cli/command.h"
#include "cli/exit_status.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/map_data_file.h"
#include "common/rich_text.h"
#include "sizer/get_results.h"
#include "sizer/size_entry_checks.h"
#include "sizer/sizer_texts.h"

namespace qarn {

namespace {

struct SizeOptions {
    std::string width;
    std::string height;
    std::string colourSet;
    bool write = false;
};

void printMessage(const char* caption, const std::string& text)
{
    std::fprintf(stderr, "qarn size: %s\n%s", caption, plainText(text).c_str());
}

// One line of the Results tab: its label, then the value (nothing when the
// window would leave the field empty).
void printResult(const char* label, const std::string& value, const char* unit = "")
{
    std::string line = label;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    if (!value.empty()) {
        line += ' ' + value;
        if (*unit)
            line += std::string(" ") + unit;
    }
    std::printf("%s\n", line.c_str());
}

Exit runSize(const SizeOptions& options)
{
    using namespace sizer_text;
    std::optional<ColourSet> colourSet;
    if (options.colourSet == "system")
        colourSet = ColourSet::System;
    else if (options.colourSet == "user")
        colourSet = ColourSet::User;

    RunDetails details;
    Exit status = Exit::Ok;
    const SizeCheck check = getResults(details, options.width, options.height, colourSet);
    if (check != SizeCheck::Passed) {
        const SizeCheckMessage message = sizeCheckMessage(check);
        printMessage(message.caption, message.text);
        const std::string note = sizeCheckNote(check, options.width, options.height);
        if (!note.empty())
            std::fprintf(stderr, "%s\n", note.c_str());
        status = Exit::Usage;
    } else {
        const MapSizeCalculation& calc = details.calculation;
        const bool user = colourSet == ColourSet::User;
        printResult(ENTERED_HEIGHT_LABEL, options.height, TENS_OF_METRES_UNIT);
        printResult(ENTERED_WIDTH_LABEL, options.width, TENS_OF_METRES_UNIT);
        printResult(RESULT_HEIGHT_LABEL, std::to_string(calc.approxHeightMetres), METRES_UNIT);
        printResult(RESULT_WIDTH_LABEL, std::to_string(calc.approxWidthMetres), METRES_UNIT);
        printResult(PIXEL_HEIGHT_LABEL, std::to_string(calc.pixelHeight));
        printResult(PIXEL_WIDTH_LABEL, std::to_string(calc.pixelWidth));
        printResult(USER_PIXEL_HEIGHT_LABEL, user ? std::to_string(details.userPixelHeight) : "");
        printResult(USER_PIXEL_WIDTH_LABEL, user ? std::to_string(details.userPixelWidth) : "");
    }
    std::fflush(stdout);

    if (!options.write)
        return status;
    // Unlike the window's File > Exit, a refused entry writes nothing: a
    // script must not lose a good map data file to a mistyped size.
    if (!exitWritesFiles(details)) {
        std::fputs("qarn size: no files written: width and height must both be above 0\n", stderr);
        return status;
    }
    if (status != Exit::Ok) {
        std::fputs("qarn size: no files written: the entries were refused\n", stderr);
        return status;
    }
    const std::vector<ExitFileFailure> failures = writeExitFiles(details);
    for (const ExitFileFailure& failure : failures)
        printMessage(FILE_NOT_WRITTEN_CAPTION, fillText(FILE_NOT_WRITTEN_TEXT, {failure.fileName, failure.reason}));
    for (const char* name : {RUN_DETAILS_FILE_NAME, MAP_DATA_FILE_NAME}) {
        bool failed = false;
        for (const ExitFileFailure& failure : failures)
            failed = failed || failure.fileName == name;
        if (!failed)
            std::fprintf(stderr, "qarn size: wrote %s\n", name);
    }
    return failures.empty() ? status : Exit::NotWritten;
}

} // namespace

void addSizeCommand(CLI::App& app, Exit* exitStatus)
{
    auto options = std::make_shared<SizeOptions>();
    CLI::App* cmd = app.add_subcommand(
        "size", "Compute the picture size for a planned map, as QarnSizer's \"Get Results\" does");
    cmd->footer("Prints the values of QarnSizer's Results tab. A rejected entry (or command line) prints the\n"
                "window's message to stderr and exits with status 2; a file that cannot be written gives status 8.\n\n"
                "Examples:\n"
                "  qarn size --width 1000 --height 800 --colour-set system\n"
                "  qarn size --width 40 --height 5000 --colour-set user --write\n");
    cmd->add_option("--width", options->width,
                    "Map width in tens of metres, 1 to 5000 (1000 = 10 km); text that is not a whole number "
                    "counts as 0, as in the window")
        ->required()
        ->check(NOT_AN_OPTION);
    cmd->add_option("--height", options->height, "Map height in tens of metres, 1 to 5000 (800 = 8 km)")
        ->required()
        ->check(NOT_AN_OPTION);
    cmd->add_option("--colour-set", options->colourSet,
                    "Elevation colour set the picture will use: system (built in) or user (painted into the "
                    "picture's top 10 rows, 10 pixels more height); without it the entry is rejected as in the "
                    "window")
        ->check(CLI::IsMember({"system", "user"}));
    cmd->add_flag("--write", options->write,
                  "Also write QarnSizer_Data.txt and QarnSizer_MAP_Data.xdt into the working directory, as "
                  "File > Exit does; a rejected entry writes nothing");
    cmd->callback([options, exitStatus] { *exitStatus = runSize(*options); });
}

} // namespace qarn
