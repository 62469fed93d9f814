#include "sizer/run_details_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/map_data_file.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;

namespace {

const char* const WORKED_EXAMPLE_REPORT = "\n"
                                          "   BMP details for the requested map size\n"
                                          "\n"
                                          "Original map size Width  : 10000 meters\n"
                                          "                  Height : 8000 meters\n"
                                          "\n"
                                          "Map size for Tesselkit:\n"
                                          "                  Width  : 1000 (10's m)\n"
                                          "                  Height : 800 (10's m)\n"
                                          "\n"
                                          " The map ONLY is to be:\n"
                                          "         1100 pixels Wide\n"
                                          "          900 pixels High\n"
                                          "\n"
                                          " The map with a USER defined colour set is to be:\n"
                                          "         1100 pixels Wide\n"
                                          "          910 pixels High\n"
                                          "\n"
                                          " The map defined above will be approximately:\n"
                                          "     Width  : 10200 meters\n"
                                          "     Height : 8340 meters\n"
                                          "\n"
                                          "=============================================\n";

RunDetails workedExample()
{
    RunDetails d;
    d.widthTens = 1000;
    d.heightTens = 800;
    d.widthMetres = 10000;
    d.heightMetres = 8000;
    d.calculation.reset();
    d.calculation.setInput(10000, 8000, 1);
    d.calculation.compute();
    d.userPixelWidth = d.calculation.pixelWidth;
    d.userPixelHeight = d.calculation.pixelHeight + 10;
    return d;
}

std::string reportText(const RunDetails& details)
{
    TempDir dir;
    const std::string path = dir.file("report.txt");
    std::FILE* f = std::fopen(path.c_str(), "w");
    EXPECT_TRUE(writeRunDetailsReport(f, details));
    std::fclose(f);
    return readFile(path);
}

} // namespace

TEST(RunDetailsReport, WorkedExampleByteForByte)
{
    EXPECT_EQ(reportText(workedExample()), WORKED_EXAMPLE_REPORT);
}

TEST(RunDetailsReport, MetresBeyondThirtyTwoBitsArePrintedWhole)
{
    RunDetails d;
    d.widthTens = 214748365;
    d.widthMetres = 2147483650LL;
    d.heightMetres = 10;
    EXPECT_NE(reportText(d).find("Width  : 2147483650 meters\n"), std::string::npos);
}

TEST(ExitFiles, GateNeedsBothMetreValuesAboveZero)
{
    RunDetails d;
    EXPECT_FALSE(exitWritesFiles(d));
    d.widthMetres = 10;
    EXPECT_FALSE(exitWritesFiles(d));
    d.heightMetres = 10;
    EXPECT_TRUE(exitWritesFiles(d));
    d.heightMetres = -10;
    EXPECT_FALSE(exitWritesFiles(d));
}

TEST(ExitFiles, WritesReportAndMapDataIntoTheDirectory)
{
    TempDir dir;
    EXPECT_TRUE(writeExitFiles(workedExample(), dir.path().string()).empty());
    EXPECT_EQ(readFile(dir.path() / "QarnSizer_Data.txt"), WORKED_EXAMPLE_REPORT);
    EXPECT_EQ(readFile(dir.path() / "QarnSizer_MAP_Data.xdt"),
              std::string("\x20\x03\x00\x00\xE8\x03\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40", 16));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(ExitFiles, OneBlockedFileDoesNotStopTheOther)
{
    for (const char* blocked : {RUN_DETAILS_FILE_NAME, MAP_DATA_FILE_NAME}) {
        TempDir dir;
        std::filesystem::create_directory(dir.path() / blocked);
        const std::vector<ExitFileFailure> failures = writeExitFiles(workedExample(), dir.path().string());
        ASSERT_EQ(failures.size(), 1u) << blocked;
        EXPECT_EQ(failures[0].fileName, blocked);
        EXPECT_FALSE(failures[0].reason.empty());
        const bool reportBlocked = std::string(blocked) == RUN_DETAILS_FILE_NAME;
        EXPECT_EQ(readFile(dir.path() / (reportBlocked ? MAP_DATA_FILE_NAME : RUN_DETAILS_FILE_NAME)).size(),
                  reportBlocked ? 16u : std::string(WORKED_EXAMPLE_REPORT).size());
        // Nothing left behind but the good file and the directory in the way.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    }
}
