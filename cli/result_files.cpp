#include "cli/result_files.h"

#include <filesystem>

#include "common/platform.h"

namespace qarn {

namespace {

std::filesystem::path identity(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(pathFromUtf8(path), ignored);
    return canonical.empty() ? pathFromUtf8(path) : canonical;
}

} // namespace

std::filesystem::path pathFromUtf8(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string resultClash(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& results)
{
    for (std::size_t i = 0; i < results.size(); ++i) {
        const NamedFile& result = results[i];
        // The same test the result's writing makes, devices included.
        const platform::PathKind kind = platform::inspect(result.path);
        if (kind.exists && !kind.regular)
            return std::string("the ") + result.role + " " + result.path + " is not a regular file";
        for (const NamedFile& input : inputs)
            if (identity(result.path) == identity(input.path))
                return std::string("the ") + result.role + " " + result.path + " would overwrite the " + input.role +
                       " " + input.path;
        for (std::size_t j = 0; j < i; ++j)
            if (identity(result.path) == identity(results[j].path))
                return std::string("the ") + result.role + " " + result.path + " would overwrite the " +
                       results[j].role + " " + results[j].path;
    }
    return {};
}

} // namespace qarn
