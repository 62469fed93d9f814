#pragma once

#include "forge/extract/colour_height_set.h"

#include <QColor>
#include <QIcon>

namespace qarn {

// The core's colours on the Qt side.
inline QColor toQColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

inline Rgb toRgb(const QColor& c)
{
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

// "#RRGGBB" in capitals, as lists and status texts name a colour.
inline QString hexName(Rgb c)
{
    return toQColor(c).name(QColor::HexRgb).toUpper();
}

// A `side` x `side` square of the colour with a black frame, for list entries;
// a selected entry shows the colour as it is, not tinted.
QIcon swatch(Rgb c, int side);

} // namespace qarn
