// What the subcommands share: the picture options, the entries' check and
// the way a window's box is printed.
#include "cli/command.h"

#include <cstdio>
#include <optional>

#include "common/rich_text.h"
#include "forge/extract/build_inputs.h"

namespace qarn {

void printMessage(const UserMessage& message)
{
    std::fprintf(stderr, "%s:\n%s", message.caption.c_str(), plainText(message.text).c_str());
    if (!message.note.empty())
        std::fprintf(stderr, "%s\n", message.note.c_str());
}

bool confirmEntries(const std::string& min, const std::string& interval, std::int32_t& minElevation,
                    std::int32_t& contourInterval)
{
    std::optional<UserMessage> refused = checkMinElevation(min, minElevation);
    if (!refused)
        refused = checkContourInterval(interval, contourInterval);
    if (refused)
        printMessage(*refused);
    return !refused;
}

void addPictureOptions(CLI::App& cmd, std::string& picture, std::string& colourSet)
{
    cmd.add_option("MAP.bmp", picture, "The map picture: a BMP painted in 10 x 10 pixel blocks")->required();
    cmd.add_option("--colour-set", colourSet,
                   "system: the built-in 25-colour set; user: the set painted in the picture's top 10 pixel rows")
        ->required()
        ->check(CLI::IsMember({"system", "user"}));
}

} // namespace qarn
