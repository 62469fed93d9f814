#pragma once

#include <string>

#include "common/user_message.h"
#include "forge/extract/result_codes.h"

namespace qarn {

// The texts the builder shows for each outcome of a build, in one place: the
// window shows them in message boxes (through its translation lookup), qarn
// prints them as plain lines. Plain data; no errors.

// The box for an extraction result (or a later build failure code) when the
// build stops, or "Clean Run" when result is 0 and colourError is false.
UserMessage messageForBuildResult(ExtractResult result, bool colourError);

// The warning shown when no map data file lies beside the picture.
UserMessage mapDataMissingMessage();

// The information box that ends a successful build.
UserMessage resultsReadyMessage();

// Below a refusal of the picture: what it uses that the builder does not read
// and how to save it from an image editor instead. Empty when the refusal has
// no such cause (see unreadBmpFeature).
std::string describeBmpRefusal(const std::string& path, ExtractResult result);

} // namespace qarn
