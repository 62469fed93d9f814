// Every file qarn writes, in places where writing fails: "qarn build" (grid
// file and build data report) and "qarn size --write" (QarnSizer_Data.txt and
// QarnSizer_MAP_Data.xdt) into a read-only folder, onto a full disk, into a
// folder that is not there, under names too long for the file system, and
// under names with blanks and letters beyond ASCII, which must work. Each
// failure names the file and the reason, keeps the earlier file and leaves no
// temporary behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "failure_places.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using hardening::FailurePlace;
using hardening::Place;
using qarn_test::CommandRun;
using qarn_test::readFile;
using qarn_test::runIn;
using qarn_test::TempDir;

namespace {

const fs::path kExamples = fs::path(QARN_SOURCE_DIR) / "examples";
const std::string kQarn = "'" QARN_PATH "'";

std::vector<std::string> temporariesIn(const fs::path& dir)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        const std::size_t dot = name.rfind('.');
        if ((dot != std::string::npos && dot + 7 == name.size()) || name == "hightvals.dat")
            found.push_back(name);
    }
    return found;
}

// The sample map with its map data, in a folder whose name has blanks and
// letters beyond ASCII, and a working directory of its own.
struct Sample {
    TempDir base;
    TempDir work;
    fs::path picture;
    Sample()
    {
        const fs::path folder = base.path() / "Karten f\xc3\xbcr \xe5\x9c\xb0\xe5\x9b\xb3";
        fs::create_directory(folder);
        picture = folder / "sample map.bmp";
        fs::copy_file(kExamples / "sample-map.bmp", picture);
        fs::copy_file(kExamples / "QarnSizer_MAP_Data.xdt", folder / "QarnSizer_MAP_Data.xdt");
    }
    CommandRun build(const std::string& output) const
    {
        return runIn(work.path(), kQarn + " build '" + picture.string() +
                                      "' --colour-set system --min 100 --interval 20 --output '" + output + "'");
    }
};

const std::string kEarlierGrid = "earlier grid\n";
const std::string kEarlierReport = "earlier report\n";

// One row of the "qarn build" table: where the output goes and what must come of it.
struct BuildCase {
    const char* name;
    Place place;
    std::string chosen;      // the --output name inside the place
    bool gridWritten;        // the grid file ends up new
    bool reportWritten;      // the report ends up new
    int failedFile;          // the file the error must name: 0 none, 1 the grid file, 2 the report
    const char* reason;      // nullptr: the place's own reason
};

std::string gridName(const std::string& chosen)
{
    return chosen.size() > 4 && chosen.compare(chosen.size() - 4, 4, ".asc") == 0 ? chosen : chosen + ".asc";
}

std::string reportName(const std::string& chosen)
{
    const std::string grid = gridName(chosen);
    return grid.substr(0, grid.size() - 4) + "-Build_Data.txt";
}

void PrintTo(const BuildCase& c, std::ostream* os)
{
    *os << c.name;
}

class QarnBuildWrite : public testing::TestWithParam<BuildCase> {};

