#include "common/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qarn {

FileHandle openRegularFile(const std::string& path, FileResult& result)
{
    // Non-blocking, so that opening a FIFO with no writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result = FileResult::CannotOpen;
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        result = FileResult::NotRegular;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FileHandle file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
        result = FileResult::CannotOpen;
        return nullptr;
    }
    result = FileResult::Ok;
    return file;
}

} // namespace qarn
