#include "cli/result_files.h"

#include <filesystem>

namespace qarn {

namespace {

std::filesystem::path identity(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ignored);
    return canonical.empty() ? std::filesystem::path(path) : canonical;
}

} // namespace

std::string resultClash(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& results)
{
    for (std::size_t i = 0; i < results.size(); ++i) {
        const NamedFile& result = results[i];
        std::error_code error;
        const auto status = std::filesystem::status(result.path, error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
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
