#pragma once

#include <CLI/CLI.hpp>

// Each subcommand registers itself on the application and stores, when it
// runs, the process exit status in *exitStatus (0 success, non-zero failure).
void addBuildCommand(CLI::App& app, int* exitStatus);
void addSizeCommand(CLI::App& app, int* exitStatus);

// Statuses both commands share: a command line qarn cannot use (unknown or
// repeated option, missing value, bad choice) or an entry the window would
// refuse; a result file that could not be written.
inline constexpr int EXIT_USAGE = 2;
inline constexpr int EXIT_NOT_WRITTEN = 8;

// For options that take a value: an option name where the value should be
// ("--min --interval 20") means the value is missing.
inline const CLI::Validator NOT_AN_OPTION(
    [](std::string& value) { return value.rfind("--", 0) == 0 ? "a value is missing before " + value : std::string(); },
    "", "value");
