#include "forge/output/ascii_grid_writer.h"
#include "forge/output/build_data_report.h"
#include "forge/output/output_result.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_dir.h"

using qarn_test::entriesIn;

namespace fs = std::filesystem;
using qarn_test::readFile;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

const std::vector<float> kHeights(1201 * 1201, 321.0f);


// Both savers against one target: the result code and the error text.
struct Attempt {
    int code;
    std::string error;
};

Attempt saveGrid(const std::string& path)
{
    Attempt a;
    a.code = saveAsciiGrid(path, AsciiGridHeader{}, 1201, 1201, kHeights.data(), a.error);
    return a;
}

Attempt saveReport(const std::string& path)
{
    Attempt a;
    a.code = saveBuildDataReport(path, true, MapData{1, 2, 3.0}, a.error);
    return a;
}

} // namespace

TEST(SaveFailure, MissingFolderIsReportedWithFileAndReason)
{
    TempDir dir;
    const std::string path = dir.file("no/such/folder/map.asc");
    for (const Attempt& a : {saveGrid(path), saveReport(path)}) {
        EXPECT_EQ(a.code, OUTPUT_FILE_FAILED);
        EXPECT_NE(a.error.find(path), std::string::npos) << a.error;
        EXPECT_NE(a.error.find("No such file or directory"), std::string::npos) << a.error;
    }
    EXPECT_TRUE(entriesIn(dir.path()).empty());
}

TEST(SaveFailure, DirectoryInTheTargetsPlaceStaysAndNoTemporaryIsLeft)
{
    TempDir dir;
    fs::create_directory(dir.path() / "map.asc");
    writeFile(dir.path() / "map.asc" / "inside", "kept");
    for (const Attempt& a : {saveGrid(dir.file("map.asc")), saveReport(dir.file("map.asc"))}) {
        EXPECT_EQ(a.code, OUTPUT_FILE_FAILED);
        EXPECT_NE(a.error.find("map.asc"), std::string::npos) << a.error;
    }
    EXPECT_EQ(entriesIn(dir.path()), std::vector<std::string>{"map.asc"});
    EXPECT_EQ(readFile(dir.path() / "map.asc" / "inside"), "kept");
}

TEST(SaveFailure, RefusedGridKeepsEarlierFile)
{
    TempDir dir;
    writeFile(dir.file("map.asc"), "earlier");
    std::string error;
    EXPECT_EQ(saveAsciiGrid(dir.file("map.asc"), AsciiGridHeader{}, 1300, 4, kHeights.data(), error),
              OUTPUT_BAD_GRID_SIZE);
    EXPECT_NE(error.find("1300 rows"), std::string::npos) << error;
    EXPECT_EQ(readFile(dir.file("map.asc")), "earlier");
    EXPECT_EQ(entriesIn(dir.path()), std::vector<std::string>{"map.asc"});
}

TEST(SaveFailure, DiskFullMidWriteKeepsEarlierFile)
{
    // A file size limit makes writes fail part way, as a full disk would, and
    // works for root too.
    TempDir dir;
    writeFile(dir.file("map.asc"), "earlier grid");
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Attempt a = saveGrid(dir.file("map.asc"));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(a.code, OUTPUT_WRITE_FAILED);
    EXPECT_NE(a.error.find("map.asc"), std::string::npos) << a.error;
    EXPECT_NE(a.error.find("File too large"), std::string::npos) << a.error;
    EXPECT_EQ(readFile(dir.file("map.asc")), "earlier grid");
    EXPECT_EQ(entriesIn(dir.path()), std::vector<std::string>{"map.asc"});
}

TEST(SaveFailure, ReadOnlyFolderKeepsEarlierFile)
{
    TempDir dir;
    const fs::path ro = dir.path() / "ro";
    fs::create_directory(ro);
    writeFile(ro / "map.asc", "earlier");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                            fs::perms::others_exec);
    const auto attemptBoth = [&] {
        for (const Attempt& a : {saveGrid((ro / "map.asc").string()), saveReport((ro / "map.asc").string())})
            if (a.code != OUTPUT_FILE_FAILED || a.error.find("Permission denied") == std::string::npos)
                return false;
        return true;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(attemptBoth());
    } else {
        // Root writes anywhere: try it from a child that drops to user "nobody".
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(!dropped ? 2 : attemptBoth() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2)
            GTEST_SKIP() << "running as root and cannot drop to user nobody; read-only folder not checked";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "saving into a read-only folder must fail with Permission denied";
    }
    EXPECT_EQ(readFile(ro / "map.asc"), "earlier");
    EXPECT_EQ(entriesIn(ro), std::vector<std::string>{"map.asc"});
}

TEST(SaveFailure, SuccessfulSaveReplacesEarlierFileAndAcceptsLongPaths)
{
    TempDir dir;
    // Longer than any fixed 255-character buffer could hold.
    const fs::path deep = dir.path() / std::string(200, 'a') / std::string(200, 'b');
    fs::create_directories(deep);
    const std::string path = (deep / (std::string(150, 'c') + ".asc")).string();
    ASSERT_GT(path.size(), 550u);
    writeFile(path, "earlier");
    const Attempt a = saveGrid(path);
    ASSERT_EQ(a.code, OUTPUT_OK) << a.error;
    EXPECT_TRUE(a.error.empty());
    // 95 header bytes, then 1201 lines of 1201 " 321" and a line end.
    EXPECT_EQ(fs::file_size(path), 95u + 1201u * (1201u * 4u + 1u));
    EXPECT_EQ(entriesIn(deep).size(), 1u);
}
