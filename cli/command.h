#pragma once

#include <CLI/CLI.hpp>

// Each subcommand registers itself on the application and stores, when it
// runs, the process exit status in *exitStatus (0 success, non-zero failure).
void addBuildCommand(CLI::App& app, int* exitStatus);
void addSizeCommand(CLI::App& app, int* exitStatus);
