#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qarn {

// The one reading of a typed whole number, for the builder's entries, the
// results table's cells and the calculator's sizes: optional white space
// around, an optional sign, one or more decimal digits, inside the signed
// 32-bit range. Anything else gives nothing; each caller applies its own
// policy (the builder refuses the entry, the table and the calculator take 0).
std::optional<std::int32_t> readWholeNumber(std::string_view text);

} // namespace qarn
