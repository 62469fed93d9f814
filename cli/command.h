#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

#include "cli/exit_status.h"
#include "common/user_message.h"

namespace qarn {

// Each subcommand registers itself on the application and stores, when it
// runs, the process exit status in *exitStatus.
void addBuildCommand(CLI::App& app, Exit* exitStatus);
void addSizeCommand(CLI::App& app, Exit* exitStatus);
void addCheckCommand(CLI::App& app, Exit* exitStatus);
void addImportCommand(CLI::App& app, Exit* exitStatus);

// The picture and its colour set, which build and check both take.
void addPictureOptions(CLI::App& cmd, std::string& picture, std::string& colourSet);

// The minimum elevation and contour interval as "CONFIRM DATA" checks them;
// a refusal prints its box and gives false.
bool confirmEntries(const std::string& min, const std::string& interval, std::int32_t& minElevation,
                    std::int32_t& contourInterval);

// A window's box as plain lines on standard error: the caption, then the text.
void printMessage(const UserMessage& message);

// For options that take a value: an option name where the value should be
// ("--min --interval 20") means the value is missing.
inline const CLI::Validator NOT_AN_OPTION(
    [](std::string& value) { return value.rfind("--", 0) == 0 ? "a value is missing before " + value : std::string(); },
    "", "value");

} // namespace qarn
