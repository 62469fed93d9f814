#include "common/map_data_file.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "common/atomic_file.h"
#include "common/regular_file.h"
#include "common/platform.h"

namespace qarn {

namespace {

void putLittleEndian(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t getLittleEndian(const unsigned char* in, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

} // namespace

std::string encodeMapData(const MapData& data)
{
    std::string bytes;
    bytes.reserve(MAP_DATA_FILE_SIZE);
    putLittleEndian(bytes, static_cast<std::uint32_t>(data.heightTens), 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(data.widthTens), 4);
    putLittleEndian(bytes, std::bit_cast<std::uint64_t>(data.metresPerArcSecond), 8);
    return bytes;
}

FileResult readMapDataFile(const std::string& path, MapData& out)
{
    FileResult result = FileResult::Ok;
    FileHandle f = openRegularFile(path, result);
    if (!f)
        return result;
    unsigned char bytes[MAP_DATA_FILE_SIZE];
    if (std::fread(bytes, 1, sizeof bytes, f.get()) != sizeof bytes)
        return FileResult::TooShort;
    out.heightTens = static_cast<std::int32_t>(static_cast<std::uint32_t>(getLittleEndian(bytes, 4)));
    out.widthTens = static_cast<std::int32_t>(static_cast<std::uint32_t>(getLittleEndian(bytes + 4, 4)));
    out.metresPerArcSecond = std::bit_cast<double>(getLittleEndian(bytes + 8, 8));
    return FileResult::Ok;
}

FileResult writeMapDataFile(const std::string& path, const MapData& data, std::string& error)
{
    AtomicFile file(path);
    FileResult result = file.open();
    if (result == FileResult::Ok) {
        const std::string bytes = encodeMapData(data);
        std::fwrite(bytes.data(), 1, bytes.size(), file.stream());
        result = file.commit();
    }
    error = file.error();
    return result;
}

std::string mapDataPathFor(const std::string& picturePath)
{
    const std::size_t slash = picturePath.find_last_of(platform::FOLDER_SEPARATORS);
    if (slash == std::string::npos)
        return MAP_DATA_FILE_NAME;
    return picturePath.substr(0, slash + 1) + MAP_DATA_FILE_NAME;
}

} // namespace qarn
