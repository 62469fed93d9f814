#include "forge/extract/build_messages.h"

#include "forge/extract/result_codes.h"

#include <cctype>
#include <utility>

namespace {

UserMessage box(MessageKind kind, const char* caption, std::string text, bool hasParent = true)
{
    return UserMessage{kind, caption, std::move(text), hasParent};
}

const char* const COLOUR_ERROR_TEXT =
    "<HTML><p><b>There is an odd colour in your file or you have used a Reserved Colour</b></p>"
    "<p>This has resulted in developing a height table that has icorrrect heights.<br>"
    "It will not be processed further by the program.</p>"
    "<p>If a colour that is not in the defined Elevation Colour Set is in the file it will generate<br>"
    "a height value of -9999.</p>"
    "<p>You will need to terminate the program and check your BMP file.<br>"
    "If you provided your own Elevation Colour Set check that against the used colours in your map.</p>"
    "<p>Reserved Colours are:<ul><li>WHITE R= 255 G= 255 B= 255</li><li>BLACK R= 0 G= 0 B= 0</li>"
    "<li>BLUE R= 0 G= 0 B= 255</li><li>BLUE1  R= 0   G= 128 B= 192</li><li>BLUE2  R= 0   G= 192 B= 192</li>"
    "<li>GREEN  R= 0   G= 255 B= 0</li><li>YELLOW R= 255 G= 255 B= 0</li></p>"
    "<p><b>End the program and resolve the colour problem</b></p></HTML>";

} // namespace

UserMessage messageForBuildResult(int result, bool colourError)
{
    switch (result) {
    case RESULT_OK:
        if (colourError)
            return box(MessageKind::Information, "Colour Error in BMP file", COLOUR_ERROR_TEXT);
        return box(MessageKind::Information, "Clean Run",
                   "Got good data from file, <br>writing results to Temporary file");
    case RESULT_NOT_BMP:
        return box(MessageKind::Warning, "File Not Valid",
                   "The BMP file loaded is not a valid BMP file<br>Reload a valid BMP file to continue");
    case RESULT_BAD_HEADER:
        return box(MessageKind::Critical, "Currupt Image Data",
                   "The Image appears to have some currupt data<br>Close the Program and check the image BMP file");
    case RESULT_UNSUPPORTED_BMP:
        return box(MessageKind::Critical, "Legal BMP file but odd problem",
                   "Not sure what it is but there are problem with the image<br>"
                   "Check the BMP file and possibly save it with a 256 colour reselution<br>"
                   "Close the Program and check the image BMP file");
    case RESULT_NO_MEMORY_PALETTE:
    case RESULT_NO_MEMORY_PIXELS:
    case RESULT_NO_MEMORY:
        return box(MessageKind::Critical, "Ran out of memory",
                   "Ran out of memory<br>Close the Program<br>shut down any other running programs and try again");
    case RESULT_TEMP_FILE_FAILED:
        return box(MessageKind::Critical, "Can not open file", "Can not open temp output files<br>Close Program",
                   false);
    case RESULT_CANNOT_OPEN_BMP:
        return box(MessageKind::Critical, "Can not find file",
                   "Can not find or open the BMP file<br>possibly ran out of memory<br>Close the Program");
    case RESULT_NO_MAP_BLOCKS:
        return box(MessageKind::Critical, "Map Too Small",
                   "The image does not hold one whole 10 x 10 pixel map block<br>"
                   "A map must be at least 10 pixels wide and 10 pixels high, not counting the 10 pixel rows "
                   "of a User Elevation Colour Set<br>"
                   "Check the BMP file and the Elevation Colour Set selection");
    case RESULT_TOO_MANY_BLOCKS:
        return box(MessageKind::Critical, "Map Too Large",
                   "The image holds more than 1201 rows or columns of 10 x 10 pixel blocks<br>"
                   "The elevation grid holds at most 1201 x 1201 blocks<br>"
                   "Use the Qarn Sizer to find the picture size and check the BMP file");
    case RESULT_HEIGHTS_TOO_LARGE:
        return box(MessageKind::Critical, "Heights Too Large",
                   "The Minimum Elevation Height and the Contour Interval give the colours heights "
                   "above 2147483647 m<br>"
                   "Enter a smaller Minimum Elevation Height or Contour Interval and confirm the data again");
    default:
        return box(MessageKind::Critical, "File reading Error",
                   "Error reading file ERROR = " + std::to_string(result) + "<br>Close the Program");
    }
}

UserMessage mapDataMissingMessage()
{
    return box(MessageKind::Warning, "Can not find file",
               "The program can not locate the file <b>QarnSizer_MAP_Data.xdt</b></p>"
               "<p>Some data for thsi map is NOT available to this program<br>"
               "This may cause problems when building the final map with the Tesselkit");
}

UserMessage resultsReadyMessage()
{
    return box(MessageKind::Information, "Results Ready to View and Edit",
               "<HTML><p>The Basic Elevation Heights have been calculated and are now displayed in a table "
               "availaable via the Tab titled <b><i>Edit Grids</i></b></p><p>Edit the values and then save the "
               "results, by using the <i>File Save </i> or<br><i>File Save As </i> menu.</p><p>A file called "
               "<i>mymap</i>-arcinfo-ascii.asc will be created in the directory<br>this is an ArcGrid ASCII "
               "file.</p><p>It will need to be further processed by the program Gradon<br>to make an USGS ASCII "
               "DEM  then to the Korvel Tesselkit to build the map.</p></HTML>");
}

std::string plainTextOf(const std::string& richText)
{
    std::string out;
    auto newline = [&out] {
        if (!out.empty() && out.back() != '\n')
            out.push_back('\n');
    };
    for (std::size_t i = 0; i < richText.size();) {
        const char ch = richText[i];
        if (ch == '<') {
            const std::size_t end = richText.find('>', i);
            if (end == std::string::npos) { // not markup after all
                out.append(richText, i, std::string::npos);
                break;
            }
            std::string tag = richText.substr(i + 1, end - i - 1);
            for (char& c : tag)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const std::string name = tag.substr(0, tag.find(' '));
            if (name == "br" || name == "p" || name == "/p" || name == "ul" || name == "/ul" || name == "/li")
                newline();
            else if (name == "li") {
                newline();
                out += "  - ";
            }
            i = end + 1;
        } else if (ch == '&') {
            static const std::pair<const char*, char> entities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
            bool decoded = false;
            for (const auto& [entity, value] : entities) {
                const std::string e(entity);
                if (richText.compare(i, e.size(), e) == 0) {
                    out.push_back(value);
                    i += e.size();
                    decoded = true;
                    break;
                }
            }
            if (!decoded)
                out.push_back(richText[i++]);
        } else if (ch == '\n') {
            newline();
            ++i;
        } else {
            out.push_back(ch);
            ++i;
        }
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}
