// Every input kept in fuzz/regression/<entry point>/ and fuzz/seeds/<entry point>/
// goes back through the entry point its libFuzzer harness uses.
#include <gtest/gtest.h>

#include "fuzz/fuzz_targets.h"
#include "tests/support/support.h"

using namespace qarn_test;

TEST(FuzzInputs, EveryKeptInputPassesItsEntryPoint)
{
    int inputs = 0;
    for (const char* kept : {"regression", "seeds"})
        for (const auto& folder : fs::directory_iterator(fs::path(QARN_SOURCE_DIR) / "fuzz" / kept)) {
            const FuzzEntryPoint run = findFuzzEntryPoint(folder.path().filename().string());
            ASSERT_NE(run, nullptr) << folder.path() << " names no entry point";
            for (const auto& file : fs::directory_iterator(folder.path())) {
                const std::string bytes = readFile(file.path());
                EXPECT_EQ(run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "") << file.path();
                ++inputs;
            }
        }
    EXPECT_GT(inputs, 100);
}
