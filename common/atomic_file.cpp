#include "common/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

const char* describe(FileResult result)
{
    switch (result) {
    case FileResult::Ok:
        return "done";
    case FileResult::NoName:
        return "no file name";
    case FileResult::CannotOpen:
        return "cannot open the file";
    case FileResult::TooShort:
        return "the file is too short";
    case FileResult::CannotCreate:
        return "cannot create the file";
    case FileResult::WriteFailed:
        return "cannot write the file";
    case FileResult::CannotReplace:
        return "cannot replace the file";
    }
    return "unknown file error";
}

FileResult AtomicFile::fail(FileResult result)
{
    const int code = errno;
    error_ = std::string(describe(result)) + ": " + std::strerror(code);
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
    temp_ = temporaryPattern(target_);
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        const int code = errno;
        temp_.clear();
        errno = code;
        return fail(FileResult::CannotCreate);
    }
    // mkstemp makes the file private; give it the permissions fopen would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "w");
    if (!file_) {
        const int code = errno;
        ::close(fd);
        errno = code;
        return fail(FileResult::CannotCreate);
    }
    return FileResult::Ok;
}

FileResult AtomicFile::commit()
{
    if (!file_) {
        if (error_.empty())
            error_ = "the file was not opened";
        return FileResult::WriteFailed;
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
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(FileResult::CannotReplace);
    temp_.clear();
    return FileResult::Ok;
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
