#include "forge/extract/build_inputs.h"

#include "common/whole_number.h"
#include "forge/extract/message_notes.h"

namespace qarn {

namespace {

const char* const COMMON_TAIL = "<p> It must be a positiive number "
                                "equal to or greater than ZERO<br>"
                                "There should be no spaces added to the value after the last digit.</p>"
                                "<p> Make the appropiate selection to continue</p>";

UserMessage critical(const char* caption, std::string text)
{
    return UserMessage{MessageKind::Critical, caption, std::move(text), false, {}};
}

} // namespace

std::optional<UserMessage> checkMinElevation(std::string_view text, std::int32_t& stored)
{
    const char* caption = "Minimum Elevation Height";
    if (text.empty())
        return critical(caption, "<p>The Minimum Elevation Height has not been set.<br> It must be a positiive number "
                                 "equal to or greater than ZERO</p><p> Make the appropiate selection to continue</p>");
    const std::optional<std::int32_t> value = readWholeNumber(text);
    stored = value.value_or(0);
    if (!value)
        return critical(caption, std::string("<p>The Minimum Elevation Height has an error.</p>") + COMMON_TAIL);
    if (*value < 0)
        return critical(caption, std::string("<p>The Minimum Elevation Height is negative.</p>") + COMMON_TAIL);
    return std::nullopt;
}

std::optional<UserMessage> checkContourInterval(std::string_view text, std::int32_t& stored)
{
    const char* caption = "Contour Interval";
    if (text.empty())
        return critical(caption, "<p>Contour Interval has not been set.<br> It must be a positiive number equal to "
                                 "or greater than ZERO</p><p> Make the appropiate selection to continue</p>");
    const std::optional<std::int32_t> value = readWholeNumber(text);
    stored = value.value_or(0);
    if (!value)
        return critical(caption, std::string("<p>Contour Interval has an error.</p>") + COMMON_TAIL);
    if (*value <= 0) {
        UserMessage refused = critical(caption, std::string("<p>The Contour Interval is negative.</p>") + COMMON_TAIL);
        refused.note = contourIntervalNote(*value);
        return refused;
    }
    return std::nullopt;
}

UserMessage noFileLoadedMessage()
{
    return critical("No File Loaded", "<p>No file has been selected yet</p><p>Select a BMP file to continue</p>");
}

UserMessage noColourSetMessage()
{
    return critical("Elevation Colour Set", "<p><b>The Elevation Colour Set</b> to be used has not been selected.</p>"
                                            "<p> Make the appropiate selection to continue</p>");
}

} // namespace qarn
