#include "common/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qarn {

namespace {

// The target's name with ".XXXXXX" added, its last part cut short where the
// addition would pass the longest name a folder entry may have: a target whose
// own name fits must not fail for its temporary's.
std::string temporaryPattern(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t room = NAME_MAX - 7;
    std::string pattern = target;
    if (pattern.size() - nameStart > room)
        pattern.resize(nameStart + room);
    return pattern + ".XXXXXX";
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
    temp_ = temporaryPattern(target_);
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        const int code = errno;
        temp_.clear();
        errno = code;
        return fail(FileResult::CannotCreate);
    }
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
    errno = saved;
}

} // namespace qarn
