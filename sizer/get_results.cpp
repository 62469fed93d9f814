#include "sizer/get_results.h"

namespace qarn {

SizeCheck getResults(RunDetails& details, const std::string& widthText, const std::string& heightText,
                     std::optional<ColourSet> colourSet)
{
    const SizeEntries entries = convertSizeEntries(widthText, heightText);
    details.widthTens = entries.widthTens;
    details.heightTens = entries.heightTens;
    details.widthMetres = entries.widthMetres;
    details.heightMetres = entries.heightMetres;

    const SizeCheck check = checkSizeEntries(colourSet, details.widthMetres, details.heightMetres);
    if (check != SizeCheck::Passed)
        return check;
    // The checks keep both values within 1..50000, so they fit 32 bits.
    MapSizeCalculation& calc = details.calculation;
    calc.setInput(static_cast<std::int32_t>(details.widthMetres), static_cast<std::int32_t>(details.heightMetres),
                  static_cast<std::int32_t>(*colourSet));
    calc.compute();
    details.userPixelWidth = calc.pixelWidth;
    details.userPixelHeight = calc.pixelHeight + USER_COLOUR_SET_ROWS;
    return check;
}

} // namespace qarn
