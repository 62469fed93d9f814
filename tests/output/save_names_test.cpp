#include "forge/output/save_names.h"
#include "forge/output/table_text.h"

#include <gtest/gtest.h>

TEST(SaveNames, ChosenNameGivesGridAndReportNames)
{
    struct Case {
        const char* chosen;
        const char* grid;
        const char* report;
    };
    const Case cases[] = {
        {"C:/maps/hills", "C:/maps/hills.asc", "C:/maps/hills-Build_Data.txt"},
        {"C:/maps/hills-arcinfo-ascii.asc", "C:/maps/hills-arcinfo-ascii.asc",
         "C:/maps/hills-arcinfo-ascii-Build_Data.txt"},
        {"map.asc", "map.asc", "map-Build_Data.txt"},
        {"map.ASC", "map.ASC.asc", "map-Build_Data.txt"},
        {"a.asc.dir/b.Asc.asc", "a.dir/b.Asc.asc", "a.dir/b-Build_Data.txt"},
        {".a.ascsc", ".asc.asc", ".asc-Build_Data.txt"}, // one pass: removal does not expose new matches
        {"", ".asc", "-Build_Data.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gridFileNameFor(c.chosen), c.grid) << c.chosen;
        EXPECT_EQ(reportFileNameFor(c.chosen), c.report) << c.chosen;
    }
}

TEST(SaveNames, ProposedNameDropsEveryBmpInAnyCase)
{
    EXPECT_EQ(proposedSaveName("C:/maps/hills.bmp"), "C:/maps/hills-arcinfo-ascii.asc");
    EXPECT_EQ(proposedSaveName("/home/u/x.bmp.d/Hills.BMP"), "/home/u/x.d/Hills-arcinfo-ascii.asc");
    EXPECT_EQ(proposedSaveName("mapbmp"), "mapbmp-arcinfo-ascii.asc");
    const std::string longPath = std::string(300, 'd') + "/" + std::string(300, 'f') + ".bmp";
    EXPECT_EQ(proposedSaveName(longPath), longPath.substr(0, 601) + "-arcinfo-ascii.asc");
}

TEST(TableText, WholeNumbersOnlyAnythingElseIsZero)
{
    struct Case {
        const char* text;
        int height;
    };
    const Case cases[] = {
        {" 125 ", 125},     {"125 ", 125},   {"\t-3\n", -3},   {"-3", -3},          {"+7", 7},
        {"0", 0},           {"12.5", 0},     {"", 0},           {"   ", 0},          {"abc", 0},
        {"12a", 0},         {"1 2", 0},      {"-", 0},          {"+-3", 0},          {"0x10", 0},
        {"2147483647", 2147483647},          {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},  {"99999999999", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tableTextToHeight(c.text), c.height) << '"' << c.text << '"';
}
