// The GIMP palette written at build time against the core's colour table.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "forge/extract/colour_height_set.h"
#include "tests/support/temp_dir.h"

using qarn_test::linesOf;

namespace {

struct PaletteEntry {
    std::string line;
    Rgb colour;
    std::string name;
};


// A component written right-aligned in 3 columns: "  0", " 99", "231".
std::optional<std::uint8_t> component(const std::string& field)
{
    const std::size_t first = field.find_first_not_of(' ');
    if (field.size() != 3 || first == std::string::npos)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = first; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return std::nullopt;
        value = value * 10 + (field[i] - '0');
    }
    if (value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

// "R G B<TAB>name" with each component right-aligned in 3 columns.
std::optional<PaletteEntry> parseColourLine(const std::string& line)
{
    if (line.size() < 13 || line[3] != ' ' || line[7] != ' ' || line[11] != '\t' || line[12] == ' ')
        return std::nullopt;
    const auto red = component(line.substr(0, 3));
    const auto green = component(line.substr(4, 3));
    const auto blue = component(line.substr(8, 3));
    if (!red || !green || !blue)
        return std::nullopt;
    return PaletteEntry{line, {*red, *green, *blue}, line.substr(12)};
}

} // namespace

TEST(SystemPalette, HeaderThenOneRightAlignedLinePerColourOfTheSystemSet)
{
    const std::string text = qarn_test::readFile(QARN_PALETTE_FILE);
    ASSERT_FALSE(text.empty()) << "missing " << QARN_PALETTE_FILE;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "GIMP Palette");
    EXPECT_EQ(lines[1].rfind("Name: ", 0), 0u) << lines[1];

    std::vector<PaletteEntry> entries;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("#", 0) == 0 || line.rfind("Columns: ", 0) == 0) {
            EXPECT_TRUE(entries.empty()) << "header line after the colours: " << line;
            continue;
        }
        const std::optional<PaletteEntry> entry = parseColourLine(line);
        ASSERT_TRUE(entry) << "line " << i + 1 << ": '" << line << "'";
        entries.push_back(*entry);
    }

    ASSERT_EQ(entries.size(), SYSTEM_COLOUR_SET.size());
    int rung = 0;
    int reservedSeen = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PaletteEntry& entry = entries[i];
        EXPECT_EQ(entry.colour, SYSTEM_COLOUR_SET[i]) << entry.line;
        const std::int32_t code = reservedCodeFor(SYSTEM_COLOUR_SET[i]);
        if (code == 0) {
            std::string expected = "height rung " + std::to_string(rung);
            if (rung == 0)
                expected += " (lowest)";
            if (rung == 17)
                expected += " (highest)";
            EXPECT_EQ(entry.name, expected) << entry.line;
            ++rung;
        } else if (code == RESERVED_BLUE1) {
            EXPECT_EQ(entry.name, "flat area (BLUE1)") << entry.line;
        } else {
            // The reserved colours a map must not use.
            EXPECT_TRUE(raisesColourError(code)) << entry.line;
            EXPECT_EQ(entry.name.rfind("reserved ", 0), 0u) << entry.line;
            ++reservedSeen;
        }
    }
    EXPECT_EQ(rung, 18);
    EXPECT_EQ(reservedSeen, 6);
    EXPECT_EQ(entries[19].line, "  0 128 192\tflat area (BLUE1)");
    EXPECT_EQ(entries[0].line, "  0 132  33\theight rung 0 (lowest)");
}
