#include "forge/output/build_data_report.h"

#include <charconv>
#include <string_view>

#include "forge/grid/ascii_grid_header.h"
#include "forge/output/output_result.h"

namespace qarn {

namespace {

// "10's" with the Windows-1252 right single quotation mark.
constexpr std::string_view kTens = "10\x92s";

// printf's "%7d" and "%7.3f" in the C locale, whatever locale is set.
std::string rightAligned(std::string_view digits)
{
    constexpr std::size_t width = 7;
    std::string text(digits.size() < width ? width - digits.size() : 0, ' ');
    text += digits;
    return text;
}

std::string padded(int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return rightAligned(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

std::string padded3(double value)
{
    char digits[400]; // room for any double in fixed notation
    const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 3).ptr;
    return rightAligned(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

} // namespace

std::string buildDataReportText(bool mapDataPresent, const MapData& mapData)
{
    const std::string tens(kTens);
    std::string text = "\n";
    if (mapDataPresent) {
        text += "\tValues to use in the 'Map Production Information' dialog.\n"
                "\t========================================================\n\n"
                "Bottom Left Corner values:\n";
        text += "\tLongitude (seconds) :" + padded(MAP_CORNER_LONGITUDE_SECONDS) + "\n";
        text += "\tLatitude (seconds)  :" + padded(MAP_CORNER_LATITUDE_SECONDS) + "\n";
        text += "\n"
                "The X and Y values for the 8 digit UTM\n"
                "\tThese can be any suitable value\n"
                "\n"
                "Dimensions of the Map\n";
        text += "\tMap Width in " + tens + " m  : " + padded(mapData.widthTens) + "\n";
        text += "\tMap Height in " + tens + " m : " + padded(mapData.heightTens) + "\n";
        text += "\n"
                "Map Construction values\n";
        text += "\tAlpha (mils) : " + padded3(MAP_ALPHA_MILS) + "\n";
        text += "\tMeters per arc sec(m/sec) : " + padded3(mapData.metresPerArcSecond) + "\n";
        text += "\n";
    } else {
        text += "\tThe QarnSizer_MAP_Data.xdt data file was missing or not provided.\n"
                "\tMany data values can not be provided.\n"
                "\t\n"
                "\tValues to use in the 'Map Production Information' dialog.\n"
                "\t========================================================\n\n"
                "Bottom Left Corner values:\n"
                "\tLongitude (seconds) : .......\n"
                "\tLatitude (seconds)  : .......\n"
                "\n"
                "The X and Y values for the 8 digit UTM\n"
                "\tThese can be any suitable value\n"
                "\n"
                "Dimensions of the Map\n";
        text += "\tMap Width in " + tens + " m  : .......\n";
        text += "\tMap Height in " + tens + " m : .......\n";
        text += "\n"
                "Map Construction values\n"
                "\tAlpha (mils) : .......\n"
                "\tMeters per arc sec(m/sec) : .......\n"
                "\n";
    }
    text += "Grid Zone Designators\n"
            "\tThese can be any suitable value\n"
            "\n";
    return text;
}

OutputResult writeBuildDataReport(std::FILE* out, bool mapDataPresent, const MapData& mapData)
{
    const std::string text = buildDataReportText(mapDataPresent, mapData);
    return std::fwrite(text.data(), 1, text.size(), out) == text.size() ? OutputResult::Ok : OutputResult::WriteFailed;
}

} // namespace qarn
