#include "fuzz/fuzz_targets.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct RegressionInput {
    std::string entryPoint; // the folder's name
    fs::path file;
};

// Names the input in test listings instead of dumping its bytes.
void PrintTo(const RegressionInput& input, std::ostream* os)
{
    *os << input.file.string();
}

std::vector<RegressionInput> regressionInputs()
{
    std::vector<RegressionInput> inputs;
    const fs::path root = fs::path(QARN_SOURCE_DIR) / "fuzz" / "regression";
    std::error_code ec;
    for (const fs::directory_entry& folder : fs::directory_iterator(root, ec)) {
        if (!folder.is_directory())
            continue;
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path()))
            if (file.is_regular_file())
                inputs.push_back({folder.path().filename().string(), file.path()});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const RegressionInput& a, const RegressionInput& b) { return a.file < b.file; });
    return inputs;
}

std::string testName(const testing::TestParamInfo<RegressionInput>& info)
{
    std::string name = info.param.entryPoint + "_" + info.param.file.filename().string();
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

class FuzzRegression : public testing::TestWithParam<RegressionInput> {};

TEST_P(FuzzRegression, PassesItsEntryPoint)
{
    const RegressionInput& input = GetParam();
    const FuzzEntryPoint run = findFuzzEntryPoint(input.entryPoint);
    ASSERT_NE(run, nullptr) << "fuzz/regression/" << input.entryPoint << " names no entry point";
    const std::string bytes = qarn_test::readFile(input.file);
    EXPECT_EQ(run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegression, testing::ValuesIn(regressionInputs()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzRegression);

} // namespace
