#pragma once

#include <CLI/CLI.hpp>

#include "common/user_message.h"

// Each subcommand registers itself on the application and stores, when it
// runs, the process exit status in *exitStatus (0 success, non-zero failure).
void addBuildCommand(CLI::App& app, int* exitStatus);
void addSizeCommand(CLI::App& app, int* exitStatus);
void addCheckCommand(CLI::App& app, int* exitStatus);

// A window's box as plain lines on standard error: the caption, then the text.
void printMessage(const UserMessage& message);
