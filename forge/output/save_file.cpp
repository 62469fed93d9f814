#include "forge/output/save_file.h"

#include <cerrno>
#include <cstring>

#include "common/atomic_file.h"
#include "forge/output/output_result.h"

std::string saveFailureText(const std::string& path, const std::string& reason)
{
    return "Cannot save " + path + ": " + reason;
}

int saveFileAtomically(const std::string& path, const std::function<int(std::FILE*)>& write,
                       std::string& error)
{
    error.clear();
    AtomicFile file(path);
    if (!file.open()) {
        error = saveFailureText(path, file.error());
        return OUTPUT_FILE_FAILED;
    }
    errno = 0;
    const int code = write(file.stream());
    if (code != OUTPUT_OK) {
        // The writer failed inside the C stream; its errno says why.
        std::string reason = outputResultText(code);
        if (errno != 0)
            reason += std::string(": ") + std::strerror(errno);
        error = saveFailureText(path, reason);
        return code; // the AtomicFile drops the temporary
    }
    if (!file.commit()) {
        error = saveFailureText(path, file.error());
        return OUTPUT_FILE_FAILED;
    }
    return OUTPUT_OK;
}
