#include "cli/command.h"

#include <cstdio>

void addSizeCommand(CLI::App& app, int* exitStatus)
{
    CLI::App* cmd = app.add_subcommand("size", "Compute the picture size for a planned map");
    cmd->callback([exitStatus] {
        std::fputs("qarn size: not available yet\n", stderr);
        *exitStatus = 1;
    });
}
