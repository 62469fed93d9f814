// The files the tools write and read: the ASCII grid, the build data report,
// the map data file, their names, the whole-number readers, and a save that
// fails.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "common/atomic_file.h"
#include "common/map_data_file.h"
#include "forge/extract/build_inputs.h"
#include "forge/output/ascii_grid_writer.h"
#include "forge/output/build_data_report.h"
#include "forge/output/output_result.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "common/whole_number.h"
#include "forge/output/save_results.h"
#include "sizer/size_entry_checks.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

std::string zeros(int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += " 0";
    return s;
}

std::string savedGrid(int rows, int cols, const std::vector<float>& heights)
{
    TempDir dir;
    std::string error;
    EXPECT_EQ(saveAsciiGrid(dir.file("g.asc"), AsciiGridHeader{}, rows, cols, heights.data(), error), OutputResult::Ok);
    return readFile(dir.file("g.asc"));
}

} // namespace

TEST(AsciiGrid, TwoByThreeGridSitsInTheBottomLeftCorner)
{
    std::string expected = "ncols 1201\nnrows 1201\nxllcorner 9.000000\nyllcorner 1.000000\ncellsize 0.000833\n"
                           "nodata_value -99\n";
    for (int i = 0; i < 1199; ++i)
        expected += zeros(1201) + "\n";
    expected += " 10 20 30" + zeros(1198) + "\n 40 50 60" + zeros(1198) + "\n";
    EXPECT_TRUE(savedGrid(2, 3, {10, 20, 30, 40, 50, 60}) == expected);
}

TEST(AsciiGrid, HeightsAreRoundedOnlyAboveOneHalfAndAFullGridHasNoFiller)
{
    const std::string file = savedGrid(1, 6, {2.5f, 2.51f, -2.7f, -0.4f, 3.5001f, -2147483648.0f});
    EXPECT_EQ(file.substr(file.rfind('\n', file.size() - 2)), "\n 2 3 -2 0 4 -2147483648" + zeros(1195) + "\n");
    std::vector<float> full(1201 * 1201, 7.0f);
    full.back() = 1234.0f;
    const std::string big = savedGrid(1201, 1201, full);
    EXPECT_EQ(std::count(big.begin(), big.end(), '\n'), 1207);
    EXPECT_EQ(big.substr(95, 6), " 7 7 7");
    EXPECT_EQ(big.substr(big.size() - 8), " 7 1234\n");
}

TEST(AsciiGrid, RefusedGridsWriteNothing)
{
    const std::tuple<int, int, float, OutputResult> cases[] = {
        {0, 3, 1, OutputResult::BadGridSize}, {1202, 1, 1, OutputResult::BadGridSize}, {1, 1202, 1, OutputResult::BadGridSize},
        {1, 1, std::nanf(""), OutputResult::BadHeight}, {1, 1, 2147483648.0f, OutputResult::BadHeight}};
    for (const auto& [rows, cols, height, code] : cases) {
        const std::vector<float> heights(1202 * 2, height);
        std::FILE* out = scratchFile();
        EXPECT_EQ(writeValues(out, AsciiGridHeader{}, rows, cols, heights.data()), code) << rows << " x " << cols;
        EXPECT_EQ(std::ftell(out), 0L) << rows << " x " << cols;
        std::fclose(out);
    }
}

