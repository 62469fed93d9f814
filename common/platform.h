#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Everything that differs between operating systems, behind plain C++:
// platform_posix.cpp on Linux, platform_windows.cpp on Windows. Paths are
// UTF-8. Errors: a failed call returns false, nullptr or an empty string and
// leaves the reason in errno, as the C library would.
namespace qarn::platform {

// Makes a new folder only this run uses, named `prefix` and a unique ending,
// under the system's folder for temporary files; empty when it cannot.
std::string makePrivateFolder(const std::string& prefix);
// Removes a folder with everything in it; gone or not, no error.
void removeFolderTree(const std::string& path);

// What is at a path now, links followed.
struct PathKind {
    bool exists = false;
    bool regular = false; // false for folders, FIFOs, devices and reserved device names
    unsigned permissions = 0; // the permission bits where the system has them
};
PathKind inspect(const std::string& path);

// Opens a file for reading in binary; never waits on a FIFO or device.
// `notRegular` tells a refusal of something other than a file from a failure to open.
std::FILE* openRegularForReading(const std::string& path, bool& notRegular);

// Creates and opens for writing (binary) a file that did not exist, named
// `path` with a unique ending added; `path` becomes its name. The file gets
// `like`'s permissions when `like` exists, a new file's otherwise.
std::FILE* createUniqueFile(std::string& path, const PathKind& like);
// Writes the stream's buffers and the file's contents through to the disk.
bool flushToDisk(std::FILE* file);
// Puts `from` in `to`'s place in one step, replacing any file there.
bool replaceFile(const std::string& from, const std::string& to);
// A second name for an existing file, made beside it (unique ending added to
// `spare`, which becomes the name), so it can be put back after a replace.
bool keepSpareName(const std::string& target, std::string& spare);
bool removeFile(const std::string& path);
// The longest name one folder entry may have.
std::size_t longestName();

// Creates or empties a scratch file for reading and writing, never through a
// link or onto anything but a regular file, and holds an exclusive lock on it
// until the stream is closed: a second opener waits. A file removed by its
// previous holder while we waited is not taken; the one at the path is.
std::FILE* openLockedScratchFile(const std::string& path);

} // namespace qarn::platform
