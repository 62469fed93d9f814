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

FileResult commitAll(const std::vector<AtomicFile*>& files)
{
    for (AtomicFile* file : files)
        if (const FileResult finished = file->finish(); finished != FileResult::Ok)
            return finished;
    // Keep each target's earlier file under a spare name until the last is
    // in place, so a failure puts every one committed so far back.
    struct Earlier {
        bool existed = false;
        bool backedUp = false;
        std::string backup;
    };
    std::vector<Earlier> earlier(files.size());
    const auto forget = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            if (earlier[i].backedUp)
                ::unlink(earlier[i].backup.c_str());
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = files[i]->targetPath();
        Earlier& kept = earlier[i];
        kept.existed = ::access(target.c_str(), F_OK) == 0;
        if (i + 1 < files.size()) {
            kept.backup = temporaryPattern(target);
            const int fd = ::mkstemp(kept.backup.data());
            if (fd >= 0) {
                ::close(fd);
                ::unlink(kept.backup.c_str());
                kept.backedUp = ::link(target.c_str(), kept.backup.c_str()) == 0;
            }
        }
        if (const FileResult moved = files[i]->commit(); moved != FileResult::Ok) {
            for (std::size_t j = i; j-- > 0;) {
                if (earlier[j].backedUp)
                    ::rename(earlier[j].backup.c_str(), files[j]->targetPath().c_str());
                else if (!earlier[j].existed)
                    ::unlink(files[j]->targetPath().c_str());
            }
            if (kept.backedUp)
                ::unlink(kept.backup.c_str());
            return moved;
        }
    }
    forget(files.size());
    return FileResult::Ok;
}

FileResult commitBoth(AtomicFile& first, AtomicFile& second)
{
    return commitAll({&first, &second});
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
