#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using qarn_test::readFile;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

size_t entriesIn(const fs::path& dir)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(AtomicFile, CommitReplacesTargetAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string target = dir.file("grid.asc");
    writeFile(target, "old");
    AtomicFile f(target);
    ASSERT_TRUE(f.open()) << f.error();
    std::fputs("new contents\n", f.stream());
    EXPECT_EQ(readFile(target), "old") << "target must not change before commit";
    ASSERT_TRUE(f.commit()) << f.error();
    EXPECT_EQ(readFile(target), "new contents\n");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFile, DroppedWithoutCommitKeepsEarlierFile)
{
    TempDir dir;
    const std::string target = dir.file("report.txt");
    writeFile(target, "earlier");
    {
        AtomicFile f(target);
        ASSERT_TRUE(f.open());
        std::fputs("half of it", f.stream());
    }
    EXPECT_EQ(readFile(target), "earlier");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// Read-only folders are covered through the savers, with a child process that
// gives up root (tests/output/save_failure_test.cpp).
TEST(AtomicFile, MissingFolderIsReported)
{
    TempDir dir;
    AtomicFile missing(dir.file("no/such/folder/map.asc"));
    EXPECT_FALSE(missing.open());
    EXPECT_NE(missing.error().find("No such file or directory"), std::string::npos) << missing.error();
    EXPECT_EQ(missing.stream(), nullptr);
    EXPECT_FALSE(missing.commit());
}

TEST(AtomicFile, FailedRenameKeepsTargetAndRemovesTemporary)
{
    // A directory in the target's place makes the final rename fail.
    TempDir dir;
    fs::create_directory(dir.path() / "taken");
    AtomicFile f((dir.path() / "taken").string());
    ASSERT_TRUE(f.open());
    std::fputs("data", f.stream());
    EXPECT_FALSE(f.commit());
    EXPECT_NE(f.error().find("cannot replace the file"), std::string::npos) << f.error();
    EXPECT_TRUE(fs::is_directory(dir.path() / "taken"));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}
