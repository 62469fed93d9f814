#pragma once

#include <cstdio>
#include <memory>

namespace qarn {

// An open C stream that is closed when the handle goes; release() hands the
// stream back for a close whose result matters (a file just written).
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace qarn
