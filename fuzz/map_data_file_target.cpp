#include "fuzz/fuzz_targets.h"

#include "common/map_data_file.h"

#include <cstdio>
#include <cstring>

// Any file may sit beside the picture under the map data file's name. A file
// of 16 bytes or more gives exactly its first 16 bytes back; a shorter one
// counts as missing and must leave the caller's values alone.

namespace {

std::string checkPathFor(const std::string& picturePath)
{
    const std::string got = mapDataPathFor(picturePath);
    const std::string name = MAP_DATA_FILE_NAME;
    if (got.size() < name.size() || got.compare(got.size() - name.size(), name.size(), name) != 0)
        return "map data path does not end in the file name";
    const std::string dir = got.substr(0, got.size() - name.size());
    if (!dir.empty() && dir.back() != '/')
        return "map data path does not put the name after a slash";
    if (picturePath.compare(0, dir.size(), dir) != 0
        || picturePath.find('/', dir.size()) != std::string::npos)
        return "map data path is not the picture's directory";
    return {};
}

} // namespace

std::string fuzzMapDataFile(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzzScratchPath("qarn-fuzz-map-data") + ".xdt";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return "cannot write the scratch file " + path;
        const bool written = std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written)
            return "cannot write the scratch file " + path;
    }
    const MapData before{123456789, -42, 0.5};
    MapData read = before;
    const bool ok = readMapDataFile(path, read);
    std::remove(path.c_str());

    if (size < MAP_DATA_FILE_SIZE) {
        if (ok)
            return "a file of " + std::to_string(size) + " bytes was accepted";
        if (encodeMapData(read) != encodeMapData(before))
            return "a rejected file changed the values";
    } else {
        if (!ok)
            return "a file of " + std::to_string(size) + " bytes was refused";
        if (encodeMapData(read) != std::string(reinterpret_cast<const char*>(data), MAP_DATA_FILE_SIZE))
            return "values read differ from the file's first 16 bytes";
    }
    return checkPathFor(std::string(reinterpret_cast<const char*>(data), size));
}
