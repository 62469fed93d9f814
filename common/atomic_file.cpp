#include "common/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qarn {

namespace {

// What a temporary's name adds to its target's: hidden, and recognisable as
// this program's, so one left by a killed run can be found and removed.
constexpr char kTempPrefix = '.';
constexpr const char* kTempSuffix = ".qarn-";
constexpr std::size_t kTempRandom = 6; // mkstemp's XXXXXX

// The folder part (with its slash) and the name part of a path.
std::pair<std::string, std::string> splitPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return {path.substr(0, nameStart), path.substr(nameStart)};
}

// ".<name>.qarn-", the name cut short where the whole would pass the longest
// name a folder entry may have: a target whose own name fits must not fail
// for its temporary's.
std::string temporaryStem(const std::string& name)
{
    const std::size_t room = NAME_MAX - 1 - std::strlen(kTempSuffix) - kTempRandom;
    return kTempPrefix + name.substr(0, room) + kTempSuffix;
}

std::string temporaryPattern(const std::string& target)
{
    const auto [folder, name] = splitPath(target);
    return folder + temporaryStem(name) + std::string(kTempRandom, 'X');
}

// Removes the temporaries of `target` that no run holds: those of a run that
// was killed while saving. A run writing one holds a lock on it.
void removeStaleTemporaries(const std::string& target)
{
    const auto [folder, name] = splitPath(target);
    const std::string stem = temporaryStem(name);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName.size() != stem.size() + kTempRandom || entryName.compare(0, stem.size(), stem) != 0)
            continue;
        const std::string path = folder + entryName;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

AtomicFile::AtomicFile(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFile::~AtomicFile() { discard(); }

FileResult AtomicFile::fail(FileResult result)
{
    const int code = errno;
    // A folder or device in the file's place is the whole reason.
    error_ = result == FileResult::NotRegular ? describe(result)
                                              : std::string(describe(result)) + ": " + std::strerror(code);
    discard();
    return result;
}

FileResult AtomicFile::open()
{
    discard();
    error_.clear();
    if (target_.empty()) {
        errno = ENOENT;
        return fail(FileResult::NoName);
    }
    // Never over a FIFO, device or folder; a file replaced keeps its permissions.
    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        errno = EINVAL;
        return fail(FileResult::NotRegular);
    }
    removeStaleTemporaries(target_);
    temp_ = temporaryPattern(target_);
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        const int code = errno;
        temp_.clear();
        errno = code;
        return fail(FileResult::CannotCreate);
    }
    // Held until the temporary is renamed or removed, through a descriptor of
    // its own since the stream's is closed first: it tells other runs this one
    // is not stale.
    lockFd_ = ::dup(fd);
    if (lockFd_ >= 0)
        ::flock(lockFd_, LOCK_EX | LOCK_NB);
    // mkstemp makes the file private; give it the permissions of the file it
    // replaces, or those fopen would give a new one.
    if (replacing) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "w");
    if (!file_) {
        const int code = errno;
        ::close(fd);
        errno = code;
        return fail(FileResult::CannotCreate);
    }
    return FileResult::Ok;
}

FileResult AtomicFile::finish()
{
    if (!file_) {
        if (temp_.empty() && error_.empty())
            error_ = "the file was not opened";
        return temp_.empty() ? FileResult::WriteFailed : FileResult::Ok;
    }
    const bool writeFailed = std::ferror(file_) != 0;
    if (writeFailed) {
        errno = errno ? errno : EIO;
        return fail(FileResult::WriteFailed);
    }
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        return fail(FileResult::WriteFailed);
    std::FILE* f = std::exchange(file_, nullptr);
    if (std::fclose(f) != 0)
        return fail(FileResult::WriteFailed);
    return FileResult::Ok;
}

FileResult AtomicFile::commit()
{
    if (const FileResult finished = finish(); finished != FileResult::Ok)
        return finished;
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(FileResult::CannotReplace);
    temp_.clear();
    releaseLock();
    return FileResult::Ok;
}

FileResult commitBoth(AtomicFile& first, AtomicFile& second)
{
    if (const FileResult finished = first.finish(); finished != FileResult::Ok)
        return finished;
    if (const FileResult finished = second.finish(); finished != FileResult::Ok)
        return finished;
    // Keep the first target's earlier file under a spare name until the
    // second is in place, so a failure puts it back.
    const bool existed = ::access(first.targetPath().c_str(), F_OK) == 0;
    std::string backup = temporaryPattern(first.targetPath());
    const int fd = ::mkstemp(backup.data());
    bool backedUp = false;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(backup.c_str());
        backedUp = ::link(first.targetPath().c_str(), backup.c_str()) == 0;
    }
    if (const FileResult moved = first.commit(); moved != FileResult::Ok) {
        if (backedUp)
            ::unlink(backup.c_str());
        return moved;
    }
    const FileResult moved = second.commit();
    if (moved != FileResult::Ok) {
        if (backedUp)
            ::rename(backup.c_str(), first.targetPath().c_str());
        else if (!existed)
            ::unlink(first.targetPath().c_str());
    } else if (backedUp) {
        ::unlink(backup.c_str());
    }
    return moved;
}

void AtomicFile::discard()
{
    const int saved = errno;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    releaseLock();
    errno = saved;
}

void AtomicFile::releaseLock()
{
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

} // namespace qarn