TEST_P(QarnBuildWrite, NamesTheFileKeepsEarlierOnesAndLeavesNoTemporary)
{
    const BuildCase& c = GetParam();
    Sample sample;
    FailurePlace place(c.place);
    const std::string grid = gridName(c.chosen), report = reportName(c.chosen);
    if (c.place != Place::MissingFolder) {
        if (grid.size() <= 255)
            place.keep(grid, kEarlierGrid);
        if (report.size() <= 255)
            place.keep(report, kEarlierReport);
    }
    if (c.place == Place::FullDisk && !hardening::privateMounts())
        GTEST_SKIP() << "full disk: a file size limit would stop the build's own temporary file first";
    if (const std::string why = place.setup(); !why.empty())
        GTEST_SKIP() << placeName(c.place) << ": " << why;
    const CommandRun run = sample.build(place.file(c.chosen));
    place.lift();

    const bool failed = !c.gridWritten || !c.reportWritten;
    EXPECT_EQ(run.status, failed ? 8 : 0) << run.err;
    if (failed) {
        const std::string reason = c.reason ? c.reason : place.reason();
        const std::string failedFile = place.file(c.failedFile == 1 ? grid : report);
        EXPECT_NE(run.err.find("qarn build: Cannot save " + failedFile + ": "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    } else {
        EXPECT_NE(run.out.find("wrote " + place.file(grid)), std::string::npos) << run.out;
    }
    const std::string gridNow = readFile(place.file(grid)), reportNow = readFile(place.file(report));
    if (c.gridWritten) {
        EXPECT_EQ(std::count(gridNow.begin(), gridNow.end(), '\n'), 1207) << "grid file incomplete";
    } else if (c.place != Place::MissingFolder && grid.size() <= 255) {
        EXPECT_EQ(gridNow, kEarlierGrid);
    }
    if (c.reportWritten) {
        EXPECT_NE(reportNow.find("Map Width in 10\x92s m  :     600"), std::string::npos) << reportNow;
    } else if (c.place != Place::MissingFolder && report.size() <= 255) {
        EXPECT_EQ(reportNow, kEarlierReport);
    }
    EXPECT_EQ(temporariesIn(place.folder()), std::vector<std::string>{});
    EXPECT_EQ(temporariesIn(sample.work.path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    EveryPlace, QarnBuildWrite,
    testing::Values(
        BuildCase{"ReadOnlyFolder", Place::ReadOnlyFolder, "map.asc", false, false, 1, nullptr},
        BuildCase{"FullDisk", Place::FullDisk, "map.asc", false, false, 1, nullptr},
        BuildCase{"MissingFolder", Place::MissingFolder, "map.asc", false, false, 1, nullptr},
        // 300 characters pass the longest name a folder entry may have (255 bytes).
        BuildCase{"NameOf300Characters", Place::Ordinary, std::string(300, 'n'), false, false, 1,
                  "File name too long"},
        // The grid file's 254-character name fits; the report's 265 do not.
        BuildCase{"NameOf250Characters", Place::Ordinary, std::string(250, 'm'), true, false, 2,
                  "File name too long"},
        // 244 and 255 characters: both fit, though their temporaries would not.
        BuildCase{"NameOf240Characters", Place::Ordinary, std::string(240, 'k'), true, true, 0, nullptr},
        BuildCase{"BlanksAndNonAscii", Place::Ordinary, "H\xc3\xb6he mit Leerzeichen \xe5\x9c\xb0\xe5\x9b\xb3.asc",
                  true, true, 0, nullptr}),
    [](const testing::TestParamInfo<BuildCase>& info) { return std::string(info.param.name); });

// "qarn size --write" writes into its working directory.
struct SizeCase {
    const char* name;
    Place place;
    bool reportWritten;
    bool mapDataWritten;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.name;
}

class QarnSizeWrite : public testing::TestWithParam<SizeCase> {};

TEST_P(QarnSizeWrite, NamesEachFileNotWrittenAndKeepsEarlierOnes)
{
    const SizeCase& c = GetParam();
    FailurePlace place(c.place, "Gr\xc3\xb6\xc3\x9f" "e und Ma\xc3\x9f" "e");
    const bool folderThere = c.place != Place::MissingFolder;
    if (folderThere) {
        place.keep("QarnSizer_Data.txt", "earlier report");
        place.keep("QarnSizer_MAP_Data.xdt", "earlier map");
    } else {
        fs::create_directory(place.folder()); // removed by the command before qarn starts
    }
    if (const std::string why = place.setup(); !why.empty())
        GTEST_SKIP() << placeName(c.place) << ": " << why;
    // A working directory removed under the running program is the missing folder.
    const std::string removeFirst = folderThere ? "" : "rmdir \"$PWD\" && ";
    const CommandRun run = runIn(place.folder(), removeFirst + kQarn +
                                                     " size --width 1000 --height 800 --colour-set system --write");
    place.lift();

    const bool failed = !c.reportWritten || !c.mapDataWritten;
    EXPECT_EQ(run.status, failed ? 2 : 0) << run.err;
    EXPECT_NE(run.out.find("10200"), std::string::npos) << "the results are printed whatever happens to the files";
    const std::pair<const char*, bool> files[] = {{"QarnSizer_Data.txt", c.reportWritten},
                                                  {"QarnSizer_MAP_Data.xdt", c.mapDataWritten}};
    for (const auto& [file, written] : files) {
        const std::string named = std::string("The file ") + file + " could not be written:\n";
        if (written) {
            EXPECT_EQ(run.err.find(named), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(std::string("qarn size: wrote ") + file), std::string::npos) << run.err;
        } else {
            EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(place.reason()), std::string::npos) << run.err;
        }
    }
    if (folderThere) {
        const std::string report = readFile(place.folder() / "QarnSizer_Data.txt");
        const std::string mapData = readFile(place.folder() / "QarnSizer_MAP_Data.xdt");
        EXPECT_EQ(c.reportWritten ? report.substr(std::max<std::size_t>(report.size(), 47) - 47) : report,
                  c.reportWritten ? "\n=============================================\n" : "earlier report");
        EXPECT_EQ(c.mapDataWritten ? std::to_string(mapData.size()) : mapData,
                  c.mapDataWritten ? "16" : "earlier map");
        EXPECT_EQ(temporariesIn(place.folder()), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryPlace, QarnSizeWrite,
    testing::Values(SizeCase{"ReadOnlyFolder", Place::ReadOnlyFolder, false, false},
                    // A full small disk refuses both; a file size limit only the longer report.
                    SizeCase{"FullDisk", Place::FullDisk, false, !hardening::privateMounts()},
                    SizeCase{"MissingFolder", Place::MissingFolder, false, false},
                    SizeCase{"BlanksAndNonAscii", Place::Ordinary, true, true}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

// The temporary beside a target is named after it; a target whose own name
// fits must not fail because the temporary's longer name would not.
TEST(AtomicFileNames, LongestNamesThatFitCanBeWritten)
{
    TempDir dir;
    for (const std::size_t length : {248u, 249u, 254u, 255u}) {
        const std::string target = dir.file(std::string(length, 'x'));
        qarn_test::writeFile(target, "earlier");
        AtomicFile f(target);
        ASSERT_TRUE(f.open()) << length << ": " << f.error();
        std::fputs("new", f.stream());
        ASSERT_TRUE(f.commit()) << length << ": " << f.error();
        EXPECT_EQ(readFile(target), "new") << length;
        EXPECT_TRUE(temporariesIn(dir.path()).empty()) << length;
        fs::remove(target);
    }
    AtomicFile tooLong(dir.file(std::string(256, 'x')));
    EXPECT_FALSE(tooLong.open() && tooLong.commit());
    EXPECT_NE(tooLong.error().find("File name too long"), std::string::npos) << tooLong.error();
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

} // namespace
