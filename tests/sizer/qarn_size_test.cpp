// Runs the built qarn program; its path comes from the build (QARN_PATH).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/run_command.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;

namespace {

using QarnRun = qarn_test::CommandRun;

// Runs `qarn size <args>` with `dir` as the working directory.
QarnRun qarnSize(const TempDir& dir, const std::string& args)
{
    return qarn_test::runIn(dir.path(), "'" QARN_PATH "' size " + args);
}

bool exists(const TempDir& dir, const char* name) { return std::filesystem::exists(dir.path() / name); }

} // namespace

TEST(QarnSize, PrintsTheResultsTabForTheSystemSet)
{
    TempDir dir;
    const QarnRun run = qarnSize(dir, "--width 1000 --height 800 --colour-set system");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Entered Map Height was : 800 (10's m)\n"
                       "Entered Map Width was : 1000 (10's m)\n"
                       "Resulting Map Height (approximate) : 8340 m\n"
                       "Resulting Map Width (approximate) : 10200 m\n"
                       "Pixel Height for the Map : 900\n"
                       "Pixel Width for the Map : 1100\n"
                       "Pixel Height for the Map with User Colour Set :\n"
                       "Pixel Width for the Map with User Colour Set :\n");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(QarnSize, WritesTheExitFilesForTheUserSet)
{
    TempDir dir;
    const QarnRun run = qarnSize(dir, "--width 40 --height=5000 --colour-set user --write");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Pixel Height for the Map with User Colour Set : 5410\n"), std::string::npos);
    EXPECT_NE(run.out.find("Resulting Map Height (approximate) : 50090 m\n"), std::string::npos);
    EXPECT_EQ(readFile(dir.path() / "QarnSizer_MAP_Data.xdt"),
              std::string("\x88\x13\x00\x00\x28\x00\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40", 16));
    EXPECT_NE(readFile(dir.path() / "QarnSizer_Data.txt").find("          100 pixels Wide\n         5410 pixels High\n"),
              std::string::npos);
}

TEST(QarnSize, RejectedEntriesPrintTheWindowsMessage)
{
    const struct {
        const char* args;
        const char* err;
    } rows[] = {
        {"--width 5001 --height 5000 --colour-set system",
         "qarn size: Width Value Error\nWidth is greater than 5000.\n"
         "Width is entered as 10's of meters not full meters\nCorrect the values to continue\n"},
        {"--width 1000 --height 800",
         "qarn size: Elevation Colour Set not established\n"
         "The Elevation Colour Set to be used has not been selected.\nMake the appropiate selection to continue\n"},
        {"--width -5 --height 800 --colour-set user",
         "qarn size: Width and/or Height Value Errors\n"
         "Width or Height are either equal to ZERO or less than ZERO.\nCorrect the values to continue\n"},
        {"--width 214748365 --height 214748365 --colour-set user",
         "qarn size: Width and Height Value Errors\nWidth and Height are both greater than 5000.\n"
         "Width and Height are in 10's of meters not full meters\nCorrect the values to continue\n"},
    };
    for (const auto& row : rows) {
        TempDir dir;
        const QarnRun run = qarnSize(dir, row.args);
        EXPECT_EQ(run.status, 1) << row.args;
        EXPECT_EQ(run.out, "") << row.args;
        EXPECT_EQ(run.err, row.err) << row.args;
    }
}

TEST(QarnSize, WriteAfterARejectedEntryIsTheWindowsExit)
{
    TempDir dir;
    const QarnRun run = qarnSize(dir, "--width 6000 --height 100 --colour-set system --write");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readFile(dir.path() / "QarnSizer_MAP_Data.xdt").substr(0, 8),
              std::string("\x64\x00\x00\x00\x70\x17\x00\x00", 8));
    EXPECT_NE(readFile(dir.path() / "QarnSizer_Data.txt").find("Original map size Width  : 60000 meters\n"),
              std::string::npos);

    TempDir none;
    const QarnRun zero = qarnSize(none, "--width 0 --height 100 --colour-set system --write");
    EXPECT_EQ(zero.status, 1);
    EXPECT_TRUE(std::filesystem::is_empty(none.path()));
}

TEST(QarnSize, AFileThatCannotBeWrittenIsNamedAndTheOtherIsWritten)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "QarnSizer_MAP_Data.xdt");
    const QarnRun run = qarnSize(dir, "--width 1000 --height 800 --colour-set system --write");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("qarn size: File Not Written\nThe file QarnSizer_MAP_Data.xdt could not be written:\n"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(exists(dir, "QarnSizer_Data.txt"));
}

TEST(QarnSize, HelpAndUsageErrors)
{
    TempDir dir;
    const QarnRun help = qarnSize(dir, "--help");
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"--width", "--height", "--colour-set", "--write", "Examples:",
                             "qarn size --width 1000 --height 800 --colour-set system"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_NE(qarnSize(dir, "--width 10 --height 10 --colour-set blue").status, 0);
    EXPECT_NE(qarnSize(dir, "--height 10 --colour-set user").status, 0);
}
