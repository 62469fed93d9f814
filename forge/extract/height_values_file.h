#pragma once

#include <cstdio>
#include <string>

namespace qarn {

// The height values file of one build, written and read back through one
// stream. It is never opened through a symbolic link or onto anything but a
// regular file, and it is held under an exclusive lock from creation to
// removal, so a second build using the same path waits instead of mixing its
// heights with ours. Errors: open() returns false (the build's "Can not open
// file" case); the object owns the stream and releases the lock when it goes.
class HeightValuesFile {
public:
    HeightValuesFile() = default;
    ~HeightValuesFile();
    HeightValuesFile(const HeightValuesFile&) = delete;
    HeightValuesFile& operator=(const HeightValuesFile&) = delete;

    // Creates or empties the file at `path`, waiting for the lock.
    bool open(const std::string& path);
    // Read and write stream; rewind() it before reading back.
    std::FILE* stream() const { return file_; }
    // Removes the file while the lock is still held.
    void remove();

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

} // namespace qarn
