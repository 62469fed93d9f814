#include "common/private_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace qarn {

PrivateFolder::PrivateFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qarn-XXXXXX";
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

PrivateFolder::~PrivateFolder()
{
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace qarn
