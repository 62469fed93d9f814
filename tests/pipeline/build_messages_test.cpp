#include "forge/extract/build_inputs.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/result_codes.h"

#include <gtest/gtest.h>

TEST(BuildMessages, ReadErrorsNameTheirCode)
{
    const UserMessage m = messageForBuildResult(RESULT_READ_ERROR, false);
    EXPECT_EQ(m.caption, "File reading Error");
    EXPECT_EQ(m.text, "Error reading file ERROR = -1<br>Close the Program");
    EXPECT_EQ(messageForBuildResult(3, false).text, "Error reading file ERROR = 3<br>Close the Program");
    for (int memory : {RESULT_NO_MEMORY_PALETTE, RESULT_NO_MEMORY_PIXELS, RESULT_NO_MEMORY})
        EXPECT_EQ(messageForBuildResult(memory, false).caption, "Ran out of memory");
    // Only the temporary-file box has no parent.
    for (int code : {0, 3, -1, 1000, 1001, 1002, 1005, 1006, 1007, 2020})
        EXPECT_TRUE(messageForBuildResult(code, false).hasParent) << code;
}

TEST(BuildMessages, MapDataWarningIsJoinedWithNothingBetween)
{
    EXPECT_EQ(mapDataMissingMessage().text,
              "The program can not locate the file <b>QarnSizer_MAP_Data.xdt</b></p><p>Some data for thsi map is NOT "
              "available to this program<br>This may cause problems when building the final map with the Tesselkit");
    EXPECT_EQ(mapDataMissingMessage().kind, MessageKind::Warning);
}

TEST(BuildMessages, PlainTextForTheTerminal)
{
    EXPECT_EQ(plainTextOf("Got good data from file, <br>writing results to Temporary file"),
              "Got good data from file, \nwriting results to Temporary file");
    EXPECT_EQ(plainTextOf("<p><b>A</b> b.</p><p> C</p>"), "A b.\n C");
    EXPECT_EQ(plainTextOf("Reserved:<ul><li>WHITE</li><li>BLACK</li></ul>"), "Reserved:\n  - WHITE\n  - BLACK");
    EXPECT_EQ(plainTextOf("a &lt;b&gt; &amp; c"), "a <b> & c");
    EXPECT_EQ(plainTextOf("a < b"), "a < b");
}

TEST(EntryChecks, WholeNumbersAsTheWindowConvertsThem)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {{"100", 100},  {" 100 ", 100}, {"+7", 7},       {"-5", -5},
                          {"0", 0},      {"", {}},       {"   ", {}},     {"12a", {}},
                          {"1.5", {}},   {"+-3", {}},    {"- 3", {}},     {"2147483647", 2147483647},
                          {"2147483648", {}}, {"-2147483648", -2147483647 - 1}, {"99999999999999999999", {}}};
    for (const Case& c : cases)
        EXPECT_EQ(parseWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(EntryChecks, RefusalsStoreTheConvertedValue)
{
    std::int32_t stored = 55;
    auto refused = checkMinElevation("", stored);
    ASSERT_TRUE(refused);
    EXPECT_EQ(stored, 55) << "an empty entry stores nothing";
    EXPECT_NE(refused->text.find("has not been set"), std::string::npos);

    refused = checkMinElevation("12a", stored);
    ASSERT_TRUE(refused);
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(refused->text.rfind("<p>The Minimum Elevation Height has an error.</p><p> It must be", 0), 0u);

    refused = checkMinElevation("-5", stored);
    ASSERT_TRUE(refused);
    EXPECT_EQ(stored, -5);
    EXPECT_FALSE(checkMinElevation("0", stored));

    refused = checkContourInterval("0", stored);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "Contour Interval");
    EXPECT_EQ(refused->text,
              "<p>The Contour Interval is negative.</p><p> It must be a positiive number equal to or greater than "
              "ZERO<br>There should be no spaces added to the value after the last digit.</p><p> Make the "
              "appropiate selection to continue</p>");
    EXPECT_FALSE(refused->hasParent);
    EXPECT_FALSE(checkContourInterval("25", stored));
    EXPECT_EQ(stored, 25);
}
