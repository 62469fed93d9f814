#include "sizer/size_entry_checks.h"

#include "common/whole_number.h"
#include "sizer/map_size_calculation.h"
#include "sizer/sizer_texts.h"

namespace qarn {

SizeEntries convertSizeEntries(const std::string& widthText, const std::string& heightText)
{
    SizeEntries entries;
    entries.widthTens = readWholeNumber(widthText).value_or(0);
    entries.widthMetres = std::int64_t{entries.widthTens} * 10;
    entries.heightTens = readWholeNumber(heightText).value_or(0);
    entries.heightMetres = std::int64_t{entries.heightTens} * 10;
    return entries;
}

SizeCheck checkSizeEntries(std::optional<ColourSet> colourSet, std::int64_t widthMetres, std::int64_t heightMetres)
{
    if (!colourSet)
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

std::string sizeCheckNote(SizeCheck check, const std::string& widthText, const std::string& heightText)
{
    if (check != SizeCheck::NotPositive)
        return {};
    for (const std::string* text : {&widthText, &heightText})
        if (!text->empty() && !readWholeNumber(*text))
            return "\"" + *text + "\" is not a whole number, so it counts as 0: type whole tens of metres, such as 1000 "
                   "for 10 km.";
    return {};
}

} // namespace qarn
