#include "forge/output/save_file.h"

#include <cerrno>
#include <cstring>

#include "common/atomic_file.h"
#include "forge/output/output_result.h"

namespace qarn {

std::string saveFailureText(const std::string& path, const std::string& reason)
{
    return "Cannot save " + path + ": " + reason;
}

OutputResult writeTemporary(AtomicFile& file, const std::function<OutputResult(std::FILE*)>& write,
                            std::string& error)
{
    error.clear();
    if (file.open() != FileResult::Ok) {
        error = saveFailureText(file.targetPath(), file.error());
        return OutputResult::FileFailed;
    }
    errno = 0;
    const OutputResult code = write(file.stream());
    if (code != OutputResult::Ok) {
        // The writer failed inside the C stream; its errno says why.
        std::string reason = describe(code);
        if (errno != 0)
            reason += std::string(": ") + std::strerror(errno);
        error = saveFailureText(file.targetPath(), reason);
        file.discard();
    }
    return code;
}

OutputResult saveFileAtomically(const std::string& path, const std::function<OutputResult(std::FILE*)>& write,
                                std::string& error)
{
    AtomicFile file(path);
    if (const OutputResult code = writeTemporary(file, write, error); code != OutputResult::Ok)
        return code;
    if (file.commit() != FileResult::Ok) {
        error = saveFailureText(path, file.error());
        return OutputResult::FileFailed;
    }
    return OutputResult::Ok;
}

} // namespace qarn
