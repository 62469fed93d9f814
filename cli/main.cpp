// qarn: the terrain tools' core without a window, for scripts and headless machines.
#include "cli/command.h"

int main(int argc, char** argv)
{
    CLI::App app{"qarn - converts terrain map pictures into elevation grids, checks and sizes map pictures"};
    app.set_version_flag("--version", "qarn " QARN_VERSION);
    app.require_subcommand(1);
    int exitStatus = 0;
    addBuildCommand(app, &exitStatus);
    addSizeCommand(app, &exitStatus);
    addCheckCommand(app, &exitStatus);
    CLI11_PARSE(app, argc, argv);
    return exitStatus;
}
