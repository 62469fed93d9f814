#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Turns a broken promise reported by an entry point into a crash, so libFuzzer
// keeps the input. Returns 0 (the input is fine) otherwise.
inline int fuzzCheck(const std::string& problem)
{
    if (problem.empty())
        return 0;
    std::fprintf(stderr, "==qarn-fuzz== %s\n", problem.c_str());
    std::abort();
}