// A picture of fewer pixels than cells shows each drawn cell exactly as the
// whole picture does, shading and colour range taken from every cell.
TEST(ReliefPreview, SeenFromAfarIsTheWholePictureSampled)
{
    constexpr int ROWS = 23, COLS = 17;
    std::vector<float> heights(ROWS * COLS);
    std::vector<std::uint8_t> flat(ROWS * COLS);
    for (int i = 0; i < ROWS * COLS; ++i) {
        heights[i] = float(100 + (i * 37) % 11 * 20 + i / COLS);
        flat[i] = i % 13 == 0;
    }
    heights[1 * COLS + 1] = 900; // the highest and lowest cells are never drawn
    heights[4 * COLS + 3] = -50;
    heights[2 * COLS + 2] = NAN;
    const PreviewImage whole = renderReliefPreview(ROWS, COLS, heights.data(), flat.data(), 1);
    for (const int perPixel : {2, 3, 4, 17, 40})
        for (const int perCell : {1, 2}) {
            SCOPED_TRACE(testing::Message() << perPixel << " cells a pixel, " << perCell << " pixels a cell");
            const PreviewImage far = renderReliefPreview(ROWS, COLS, heights.data(), flat.data(), perCell, perPixel);
            ASSERT_EQ(far.width, (COLS + perPixel - 1) / perPixel * perCell);
            ASSERT_EQ(far.height, (ROWS + perPixel - 1) / perPixel * perCell);
            for (int y = 0; y < far.height; ++y)
                for (int x = 0; x < far.width; ++x) {
                    const std::size_t from = 3 * (std::size_t(y / perCell * perPixel) * COLS + x / perCell * perPixel);
                    const std::size_t to = 3 * (std::size_t(y) * far.width + x);
                    ASSERT_EQ(std::vector(far.rgb.begin() + to, far.rgb.begin() + to + 3),
                              std::vector(whole.rgb.begin() + from, whole.rgb.begin() + from + 3)) << x << "," << y;
                }
        }
    EXPECT_EQ(previewCellsPerPixel(1200, 700, 300), 4);
    EXPECT_EQ(previewCellsPerPixel(540, 540, 300), 1);
    EXPECT_EQ(previewCellsPerPixel(200, 100, 300), 1);
}

TEST(BuildDataReport, BothFormsByteForByte)
{
    const MapData example{1000, 1500, 30.92208078};
    EXPECT_EQ(buildDataReportText(true, example), readFile(testData("output/report_full.expected")));
    EXPECT_EQ(buildDataReportText(false, example), readFile(testData("output/report_short.expected")));
}

// Writing and reading show through qarn size and qarn build.
TEST(MapDataFile, AShortFileCountsAsMissingAndLeavesTheValues)
{
    TempDir dir;
    writeFile(dir.file(MAP_DATA_FILE_NAME), std::string(15, '\x7f'));
    MapData values{1, 2, 3.0};
    EXPECT_EQ(readMapDataFile(dir.file(MAP_DATA_FILE_NAME), values), FileResult::TooShort);
    EXPECT_EQ(values.heightTens, 1);
}

TEST(SaveNames, ChosenAndProposedNames)
{
    for (const Row& row : readTable("output/save_names.tsv")) {
        EXPECT_EQ(gridFileNameFor(row[0]), row[1]) << row[0];
        EXPECT_EQ(reportFileNameFor(row[0]), row[2]) << row[0];
    }
    EXPECT_EQ(proposedSaveName("C:/maps/Hill.BMP"), "C:/maps/Hill-arcinfo-ascii.asc");
    EXPECT_EQ(proposedSaveName("/u/x.bmp.d/Hills.Bmp"), "/u/x.bmp.d/Hills-arcinfo-ascii.asc");
    EXPECT_EQ(proposedSaveName("mapbmp"), "mapbmp-arcinfo-ascii.asc");
}

// One reader; the table and the size entries take 0 for what it refuses.
TEST(WholeNumbers, EachPolicyOfTheOneReader)
{
    for (const Row& row : readTable("whole_numbers.tsv")) {
        const std::optional<std::int32_t> confirmed = readWholeNumber(row[0]);
        EXPECT_EQ(confirmed ? std::to_string(*confirmed) : "-", row[1]) << '"' << row[0] << '"';
        EXPECT_EQ(confirmed.value_or(0), std::stoi(row[2])) << '"' << row[0] << '"';
        EXPECT_EQ(confirmed.value_or(0), std::stoi(row[3])) << '"' << row[0] << '"';
    }
}

// Every result file is saved this way: a failure keeps the earlier file, leaves
// no temporary behind and says which file and why.
TEST(SaveFailure, KeepsTheEarlierFileAndNamesFileAndReason)
{
    TempDir dir;
    const std::string target = dir.file("map.asc");
    writeFile(target, "earlier");
    std::string error;
    const std::vector<float> heights(1201 * 1201, 321.0f);
#ifndef _WIN32 // a file size limit is Linux's
    // A file size limit makes the writes fail part way, as a full disk would.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const OutputResult full = saveAsciiGrid(target, AsciiGridHeader{}, 1201, 1201, heights.data(), error);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(full, OutputResult::WriteFailed);
    EXPECT_EQ(error, "Cannot save " + target + ": the data could not be written: File too large");
    EXPECT_EQ(readFile(target), "earlier");
    EXPECT_EQ(entriesIn(dir.path()), std::vector<std::string>{"map.asc"});
#endif

    const std::string missing = dir.file("no/such/map.asc");
    EXPECT_EQ(saveAsciiGrid(missing, AsciiGridHeader{}, 1, 1, heights.data(), error), OutputResult::FileFailed);
    EXPECT_EQ(error.rfind("Cannot save " + missing + ": ", 0), 0u) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    ASSERT_EQ(saveAsciiGrid(target, AsciiGridHeader{}, 1, 1, heights.data(), error), OutputResult::Ok);
    EXPECT_EQ(readFile(target).size(), 95u + 1200u * (1201u * 2u + 1u) + 4u + 1200u * 2u + 1u);
    EXPECT_EQ(entriesIn(dir.path()), std::vector<std::string>{"map.asc"});
}

