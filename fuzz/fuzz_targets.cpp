#include "fuzz/fuzz_targets.h"

#include <unistd.h>

#include <cstdlib>

FuzzEntryPoint findFuzzEntryPoint(std::string_view name)
{
    if (name == "bmp_reader")
        return fuzzBmpReader;
    if (name == "extraction")
        return fuzzExtraction;
    if (name == "map_data_file")
        return fuzzMapDataFile;
    if (name == "table_text")
        return fuzzTableText;
    if (name == "grid_build")
        return fuzzGridBuild;
    return nullptr;
}

std::string fuzzScratchPath(const char* stem)
{
    std::string dir;
    if (const char* chosen = std::getenv("QARN_FUZZ_SCRATCH"); chosen && *chosen)
        dir = chosen;
    else if (::access("/dev/shm", W_OK) == 0)
        dir = "/dev/shm"; // memory-backed: a file per run costs next to nothing
    else
        dir = "/tmp";
    return dir + "/" + stem + "-" + std::to_string(::getpid());
}
