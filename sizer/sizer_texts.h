#pragma once

// The calculator's own texts that both the QarnSizer window and `qarn size`
// show, kept in one place so the two never drift apart. The window passes each
// through Qt's translation lookup in the "SizerWindowBase" context; qarn prints
// them as plain lines. Pure functions, no failures.

namespace qarn {

namespace sizer_text {

// Entry checks of "Get Results", in check order.
inline constexpr const char* NO_COLOUR_SET_CAPTION = "Elevation Colour Set not established";
inline constexpr const char* NO_COLOUR_SET_TEXT =
    "<p><b>The Elevation Colour Set</b> to be used has not been selected.</p>"
    "<p> Make the appropiate selection to continue</p>";
inline constexpr const char* BOTH_TOO_LARGE_CAPTION = "Width and Height Value Errors";
inline constexpr const char* BOTH_TOO_LARGE_TEXT =
    "Width and Height are both greater than 5000.\n"
    " Width and Height are in 10's of meters not full meters\n"
    " Correct the values to continue";
inline constexpr const char* HEIGHT_TOO_LARGE_CAPTION = "Height Value Error";
inline constexpr const char* HEIGHT_TOO_LARGE_TEXT =
    "Height is greater than 5000.\n"
    " Height is entered as 10's of meters not full meters\n"
    " Correct the values to continue";
inline constexpr const char* WIDTH_TOO_LARGE_CAPTION = "Width Value Error";
inline constexpr const char* WIDTH_TOO_LARGE_TEXT =
    "Width is greater than 5000.\n"
    " Width is entered as 10's of meters not full meters\n"
    " Correct the values to continue";
inline constexpr const char* NOT_POSITIVE_CAPTION = "Width and/or Height Value Errors";
inline constexpr const char* NOT_POSITIVE_TEXT =
    "Width or Height are either equal to ZERO or less than ZERO.\n"
    " Correct the values to continue";

// Status bar.
inline constexpr const char* STATUS_PROCESSING = "Processing";
inline constexpr const char* STATUS_RESULTS_READY = "Results Ready";
inline constexpr const char* STATUS_WRITING =
    "Details are being writen to a text file, QarnSizer_Data.txt, so you will not forget the results!";
inline constexpr const char* STATUS_WRITTEN = "A file called QarnSizer_Data.txt has been written to your directory";
inline constexpr int STATUS_TIMEOUT_MS = 2000;

// The box shown after the exit files are written.
inline constexpr const char* EXIT_FILES_CAPTION = "Qarn Sizer run details now available";
inline constexpr const char* EXIT_FILES_TEXT =
    "<HTML><p><b>OUTPUT FILES :</b></p><p>There are <b>two</b>, 2, output files on exit from this program</p>"
    "<p>The first file is called <b>QarnSizer_Data.txt</b><br>It hold the values needed to make yoru BMP file.</p>"
    "<p>The second file is called <b>QarnSizer_MAP_Data.xdt</b>. It is a binary file<br>It is needed by the "
    "program <b><i>Qarn Forge</i></b>, the terain building program.</p><p>When converting your BMP file to a "
    "terrain model<br>you must have the file QarnSizer_MAP_Data.xdt in the same directory as your BMP file.<br>"
    "The application <i><b>Qarn Forge</b></i> requires data from this file</p></HTML>";

// An exit file that could not be written: %1 the file name, %2 the reason.
inline constexpr const char* FILE_NOT_WRITTEN_CAPTION = "File Not Written";
inline constexpr const char* FILE_NOT_WRITTEN_TEXT =
    "<p>The file <b>%1</b> could not be written:<br>%2</p><p>Your results were not saved in it.</p>";

inline constexpr const char* ABOUT_CAPTION = "Qarn Sizer About";
inline constexpr const char* ABOUT_TEXT =
    "This program is used to determine the size in pixels \n"
    "of a BMP graphic representation of terrain based on an intended map size.\n"
    "Maps are restricted to sizes of 50Km x 50Km and smaller";

// Labels of the "Results" tab.
inline constexpr const char* ENTERED_HEIGHT_LABEL = "Entered Map Height was : ";
inline constexpr const char* ENTERED_WIDTH_LABEL = "Entered Map Width was : ";
inline constexpr const char* TENS_OF_METRES_UNIT = "(10's m)";
inline constexpr const char* RESULT_HEIGHT_LABEL = "Resulting Map Height (approximate) :";
inline constexpr const char* RESULT_WIDTH_LABEL = "Resulting Map Width (approximate) :";
inline constexpr const char* METRES_UNIT = "m";
inline constexpr const char* PIXEL_HEIGHT_LABEL = "Pixel Height for the Map :";
inline constexpr const char* PIXEL_WIDTH_LABEL = "Pixel Width for the Map :";
inline constexpr const char* USER_PIXEL_HEIGHT_LABEL = "Pixel Height for the Map with User Colour Set :";
inline constexpr const char* USER_PIXEL_WIDTH_LABEL = "Pixel Width for the Map with User Colour Set :";

} // namespace sizer_text

} // namespace qarn
