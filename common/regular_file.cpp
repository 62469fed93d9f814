#include "common/regular_file.h"

#include "common/platform.h"

namespace qarn {

FileHandle openRegularFile(const std::string& path, FileResult& result)
{
    bool notRegular = false;
    FileHandle file(platform::openRegularForReading(path, notRegular));
    result = file ? FileResult::Ok : notRegular ? FileResult::NotRegular : FileResult::CannotOpen;
    return file;
}

} // namespace qarn
