#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forge/extract/build_messages.h"

namespace qarn {

// The checks "CONFIRM DATA" makes on the minimum elevation and the contour
// interval, shared by the window and qarn. Each returns the box to show when
// the entry is refused, nothing when it passes; `stored` receives the
// converted value whenever the text is not empty (0 when it does not convert),
// as the window keeps it.

std::optional<UserMessage> checkMinElevation(std::string_view text, std::int32_t& stored);
std::optional<UserMessage> checkContourInterval(std::string_view text, std::int32_t& stored);

// The boxes for the two checks that come before the entries.
UserMessage noFileLoadedMessage();
UserMessage noColourSetMessage();

} // namespace qarn