// Both temporaries written, then the second target turns into a folder: its
// rename fails after the first file was replaced, which must come back as it was.
TEST(SaveFailure, BothOrNeitherWhenTheSecondRenameFails)
{
    TempDir dir;
    writeFile(dir.file("map.asc"), "earlier");
    {
        AtomicFile first(dir.file("map.asc")), second(dir.file("map-Build_Data.txt"));
        ASSERT_EQ(first.open(), FileResult::Ok);
        ASSERT_EQ(second.open(), FileResult::Ok);
        std::fputs("new grid", first.stream());
        std::fputs("new report", second.stream());
        fs::create_directories(dir.path() / "map-Build_Data.txt" / "inside");
        EXPECT_EQ(commitBoth(first, second), FileResult::CannotReplace);
    }
    EXPECT_EQ(readFile(dir.file("map.asc")), "earlier");
    EXPECT_EQ(entriesIn(dir.path()), (std::vector<std::string>{"map-Build_Data.txt", "map.asc"}));
}

// A temporary left by a killed run goes when the same file is next saved; one
// that a run still writes stays.
TEST(SaveFailure, StaleTemporariesGoLiveOnesStay)
{
    TempDir dir;
    AtomicFile live(dir.file("map.asc"));
    ASSERT_EQ(live.open(), FileResult::Ok);
    writeFile(dir.file(".map.asc.qarn-ab12CD"), "killed");
    writeFile(dir.file(".map.asc.qarn-ab12CDE"), "not ours");
    AtomicFile next(dir.file("map.asc"));
    ASSERT_EQ(next.open(), FileResult::Ok);
    const std::vector<std::string> entries = entriesIn(dir.path());
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), ".map.asc.qarn-ab12CD"), 0);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), ".map.asc.qarn-ab12CDE"), 1);
    ASSERT_EQ(live.commit(), FileResult::Ok);
    next.discard();
    EXPECT_EQ(entriesIn(dir.path()), (std::vector<std::string>{".map.asc.qarn-ab12CDE", "map.asc"}));
}

// Save As writes both files or neither: a report that cannot be written keeps
// the earlier grid file as it was, with its permissions.
TEST(SaveFailure, GridAndReportBothOrNeither)
{
    TempDir dir;
    writeFile(dir.file("map.asc"), "earlier");
#ifndef _WIN32
    fs::permissions(dir.file("map.asc"), fs::perms::owner_read | fs::perms::owner_write);
#endif
    fs::create_directory(dir.file("map-Build_Data.txt"));
    ElevationGrid grid;
    std::FILE* heights = scratchFile();
    std::fputs("7", heights);
    std::rewind(heights);
    ASSERT_EQ(grid.build(heights, 1, 1, 10.0f, 0.0f), GridResult::Ok);
    std::fclose(heights);
    const SaveAsResult refused = saveGridAndReport(grid, dir.file("map"), false, MapData{});
    EXPECT_EQ(refused.error, "Cannot save " + dir.file("map-Build_Data.txt") + ": not a regular file");
    EXPECT_EQ(readFile(dir.file("map.asc")), "earlier");
    fs::remove(dir.file("map-Build_Data.txt"));
    ASSERT_EQ(saveGridAndReport(grid, dir.file("map"), false, MapData{}).result, OutputResult::Ok);
#ifndef _WIN32 // permission bits are Linux's
    EXPECT_EQ(fs::status(dir.file("map.asc")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(entriesIn(dir.path()), (std::vector<std::string>{"map-Build_Data.txt", "map.asc"}));
}

