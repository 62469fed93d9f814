#include "cli/command.h"

#include <cstdio>

void addBuildCommand(CLI::App& app, int* exitStatus)
{
    CLI::App* cmd = app.add_subcommand("build", "Build an elevation grid from a map picture");
    cmd->callback([exitStatus] {
        std::fputs("qarn build: not available yet\n", stderr);
        *exitStatus = 1;
    });
}
