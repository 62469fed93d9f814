#include "forge/output/grid_files.h"

#include <cerrno>
#include <cstring>

#include "common/private_folder.h"

namespace qarn {

GridBuild buildGridFiles(BuildRequest request, const std::string& chosenName)
{
    GridBuild build;
    const PrivateFolder folder;
    if (folder.path().empty()) {
        build.folderError = std::strerror(errno);
        build.outcome.result = ExtractResult::TempFileFailed;
        build.outcome.messages.push_back(messageForBuildResult(ExtractResult::TempFileFailed, false));
        return build;
    }
    request.heightsFilePath = folder.path() + "/" + HEIGHT_VALUES_FILE_NAME;
    build.outcome = runBuild(request);
    if (build.outcome.built())
        build.saved = saveBuiltGrid(build.outcome.grid, chosenName, build.outcome.mapDataRead, build.outcome.mapData);
    return build;
}

} // namespace qarn
