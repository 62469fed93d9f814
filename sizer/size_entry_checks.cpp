#include "sizer/size_entry_checks.h"

#include <cctype>
#include <limits>

#include "sizer/map_size_calculation.h"
#include "sizer/sizer_texts.h"

std::int32_t entryToTens(const std::string& text)
{
    std::size_t i = 0;
    const auto blank = [&](std::size_t at) { return std::isspace(static_cast<unsigned char>(text[at])) != 0; };
    while (i < text.size() && blank(i))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t firstDigit = i;
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return 0;
    }
    if (i == firstDigit)
        return 0;
    while (i < text.size() && blank(i))
        ++i;
    if (i != text.size())
        return 0;
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        return 0;
    return static_cast<std::int32_t>(value);
}

SizeEntries convertSizeEntries(const std::string& widthText, const std::string& heightText)
{
    SizeEntries entries;
    entries.widthTens = entryToTens(widthText);
    entries.widthMetres = std::int64_t{entries.widthTens} * 10;
    entries.heightTens = entryToTens(heightText);
    entries.heightMetres = std::int64_t{entries.heightTens} * 10;
    return entries;
}

SizeCheck checkSizeEntries(int colourSetChoice, std::int64_t widthMetres, std::int64_t heightMetres)
{
    if (colourSetChoice != COLOUR_SET_SYSTEM && colourSetChoice != COLOUR_SET_USER)
        return SizeCheck::NoColourSet;
    if (widthMetres > MAX_MAP_METRES && heightMetres > MAX_MAP_METRES)
        return SizeCheck::BothTooLarge;
    if (heightMetres > MAX_MAP_METRES)
        return SizeCheck::HeightTooLarge;
    if (widthMetres > MAX_MAP_METRES)
        return SizeCheck::WidthTooLarge;
    if (widthMetres <= 0 || heightMetres <= 0)
        return SizeCheck::NotPositive;
    return SizeCheck::Passed;
}

SizeCheckMessage sizeCheckMessage(SizeCheck check)
{
    using namespace sizer_text;
    constexpr unsigned all = EMPTY_HEIGHT_ENTRY | EMPTY_WIDTH_ENTRY | EMPTY_HEIGHT_ECHO | EMPTY_WIDTH_ECHO;
    switch (check) {
    case SizeCheck::Passed:
        break;
    case SizeCheck::NoColourSet:
        return {NO_COLOUR_SET_CAPTION, NO_COLOUR_SET_TEXT, EMPTY_NONE};
    case SizeCheck::BothTooLarge:
        return {BOTH_TOO_LARGE_CAPTION, BOTH_TOO_LARGE_TEXT, all};
    case SizeCheck::HeightTooLarge:
        return {HEIGHT_TOO_LARGE_CAPTION, HEIGHT_TOO_LARGE_TEXT, EMPTY_HEIGHT_ENTRY | EMPTY_HEIGHT_ECHO};
    case SizeCheck::WidthTooLarge:
        return {WIDTH_TOO_LARGE_CAPTION, WIDTH_TOO_LARGE_TEXT, EMPTY_WIDTH_ENTRY | EMPTY_WIDTH_ECHO};
    case SizeCheck::NotPositive:
        return {NOT_POSITIVE_CAPTION, NOT_POSITIVE_TEXT, all};
    }
    return {};
}
