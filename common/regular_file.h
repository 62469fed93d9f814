#pragma once

#include <string>

#include "common/file_handle.h"
#include "common/file_result.h"

namespace qarn {

// Opening an input that must be a regular file: a FIFO, device or folder is
// refused at once (NotRegular) instead of being waited on or read.
// Errors: an empty handle with the reason in `result`; the caller owns the
// stream otherwise.
FileHandle openRegularFile(const std::string& path, FileResult& result);

} // namespace qarn
