#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/file_result.h"

namespace qarn {

// A file written through a temporary beside its target and renamed over the
// target only by commit(), so a failed write never leaves a partial file or
// damages an earlier file of the same name. The temporary is hidden and named
// ".<name>.qarn-XXXXXX"; one of the same target left by a killed run (no run
// holds it) is removed when the target is next opened. The target must be a regular file
// or not exist; a file replaced keeps its permission bits.
// Errors: open() and commit() return a FileResult and error() says why in
// words (the code's words and the system's message); the object owns the temporary and removes it unless
// commit() succeeded.
class AtomicFile {
public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in the target's directory.
    FileResult open();
    // The open temporary, or nullptr before open() / after commit().
    std::FILE* stream() const { return file_; }
    // Flushes and closes the temporary, which stays until commit() or discard().
    FileResult finish();
    // Finishes and renames the temporary over the target.
    FileResult commit();
    // Drops the temporary; the target is left as it was.
    void discard();

    const std::string& targetPath() const { return target_; }
    const std::string& error() const { return error_; }

private:
    FileResult fail(FileResult result);
    void dropClaim();

    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    int claim_ = -1; // marks the temporary as this run's until it is renamed or removed
    std::string error_;
};

// Both files or neither: each temporary is finished, then both are renamed
// over their targets; when the second cannot be, the first target is put back
// as it was (removed when it did not exist). The failing file's error() says why.
FileResult commitBoth(AtomicFile& first, AtomicFile& second);

// The same for any number of files: all of them or none, earlier targets put
// back in reverse order when one cannot be renamed.
FileResult commitAll(const std::vector<AtomicFile*>& files);

} // namespace qarn
