#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Everything that differs between operating systems, behind plain C++:
// platform_posix.cpp on Linux, platform_windows.cpp on Windows. Paths are
// UTF-8. Errors: a failed call returns false, nullptr or an empty string and
// leaves the reason in errno, as the C library would.
namespace qarn::platform {

// The characters that end a folder's name in a path.
#ifdef _WIN32
inline constexpr const char* FOLDER_SEPARATORS = "/\\";
#else
inline constexpr const char* FOLDER_SEPARATORS = "/";
#endif

inline bool isFolderSeparator(char c)
{
    for (const char* s = FOLDER_SEPARATORS; *s; ++s)
        if (*s == c)
            return true;
    return false;
}

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
// How many characters createUniqueFile and keepSpareName add.
inline constexpr std::size_t UNIQUE_ENDING = 6;

// Marks a file this run has created and writes as in use until the claim is
// dropped, so removeUnclaimed in another run leaves it; -1 when no claim was
// needed or could be taken. Dropping -1 does nothing.
int claimFile(std::FILE* file);
void dropClaim(int claim);
// Removes a regular file (never through a link) that no run claims; false
// when it is claimed, not a regular file, or could not be removed.
bool removeUnclaimed(const std::string& path);
// The names in a folder, without "." and ".."; empty when it cannot be read.
std::vector<std::string> folderEntries(const std::string& folder);

// Creates or empties a scratch file for reading and writing, never through a
// link or onto anything but a regular file, and holds an exclusive lock on it
// until the stream is closed: a second opener waits. A file removed by its
// previous holder while we waited is not taken; the one at the path is.
std::FILE* openLockedScratchFile(const std::string& path);

// Reads one byte without taking the stream's lock, for a stream one thread
// owns: a full map's heights are millions of bytes read one at a time.
inline int readByteUnlocked(std::FILE* stream)
{
#ifdef _WIN32
    return _getc_nolock(stream);
#else
    return getc_unlocked(stream);
#endif
}

// A stream's position and a move to another, in 64 bits on every system
// (pictures may claim more than 2 GB); -1 and false on failure.
std::int64_t tell(std::FILE* stream);
bool seek(std::FILE* stream, std::int64_t offset, int origin);

// A command-line program's arguments after its name, as UTF-8, last first
// (the order CLI11 takes them in); its standard output and error write
// bytes as given, with no line-end translation.
std::vector<std::string> programArguments(int argc, char** argv);

} // namespace qarn::platform
