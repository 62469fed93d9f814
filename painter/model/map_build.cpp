#include "painter/model/map_build.h"

#include "common/private_folder.h"
#include "forge/extract/build_messages.h"

namespace qarn {

GridBuild buildGridFromMap(const BlockMap& map, const std::optional<MapData>& mapData, const BuildRequest& request,
                           const std::string& chosenName)
{
    const PrivateFolder folder;
    BlockMap built = map;
    built.mapData = mapData;
    const std::string picture = folder.path() + "/map.bmp";
    std::string error;
    if (folder.path().empty() || saveMapPicture(built, picture, error) != OutputResult::Ok) {
        GridBuild build;
        build.outcome.result = ExtractResult::TempFileFailed;
        build.outcome.messages.push_back(messageForBuildResult(ExtractResult::TempFileFailed, false));
        return build;
    }
    BuildRequest fromFolder = request;
    fromFolder.bmpFilePath = picture;
    fromFolder.colourSet = map.colourSet;
    return buildGridFiles(fromFolder, chosenName);
}

} // namespace qarn
