// The calculator's core: the size rule, the entry checks and when the exit writes its files.
#include <gtest/gtest.h>

#include "sizer/map_size_calculation.h"
#include "sizer/run_details_report.h"
#include "sizer/size_entry_checks.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

TEST(SizeRule, GivesPixelsAndMetresCoveredForEitherSide)
{
    for (const Row& row : readTable("sizer/size_rule.tsv")) {
        const int metres = std::stoi(row[0]), pixels = std::stoi(row[1]), covered = std::stoi(row[2]);
        MapSizeCalculation calc;
        calc.setInput(metres, 10000, 1);
        calc.compute();
        EXPECT_EQ(calc.pixelWidth, pixels) << metres;
        EXPECT_EQ(calc.approxWidthMetres, covered) << metres;
        calc.setInput(10000, metres, 0);
        calc.compute();
        EXPECT_EQ(calc.pixelHeight, pixels) << metres;
        EXPECT_EQ(calc.approxHeightMetres, covered) << metres;
    }
    for (auto [x, rounded] : {std::pair{0.5, 1}, {2.5, 3}, {0.49999, 0}, {8348.9284, 8349}})
        EXPECT_EQ(roundHalfUp(x), rounded) << x;
}

TEST(SizeChecks, FirstFailingCheckInOrderAndTheFieldsItEmpties)
{
    const std::pair<unsigned, const char*> fields[] = {
        {EMPTY_HEIGHT_ENTRY, "HeightIn"}, {EMPTY_WIDTH_ENTRY, "WidthIn"}, {EMPTY_HEIGHT_ECHO, "RheightIn"},
        {EMPTY_WIDTH_ECHO, "RWidthIn"}};
    for (Row row : readTable("sizer/size_checks.tsv")) {
        row.resize(5);
        const SizeEntries e = convertSizeEntries(row[1], row[2]);
        const int code = std::stoi(row[0]);
        const std::optional<ColourSet> colourSet =
            code == -99 ? std::nullopt : std::optional<ColourSet>(static_cast<ColourSet>(code));
        const SizeCheck check = checkSizeEntries(colourSet, e.widthMetres, e.heightMetres);
        EXPECT_EQ(static_cast<int>(check), std::stoi(row[3])) << row[1] << " x " << row[2];
        std::string emptied;
        for (const auto& [bit, name] : fields)
            if (sizeCheckMessage(check).emptied & bit)
                emptied.append(emptied.empty() ? "" : " ").append(name);
        EXPECT_EQ(emptied, row[4]) << row[1] << " x " << row[2];
    }
}

TEST(ExitFiles, WrittenOnlyWhenBothSidesAreAboveZero)
{
    for (auto [width, height, written] : {std::tuple{10, 10, true}, {0, 0, false}, {10, 0, false}, {0, 10, false},
                                          {10, -10, false}}) {
        RunDetails d;
        d.widthMetres = width;
        d.heightMetres = height;
        EXPECT_EQ(exitWritesFiles(d), written) << width << " x " << height;
    }
}
