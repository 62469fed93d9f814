// The qarn program over the cases of tests/cli/build_cases.tsv and size_cases.tsv.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/support/support.h"

using namespace qarn_test;

namespace {

const char* const MAP_DATA = "QarnSizer_MAP_Data.xdt";

// An expected text or file: "@name" is a file under tests/, else the text itself.
std::string expectedText(const std::string& field)
{
    return field.rfind('@', 0) == 0 ? readFile(testData(field.substr(1))) : field;
}

// The test's folder, named differently each run, as "DIR".
std::string withFolderAsDir(std::string text, const fs::path& folder)
{
    const std::string name = fs::canonical(folder).string();
    for (std::size_t at; (at = text.find(name)) != std::string::npos;)
        text.replace(at, name.size(), "DIR");
    // A path inside it is written with the system's separator.
    for (std::size_t at; (at = text.find("DIR\\")) != std::string::npos;)
        text.replace(at, 4, "DIR/");
    return text;
}

// How a grid file whose map rows are `rows` ends: each row padded with zeros to 1201 values.
std::string gridEnd(const std::string& rows)
{
    std::string end;
    std::istringstream in(rows);
    for (std::string line; std::getline(in, line); end += "\n") {
        std::istringstream words(line);
        int n = 0;
        for (std::string word; words >> word; ++n)
            end += " " + word;
        for (; n < 1201; ++n)
            end += " 0";
    }
    return end;
}

// Every "written=expected" pair: a .grid's map rows, "-" no such file, else a file's bytes.
void expectFiles(const fs::path& dir, const std::string& list, const std::string& name)
{
    std::istringstream pairs(list);
    for (std::string pair; pairs >> pair;) {
        const std::string written = pair.substr(0, pair.find('=')), expected = pair.substr(pair.find('=') + 1);
        const std::string got = readFile(dir / written);
        if (expected == "-") {
            EXPECT_FALSE(fs::exists(dir / written)) << name << ": " << written;
        } else if (expected.ends_with(".grid")) {
            EXPECT_TRUE(got.ends_with(gridEnd(readFile(testData(expected))))) << name << ": " << written;
            EXPECT_EQ(std::count(got.begin(), got.end(), '\n'), 1207) << name << ": " << written;
        } else {
            EXPECT_TRUE(got == readFile(testData(expected))) << name << ": " << written << " differs from " << expected;
        }
    }
}

} // namespace

TEST(QarnBuild, EveryCase)
{
    for (Row row : readTable("cli/build_cases.tsv")) {
        row.resize(8);
        TempDir dir;
        const std::string setup = row[2];
        const fs::path folder = dir.path() / (setup.find("pics") != std::string::npos ? "pics" : "");
        fs::create_directories(folder);
        if (row[1] != "-")
            fs::copy_file(fs::path(QARN_SOURCE_DIR) / row[1], folder / "map.bmp");
        if (setup.find("xdt") != std::string::npos)
            fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA, folder / MAP_DATA);
        if (setup.find("block") != std::string::npos)
            fs::create_directory(dir.path() / "hightvals.dat");
        if (setup.find("reportdir") != std::string::npos)
            fs::create_directory(dir.path() / "out-Build_Data.txt");
#ifdef _WIN32
        // FIFOs, a limit on file sizes and sh's '' are Linux's; NUL is Windows' /dev/null.
        if (setup.find("fifo") != std::string::npos || setup.find("full") != std::string::npos ||
            row[3].find("''") != std::string::npos)
            continue;
        for (std::string* field : {&row[3], &row[6]})
            if (const std::size_t at = field->find("/dev/null"); at != std::string::npos)
                field->replace(at, 9, "NUL");
#else
        if (setup.find("fifo") != std::string::npos)
            ::mkfifo((folder / "map.bmp").c_str(), 0600);
#endif
        // "full": writes beyond 512 bytes fail, as on a full disk.
        const std::string limit = setup.find("full") != std::string::npos ? "trap '' XFSZ; ulimit -f 1; " : "";
        const CommandRun run = runIn(dir.path(), limit + shellQuoted(QARN_PATH) + " build " + row[3]);
        EXPECT_EQ(run.status, std::stoi(row[4])) << row[0] << "\n" << run.err;
        EXPECT_EQ(run.out, expectedText(row[5])) << row[0];
        EXPECT_EQ(withFolderAsDir(run.err, dir.path()), expectedText(row[6])) << row[0];
        expectFiles(dir.path(), row[7], row[0]);
        // qarn keeps its height values file in a folder of its own.
        EXPECT_EQ(fs::exists(dir.path() / "hightvals.dat"), setup.find("block") != std::string::npos) << row[0];
    }
}

TEST(QarnSize, EveryCase)
{
    for (Row row : readTable("cli/size_cases.tsv")) {
        row.resize(7);
        TempDir dir;
        if (row[1] == "block")
            fs::create_directory(dir.path() / "QarnSizer_MAP_Data.xdt");
        if (row[1] == "xdt")
            fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA, dir.path() / MAP_DATA);
        const CommandRun run = runIn(dir.path(), shellQuoted(QARN_PATH) + " size " + row[2]);
        EXPECT_EQ(run.status, std::stoi(row[3])) << row[0];
        EXPECT_EQ(run.out, row[4]) << row[0];
        EXPECT_EQ(run.err, row[5]) << row[0];
        expectFiles(dir.path(), row[6], row[0]);
    }
}

// An outside reader of ESRI ASCII grids sees the size, the corner, the cell size and the map's values.
TEST(QarnBuild, GdalReadsTheGridFile)
{
    if (std::system("command -v gdalinfo >/dev/null && command -v gdallocationinfo >/dev/null") != 0)
        GTEST_SKIP() << "gdalinfo / gdallocationinfo not installed (package gdal-bin)";
    TempDir dir;
    fs::copy_file(testData("cli/build/small.bmp"), dir.path() / "map.bmp");
    ASSERT_EQ(
        runIn(dir.path(), shellQuoted(QARN_PATH) + " build map.bmp --colour-set system --min 100 --interval 10").status,
        0);
    const std::string info = runIn(dir.path(), "gdalinfo map-arcinfo-ascii.asc").out;
    for (const char* part : {"Size is 1201, 1201", "Pixel Size = (0.000833000000000,-0.000833000000000)",
                             "Lower Left  (   9.0000000,   1.0000000)"})
        EXPECT_NE(info.find(part), std::string::npos) << part << "\n" << info;
    // Top-left, top-right and bottom-right of the map, and outside it.
    for (const auto& [pixel, line, value] : {std::tuple{0, 1197, "101"}, {4, 1197, "117"}, {4, 1200, "118"},
                                             {5, 1200, "0"}})
        EXPECT_EQ(runIn(dir.path(), "gdallocationinfo -valonly map-arcinfo-ascii.asc " + std::to_string(pixel) + " " +
                                        std::to_string(line)).out, std::string(value) + "\n") << pixel << "," << line;
}
