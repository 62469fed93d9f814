#include "sizer/size_entry_checks.h"

#include <gtest/gtest.h>

#include "sizer/map_size_calculation.h"
#include "sizer/sizer_texts.h"

TEST(EntryToTens, ReadsWholeNumbersAndCountsEverythingElseAsZero)
{
    const struct {
        const char* text;
        std::int32_t tens;
    } rows[] = {
        {"1000", 1000},     {"  800 ", 800},     {"+5", 5},           {"-12", -12},
        {"0", 0},           {"", 0},             {"   ", 0},          {"abc", 0},
        {"12abc", 0},       {"1 2", 0},          {"1.5", 0},          {"0x10", 0},
        {"-", 0},           {"2147483647", 2147483647},               {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},  {"99999999999999999999999", 0},          {"007", 7},
    };
    for (const auto& row : rows)
        EXPECT_EQ(entryToTens(row.text), row.tens) << '"' << row.text << '"';
}

TEST(ConvertSizeEntries, KeepsMetresInSixtyFourBits)
{
    const SizeEntries e = convertSizeEntries("214748365", "-214748365");
    EXPECT_EQ(e.widthTens, 214748365);
    EXPECT_EQ(e.widthMetres, 2147483650LL);
    EXPECT_EQ(e.heightTens, -214748365);
    EXPECT_EQ(e.heightMetres, -2147483650LL);
}

TEST(CheckSizeEntries, FirstFailingCheckInOrder)
{
    const struct {
        int colourSet;
        const char* width;
        const char* height;
        SizeCheck expected;
    } rows[] = {
        {COLOUR_SET_SYSTEM, "5000", "5000", SizeCheck::Passed},
        {COLOUR_SET_USER, "1", "1", SizeCheck::Passed},
        {COLOUR_SET_NONE, "1000", "800", SizeCheck::NoColourSet},
        {COLOUR_SET_NONE, "0", "99999", SizeCheck::NoColourSet}, // reported before any size problem
        {7, "1000", "800", SizeCheck::NoColourSet},
        {COLOUR_SET_SYSTEM, "5001", "5001", SizeCheck::BothTooLarge},
        {COLOUR_SET_SYSTEM, "5000", "5001", SizeCheck::HeightTooLarge},
        {COLOUR_SET_SYSTEM, "-3", "5001", SizeCheck::HeightTooLarge},
        {COLOUR_SET_SYSTEM, "5001", "5000", SizeCheck::WidthTooLarge},
        {COLOUR_SET_SYSTEM, "5001", "0", SizeCheck::WidthTooLarge},
        {COLOUR_SET_SYSTEM, "0", "100", SizeCheck::NotPositive},
        {COLOUR_SET_SYSTEM, "100", "-1", SizeCheck::NotPositive},
        {COLOUR_SET_SYSTEM, "", "", SizeCheck::NotPositive},
        {COLOUR_SET_SYSTEM, "wide", "100", SizeCheck::NotPositive},
        // x10 leaves the 32-bit range: still above the limit, not wrapped round.
        {COLOUR_SET_SYSTEM, "214748365", "100", SizeCheck::WidthTooLarge},
        {COLOUR_SET_SYSTEM, "100", "2147483647", SizeCheck::HeightTooLarge},
        {COLOUR_SET_SYSTEM, "2147483647", "2147483647", SizeCheck::BothTooLarge},
        {COLOUR_SET_SYSTEM, "-2147483648", "100", SizeCheck::NotPositive},
        // Too big for 32 bits at all: counts as 0.
        {COLOUR_SET_SYSTEM, "2147483648", "100", SizeCheck::NotPositive},
    };
    for (const auto& row : rows) {
        const SizeEntries e = convertSizeEntries(row.width, row.height);
        EXPECT_EQ(checkSizeEntries(row.colourSet, e.widthMetres, e.heightMetres), row.expected)
            << row.colourSet << " " << row.width << " x " << row.height;
    }
}

TEST(SizerTexts, PlainLinesForTheTerminal)
{
    EXPECT_EQ(plainLines(sizer_text::NO_COLOUR_SET_TEXT),
              "The Elevation Colour Set to be used has not been selected.\n"
              "Make the appropiate selection to continue\n");
    EXPECT_EQ(plainLines(sizer_text::NOT_POSITIVE_TEXT),
              "Width or Height are either equal to ZERO or less than ZERO.\nCorrect the values to continue\n");
    EXPECT_EQ(plainLines("<p>a<br>b &lt;c&gt; &amp; d</p><ul><li>e</li></ul>"), "a\nb <c> & d\ne\n");
    EXPECT_EQ(plainLines(""), "");
}

TEST(SizerTexts, FillTextReplacesNumberedPlaces)
{
    EXPECT_EQ(fillText("<b>%1</b> %2 %3 100%", {"a", "b"}), "<b>a</b> b %3 100%");
}
