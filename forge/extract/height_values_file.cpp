#include "forge/extract/height_values_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qarn {

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

HeightValuesFile::~HeightValuesFile()
{
    if (file_)
        std::fclose(file_); // also releases the lock
}

bool HeightValuesFile::open(const std::string& path)
{
    path_ = path;
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || ::flock(fd, LOCK_EX) != 0) {
            ::close(fd);
            return false;
        }
        // The build that held the lock may have removed the file meanwhile;
        // then the lock is on a file nobody else will see: start again.
        struct stat named {};
        if (::lstat(path.c_str(), &named) != 0 || !sameFile(opened, named)) {
            ::close(fd);
            continue;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        if (::ftruncate(fd, 0) != 0 || !(file_ = ::fdopen(fd, "w+"))) {
            ::close(fd);
            return false;
        }
        return true;
    }
}

void HeightValuesFile::remove()
{
    ::unlink(path_.c_str());
}

} // namespace qarn
