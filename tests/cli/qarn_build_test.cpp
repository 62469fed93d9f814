// Runs the built qarn program (QARN_PATH) on the bundled sample and on broken pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/bmp_writer.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace qarn_test;

namespace {

const fs::path SAMPLE_DIR = fs::path(QARN_SOURCE_DIR) / "examples";

CommandRun qarnBuild(const TempDir& dir, const std::string& args)
{
    return runIn(dir.path(), "'" QARN_PATH "' build " + args);
}

} // namespace

TEST(QarnBuild, ConvertsTheSampleMapWithItsMapData)
{
    TempDir dir;
    fs::copy(SAMPLE_DIR / "sample-map.bmp", dir.path() / "sample-map.bmp");
    fs::copy(SAMPLE_DIR / "QarnSizer_MAP_Data.xdt", dir.path() / "QarnSizer_MAP_Data.xdt");
    const CommandRun run =
        qarnBuild(dir, "sample-map.bmp --colour-set system --min 100 --interval 20 --preview relief.png");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "the map data file is beside the picture: no warning";
    EXPECT_EQ(run.out.rfind("Built a grid of 45 rows x 70 columns, heights ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("sample-map-arcinfo-ascii.asc and sample-map-arcinfo-ascii-Build_Data.txt"),
              std::string::npos)
        << run.out;
    EXPECT_FALSE(fs::exists(dir.path() / "hightvals.dat"));
    const std::string report = readFile(dir.path() / "sample-map-arcinfo-ascii-Build_Data.txt");
    EXPECT_NE(report.find("\tMap Width in 10\x92s m  :     600\n"), std::string::npos);
    EXPECT_NE(report.find("\tMap Height in 10\x92s m :     400\n"), std::string::npos);
    EXPECT_GT(fs::file_size(dir.path() / "sample-map-arcinfo-ascii.asc"), 1201u * 1201u * 2u);
    EXPECT_EQ(readFile(dir.path() / "relief.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST(QarnBuild, WarnsWithoutMapDataAndNamesOutputAfterTheChosenName)
{
    TempDir dir;
    fs::copy(SAMPLE_DIR / "sample-map.bmp", dir.path() / "map.bmp");
    const CommandRun run = qarnBuild(dir, "map.bmp --colour-set system --min 0 --interval 5 --output hills");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.rfind("Can not find file:\nThe program can not locate the file QarnSizer_MAP_Data.xdt\n", 0),
              0u)
        << run.err;
    EXPECT_TRUE(fs::exists(dir.path() / "hills.asc"));
    EXPECT_NE(readFile(dir.path() / "hills-Build_Data.txt").find("was missing or not provided"), std::string::npos);
}

struct Failure {
    const char* args;
    int status;
    const char* firstLine;
};

void PrintTo(const Failure& f, std::ostream* os)
{
    *os << f.args;
}

class QarnBuildFailure : public testing::TestWithParam<Failure> {};

TEST_P(QarnBuildFailure, PrintsCaptionAndTextAndExitsWithItsStatus)
{
    TempDir dir;
    writeBmp(dir.path() / "map.bmp", solidBmp(30, 20, rgb(0, 132, 33)));
    writeBmp(dir.path() / "odd.bmp", solidBmp(30, 20, rgb(1, 2, 3)));
    writeFile(dir.path() / "text.bmp", "just text");
    const CommandRun run = qarnBuild(dir, GetParam().args);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    // The extraction's own diagnostic may come first ("Error opening source file: ...").
    EXPECT_NE(run.err.find(GetParam().firstLine), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(dir.path() / "map-arcinfo-ascii.asc"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, QarnBuildFailure,
    testing::Values(Failure{"map.bmp --colour-set system --min -5 --interval 20", 2, "Minimum Elevation Height:\n"},
                    Failure{"map.bmp --colour-set system --min ' ' --interval 20", 2, "Minimum Elevation Height:\n"},
                    Failure{"map.bmp --colour-set system --min 10 --interval 0", 2, "Contour Interval:\n"},
                    Failure{"map.bmp --colour-set system --min 2000000000 --interval 100000000", 2,
                            "Heights Too Large:\n"},
                    Failure{"none.bmp --colour-set system --min 10 --interval 5", 3, "Can not find file:\n"},
                    Failure{"text.bmp --colour-set system --min 10 --interval 5", 4, "File Not Valid:\n"},
                    Failure{"odd.bmp --colour-set system --min 10 --interval 5", 5, "Colour Error in BMP file:\n"}));

TEST(QarnBuild, HelpExplainsEveryOptionWithAnExample)
{
    TempDir dir;
    const CommandRun run = runIn(dir.path(), "'" QARN_PATH "' build --help");
    EXPECT_EQ(run.status, 0);
    for (const char* word : {"--colour-set", "--min", "--interval", "--output", "Example:", "Exit status"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    const CommandRun bad = runIn(dir.path(), "'" QARN_PATH "' build map.bmp --colour-set purple --min 1 --interval 1");
    EXPECT_NE(bad.status, 0);
}
