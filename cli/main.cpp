// qarn: the terrain tools' core without a window, for scripts and headless machines.
#include "cli/command.h"
#include "cli/exit_status.h"
#include "common/platform.h"

using namespace qarn;

int main(int argc, char** argv)
{
    CLI::App app{"qarn - converts terrain map pictures into elevation grids, checks and sizes map pictures"};
    app.set_version_flag("--version", "qarn " QARN_VERSION);
    app.require_subcommand(1);
    Exit exitStatus = Exit::Ok;
    addBuildCommand(app, &exitStatus);
    addSizeCommand(app, &exitStatus);
    addCheckCommand(app, &exitStatus);
    addImportCommand(app, &exitStatus);
    try {
        // Usage lines name the program as it was called.
        app.name(argc > 0 ? argv[0] : "qarn");
        app.parse(platform::programArguments(argc, argv));
    } catch (const CLI::ParseError& e) {
        // --help and --version end here with 0; every other refusal of the
        // command line has one status.
        return app.exit(e) == 0 ? 0 : static_cast<int>(Exit::Usage);
    }
    return static_cast<int>(exitStatus);
}
