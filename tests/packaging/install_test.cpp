// The palette written at build time, and `cmake --install` of this build into
// a temporary prefix, with the installed qarn run on the installed sample.
#include <gtest/gtest.h>

#include "tests/support/support.h"

using namespace qarn_test;

TEST(Packaging, PaletteHoldsTheSystemColoursInOrder)
{
    EXPECT_EQ(readFile(QARN_BINARY_DIR "/packaging/qarn-system-colours.gpl"),
              readFile(testData("packaging/qarn-system-colours.gpl")));
}

TEST(Packaging, InstallsProgramsMenuEntriesAndTheSampleThatQarnBuilds)
{
    TempDir prefix;
    const fs::path at = prefix.path();
    const CommandRun install = runIn(at, "'" CMAKE_COMMAND_PATH "' --install '" QARN_BINARY_DIR "' --prefix .");
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    for (const char* file : {"share/qarn/sample-map.bmp", "share/qarn/QarnSizer_MAP_Data.xdt"})
        EXPECT_EQ(readFile(at / file), readFile(fs::path(QARN_SOURCE_DIR) / "examples" / fs::path(file).filename()));
    EXPECT_EQ(readFile(at / "share/qarn/qarn-system-colours.gpl"),
              readFile(testData("packaging/qarn-system-colours.gpl")));
#ifdef QARN_WITH_WINDOWS
    // Each menu entry starts an installed program and shows an installed icon.
    for (const std::string name : {"qarnforge", "qarnsizer", "qarnpainter"}) {
        const std::string entry = readFile(at / ("share/applications/" + name + ".desktop"));
        const std::size_t exec = entry.find("\nExec=") + 6;
        EXPECT_TRUE(fs::exists(at / "bin" / entry.substr(exec, entry.find_first_of(" \n", exec) - exec))) << name;
        EXPECT_NE(entry.find("\nIcon=" + name + "\n"), std::string::npos) << name;
        EXPECT_TRUE(fs::exists(at / ("share/icons/hicolor/32x32/apps/" + name + ".png"))) << name;
    }
#endif
    const CommandRun version = runIn(at, "bin/qarn --version");
    EXPECT_EQ(version.out, "qarn " QARN_VERSION "\n");
    const CommandRun build = runIn(at / "share/qarn", "../../bin/qarn build sample-map.bmp --colour-set system "
                                                      "--min 100 --interval 20 --output ../../map.asc "
                                                      "--preview ../../map.png");
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(build.out, "Built a grid of 45 rows x 70 columns, heights 141 to 401 m; wrote ../../map.asc and "
                         "../../map-Build_Data.txt\nWrote the preview ../../map.png (560 x 360 pixels)\n");
    // The preview is a PNG of that size (its header chunk holds width and height).
    EXPECT_EQ(readFile(at / "map.png").substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x02\x30\0\0\x01\x68", 24));
}
