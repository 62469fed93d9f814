#pragma once

#include <string_view>

// Turns the text of a results-table cell back into a height in metres: white
// space is stripped from both ends and the rest must be one base-10 integer
// (an optional sign and digits, nothing else).
// Errors: anything else (empty, "12.5", letters, beyond the int range) gives 0,
// silently, as the saved file has always shown it.
int tableTextToHeight(std::string_view text);
