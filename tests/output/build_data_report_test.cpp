#include "forge/output/build_data_report.h"

#include <gtest/gtest.h>

#include <clocale>

#include "forge/output/output_result.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;

namespace {

const MapData kExample{1000, 1500, 30.92208078};

// Written out by hand, byte for byte; "\x92" is the Windows-1252 apostrophe.
const std::string kFullForm =
    "\n"
    "\tValues to use in the 'Map Production Information' dialog.\n"
    "\t========================================================\n"
    "\n"
    "Bottom Left Corner values:\n"
    "\tLongitude (seconds) :  32400\n"
    "\tLatitude (seconds)  :   3600\n"
    "\n"
    "The X and Y values for the 8 digit UTM\n"
    "\tThese can be any suitable value\n"
    "\n"
    "Dimensions of the Map\n"
    "\tMap Width in 10\x92" "s m  :    1500\n"
    "\tMap Height in 10\x92" "s m :    1000\n"
    "\n"
    "Map Construction values\n"
    "\tAlpha (mils) :   0.100\n"
    "\tMeters per arc sec(m/sec) :  30.922\n"
    "\n"
    "Grid Zone Designators\n"
    "\tThese can be any suitable value\n"
    "\n";

const std::string kShortForm =
    "\n"
    "\tThe QarnSizer_MAP_Data.xdt data file was missing or not provided.\n"
    "\tMany data values can not be provided.\n"
    "\t\n"
    "\tValues to use in the 'Map Production Information' dialog.\n"
    "\t========================================================\n"
    "\n"
    "Bottom Left Corner values:\n"
    "\tLongitude (seconds) : .......\n"
    "\tLatitude (seconds)  : .......\n"
    "\n"
    "The X and Y values for the 8 digit UTM\n"
    "\tThese can be any suitable value\n"
    "\n"
    "Dimensions of the Map\n"
    "\tMap Width in 10\x92" "s m  : .......\n"
    "\tMap Height in 10\x92" "s m : .......\n"
    "\n"
    "Map Construction values\n"
    "\tAlpha (mils) : .......\n"
    "\tMeters per arc sec(m/sec) : .......\n"
    "\n"
    "Grid Zone Designators\n"
    "\tThese can be any suitable value\n"
    "\n";

} // namespace

TEST(BuildDataReport, BothFormsByteForByte)
{
    TempDir dir;
    std::string error;
    ASSERT_EQ(saveBuildDataReport(dir.file("full.txt"), true, kExample, error), OUTPUT_OK) << error;
    ASSERT_EQ(saveBuildDataReport(dir.file("short.txt"), false, kExample, error), OUTPUT_OK) << error;
    EXPECT_EQ(readFile(dir.file("full.txt")), kFullForm);
    EXPECT_EQ(readFile(dir.file("short.txt")), kShortForm);
}

TEST(BuildDataReport, ShortFormHoldsNoDigitsButThoseOfItsWords)
{
    std::string text = buildDataReportText(false, kExample);
    for (const std::string word : {"10\x92s", "8 digit"})
        for (std::size_t at; (at = text.find(word)) != std::string::npos;)
            text.erase(at, word.size());
    EXPECT_EQ(text.find_first_of("0123456789"), std::string::npos) << text;
}

TEST(BuildDataReport, ValuesAlignAfterTheirColons)
{
    const std::string text = buildDataReportText(true, kExample);
    for (const char* line : {":  32400\n", ":   3600\n", "m  :    1500\n", "m :    1000\n", ":   0.100\n", ":  30.922\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(BuildDataReport, WideValuesPushPastTheField)
{
    const std::string text = buildDataReportText(true, MapData{-2147483647 - 1, 12345678, -1234.5678});
    EXPECT_NE(text.find("m  : 12345678\n"), std::string::npos) << text;
    EXPECT_NE(text.find("m : -2147483648\n"), std::string::npos) << text;
    EXPECT_NE(text.find("(m/sec) : -1234.568\n"), std::string::npos) << text;
}

TEST(BuildDataReport, DecimalCommaLocaleDoesNotReachTheFile)
{
    // The windowed program takes the user's locale; the file must keep its point.
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = current ? current : "C";
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"})
        if ((comma = std::setlocale(LC_NUMERIC, name)))
            break;
    if (!comma)
        GTEST_SKIP() << "no decimal-comma locale (de_DE, fr_FR) installed here";
    const std::string text = buildDataReportText(true, kExample);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(text, kFullForm);
}
