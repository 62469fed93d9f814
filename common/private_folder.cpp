#include "common/private_folder.h"

#include "common/platform.h"

namespace qarn {

PrivateFolder::PrivateFolder() : path_(platform::makePrivateFolder("qarn-")) {}

PrivateFolder::~PrivateFolder()
{
    if (!path_.empty())
        platform::removeFolderTree(path_);
}

} // namespace qarn
