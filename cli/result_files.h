#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qarn {

// Where qarn may write its results: never over one of its inputs, over
// another result of the same run, or over anything but a regular file.
// Pure checks on names and the file system; no errors beyond the answer.

// A file the run reads or writes, for telling clashes apart.
struct NamedFile {
    const char* role; // "picture", "grid file", ...
    std::string path;
};

// A path given as UTF-8, as the file system library takes it on every
// system (on Windows a plain string would be read in the code page).
std::filesystem::path pathFromUtf8(const std::string& path);

// Why the results may not be written where asked, in words naming the clash;
// empty when they may.
std::string resultClash(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& results);

} // namespace qarn
