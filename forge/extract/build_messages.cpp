#include "forge/extract/build_messages.h"

#include "forge/extract/bmp_image.h"
#include "forge/extract/result_codes.h"

#include <utility>

namespace qarn {

namespace {

UserMessage box(MessageKind kind, const char* caption, std::string text, bool hasParent = true)
{
    return UserMessage{kind, caption, std::move(text), hasParent, {}};
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

UserMessage messageForBuildResult(ExtractResult result, bool colourError)
{
    switch (result) {
    case ExtractResult::Ok:
        if (colourError)
            return box(MessageKind::Information, "Colour Error in BMP file", COLOUR_ERROR_TEXT);
        return box(MessageKind::Information, "Clean Run",
                   "Got good data from file, <br>writing results to Temporary file");
    case ExtractResult::NotBmp:
        return box(MessageKind::Warning, "File Not Valid",
                   "The BMP file loaded is not a valid BMP file<br>Reload a valid BMP file to continue");
    case ExtractResult::BadHeader:
        return box(MessageKind::Critical, "Currupt Image Data",
                   "The Image appears to have some currupt data<br>Close the Program and check the image BMP file");
    case ExtractResult::UnsupportedBmp:
        return box(MessageKind::Critical, "Legal BMP file but odd problem",
                   "Not sure what it is but there are problem with the image<br>"
                   "Check the BMP file and possibly save it with a 256 colour reselution<br>"
                   "Close the Program and check the image BMP file");
    case ExtractResult::NoMemoryPixels:
    case ExtractResult::NoMemory:
        return box(MessageKind::Critical, "Ran out of memory",
                   "Ran out of memory<br>Close the Program<br>shut down any other running programs and try again");
    case ExtractResult::TempFileFailed:
        return box(MessageKind::Critical, "Can not open file", "Can not open temp output files<br>Close Program",
                   false);
    case ExtractResult::CannotOpenBmp:
        return box(MessageKind::Critical, "Can not find file",
                   "Can not find or open the BMP file<br>possibly ran out of memory<br>Close the Program");
    case ExtractResult::NoMapBlocks:
        return box(MessageKind::Critical, "Map Too Small",
                   "The image does not hold one whole 10 x 10 pixel map block<br>"
                   "A map must be at least 10 pixels wide and 10 pixels high, not counting the 10 pixel rows "
                   "of a User Elevation Colour Set<br>"
                   "Check the BMP file and the Elevation Colour Set selection");
    case ExtractResult::TooManyBlocks:
        return box(MessageKind::Critical, "Map Too Large",
                   "The image holds more than 1201 rows or columns of 10 x 10 pixel blocks<br>"
                   "The elevation grid holds at most 1201 x 1201 blocks<br>"
                   "Use the Qarn Sizer to find the picture size and check the BMP file");
    case ExtractResult::HeightsTooLarge:
        return box(MessageKind::Critical, "Heights Too Large",
                   "The Minimum Elevation Height and the Contour Interval give the colours heights "
                   "beyond 16777216 m<br>"
                   "Enter a smaller Minimum Elevation Height or Contour Interval and confirm the data again");
    default:
        return box(MessageKind::Critical, "File reading Error",
                   "Error reading file ERROR = " + std::to_string(codeNumber(result)) + "<br>Close the Program");
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

std::string describeBmpRefusal(const std::string& path, ExtractResult result)
{
    const std::string what = unreadBmpFeature(path, result);
    if (what.empty())
        return {};
    std::string text = "The picture uses " + what +
                       ", which the builder does not read. Save it as an uncompressed 24-bit or 8-bit BMP: in GIMP, "
                       "File > Export As..., a name ending in .bmp, Export, then in the BMP dialog leave "
                       "Run-Length Encoded unticked and choose 24 bits R8 G8 B8 (under Advanced Options in "
                       "GIMP 2.10, RGB format in GIMP 3).";
    if (what.rfind("32 bits", 0) == 0)
        text += " Or remove the alpha channel first: Layer > Transparency > Remove Alpha Channel.";
    return text;
}

} // namespace qarn
