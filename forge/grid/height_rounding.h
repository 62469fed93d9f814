#pragma once

#include <cmath>

namespace qarn {

// Grid heights to whole metres: truncate toward zero, then add 1 only when the
// dropped fraction is greater than 0.5 (so 2.5 gives 2, 2.51 gives 3, -2.7 gives -2).
// The result is a whole number carried as a floating value.
inline float roundHeight(float value)
{
    const float t = std::trunc(value);
    return (value - t > 0.5f) ? t + 1.0f : t;
}

// b if a < b, otherwise a.
inline float higherOf(float a, float b)
{
    return a < b ? b : a;
}

} // namespace qarn
