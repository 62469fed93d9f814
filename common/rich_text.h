#pragma once

#include <initializer_list>
#include <string>

namespace qarn {

// The rich text of a message turned into plain lines for a terminal, and
// numbered arguments filled into a text. Pure functions, no failures.

// Paragraphs, <br> and list items become line breaks (an item starts with
// "  - "), other tags go, the entities &lt; &gt; &amp; are decoded, every line is
// trimmed, empty lines are dropped and each line ends with "\n".
std::string plainText(const std::string& richText);

// `text` with %1, %2, ... replaced by the arguments in order.
std::string fillText(const std::string& text, std::initializer_list<std::string> args);

} // namespace qarn
