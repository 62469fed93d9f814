#pragma once

#include <string>

namespace qarn {

// A message for the user as both windows and qarn show it: the kind of box,
// its caption and its rich text, and a line that explains it. Plain data; no errors.

enum class MessageKind { Information, Warning, Critical, About };

struct UserMessage {
    MessageKind kind = MessageKind::Information;
    std::string caption;
    std::string text;      // rich text
    bool hasParent = true; // false: the box is shown without a parent window
    // One plain line where the kept text says too little or misleads: qarn
    // prints it under the box, the windows show it in the status bar.
    std::string note;
};

} // namespace qarn
