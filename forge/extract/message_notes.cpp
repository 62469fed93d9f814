#include "forge/extract/message_notes.h"

#include "common/map_data_file.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/build_messages.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace qarn {

namespace {

// 945054 as "945,054", as the README writes byte counts.
std::string grouped(std::uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

// The box says "possibly ran out of memory"; say what the path really is.
std::string cannotOpenNote(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path), error);
    if (!fs::exists(status))
        return "There is no file " + path + ": check the name and the folder.";
    if (fs::is_directory(status))
        return path + " is a folder, not a picture.";
    if (!fs::is_regular_file(status))
        return path + " is not a regular file (a FIFO or a device), so it is not read.";
    return path + " cannot be read: check its permissions.";
}

std::string cutShortNote(const std::string& path)
{
    const BmpLength length = measureBmpLength(path);
    if (!length.cutShort)
        return {};
    if (length.inHeaders)
        return "The file ends at byte " + grouped(length.fileBytes) + ", inside its headers: it was cut short.";
    return "The file ends at byte " + grouped(length.fileBytes) + "; a " + std::to_string(length.width) + " x " +
           std::to_string(length.height) + " " + std::to_string(length.bitCount) + "-bit picture needs " +
           grouped(length.neededBytes) + " bytes: it was cut short.";
}

} // namespace

std::string buildStopNote(const std::string& picturePath, ExtractResult result, bool colourError)
{
    if (colourError)
        return "BLUE1 (0,128,192) in the box's list is the flat-area colour and is allowed; the other reserved "
               "colours stop the build.";
    switch (result) {
    case ExtractResult::CannotOpenBmp:
        return cannotOpenNote(picturePath);
    case ExtractResult::ReadError:
        return cutShortNote(picturePath);
    case ExtractResult::UnsupportedBmp:
    case ExtractResult::BadHeader:
        return describeBmpRefusal(picturePath, result);
    default:
        return {};
    }
}

std::string contourIntervalNote(std::int32_t value)
{
    if (value == 0)
        return "The Contour Interval must be more than 0: 0 is refused as well as negative values.";
    return {};
}

std::string mapDataMissingNote(const std::string& picturePath)
{
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(std::filesystem::path(picturePath), error);
    return "Looked for " + mapDataPathFor(error ? picturePath : whole.lexically_normal().string()) +
           ": make it with qarn size --width W --height H --colour-set system|user --write (W and H in tens of "
           "metres) or with QarnSizer's File > Exit, and put it beside the picture.";
}

} // namespace qarn
