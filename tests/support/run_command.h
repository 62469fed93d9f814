#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace qarn_test {

struct CommandRun {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `command` through the shell with `workingDir` as its working directory
// and collects what it printed.
inline CommandRun runIn(const std::filesystem::path& workingDir, const std::string& command)
{
    TempDir capture;
    const std::string outFile = capture.file("out");
    const std::string errFile = capture.file("err");
    const std::string line =
        "cd '" + workingDir.string() + "' && " + command + " > '" + outFile + "' 2> '" + errFile + "'";
    const int raw = std::system(line.c_str());
    CommandRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(outFile);
    run.err = readFile(errFile);
    return run;
}

} // namespace qarn_test
