#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "common/atomic_file.h"
#include "forge/output/output_result.h"

namespace qarn {

// Saves one result file through a temporary that replaces the target only
// when every byte was written, so a failed save keeps an earlier file of that
// name and leaves no partial or temporary file behind.
// Errors: returns the writer's OUTPUT_ code, or OutputResult::FileFailed when the
// file cannot be created or put in place; `error` then names the file and the
// reason. The caller owns nothing afterwards; the stream lives only during `write`.
// Opens the temporary of `file` and writes it; the caller commits it.
OutputResult writeTemporary(AtomicFile& file, const std::function<OutputResult(std::FILE*)>& write,
                            std::string& error);

OutputResult saveFileAtomically(const std::string& path, const std::function<OutputResult(std::FILE*)>& write,
                       std::string& error);

// "Cannot save <path>: <reason>", the one wording of every save failure.
std::string saveFailureText(const std::string& path, const std::string& reason);

} // namespace qarn
