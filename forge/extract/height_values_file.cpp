#include "forge/extract/height_values_file.h"

#include "common/platform.h"

namespace qarn {

HeightValuesFile::~HeightValuesFile()
{
    if (file_)
        std::fclose(file_); // also releases the lock
}

bool HeightValuesFile::open(const std::string& path)
{
    path_ = path;
    file_ = platform::openLockedScratchFile(path);
    return file_ != nullptr;
}

void HeightValuesFile::remove()
{
    platform::removeFile(path_);
}

} // namespace qarn
