// The platform calls on Linux and other POSIX systems.
#include "common/platform.h"

#include <dirent.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qarn::platform {

std::string makePrivateFolder(const std::string& prefix)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

void removeFolderTree(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

PathKind inspect(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true, S_ISREG(info.st_mode), static_cast<unsigned>(info.st_mode & 07777)};
}

std::FILE* openRegularForReading(const std::string& path, bool& notRegular)
{
    notRegular = false;
    // Non-blocking, so that opening a FIFO with no writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        notRegular = true;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

std::FILE* createUniqueFile(std::string& path, const PathKind& like)
{
    std::string name = path + "XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return nullptr;
    path = name;
    // mkstemp makes the file private; give it the permissions of the file it
    // replaces, or those fopen would give a new one.
    if (like.exists) {
        ::fchmod(fd, like.permissions);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int code = errno;
        ::close(fd);
        errno = code;
    }
    return file;
}

bool flushToDisk(std::FILE* file)
{
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool keepSpareName(const std::string& target, std::string& spare)
{
    std::string name = spare + "XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(name.c_str());
    if (::link(target.c_str(), name.c_str()) != 0)
        return false;
    spare = name;
    return true;
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

std::size_t longestName()
{
    return NAME_MAX;
}

// A claim is a second descriptor of the file holding a lock: the stream's own
// is closed before the file is renamed, the claim stays until then.
int claimFile(std::FILE* file)
{
    const int fd = ::dup(::fileno(file));
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void dropClaim(int claim)
{
    if (claim >= 0)
        ::close(claim);
}

bool removeUnclaimed(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool removed = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                         ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::FILE* openLockedScratchFile(const std::string& path)
{
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0)
            return nullptr;
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || ::flock(fd, LOCK_EX) != 0) {
            ::close(fd);
            return nullptr;
        }
        // The build that held the lock may have removed the file meanwhile;
        // then the lock is on a file nobody else will see: start again.
        struct stat named {};
        if (::lstat(path.c_str(), &named) != 0 || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        std::FILE* file = nullptr;
        if (::ftruncate(fd, 0) != 0 || !(file = ::fdopen(fd, "w+"))) {
            ::close(fd);
            return nullptr;
        }
        return file;
    }
}

std::int64_t tell(std::FILE* stream)
{
    return ::ftello(stream);
}

bool seek(std::FILE* stream, std::int64_t offset, int origin)
{
    return ::fseeko(stream, static_cast<off_t>(offset), origin) == 0;
}

std::vector<std::string> programArguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = argc - 1; i >= 1; --i)
        arguments.emplace_back(argv[i]);
    return arguments;
}

} // namespace qarn::platform
