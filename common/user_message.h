#pragma once

#include <string>

namespace qarn {

// A message for the user as both windows and qarn show it: the kind of box,
// its caption and its rich text. Plain data; no errors.

enum class MessageKind { Information, Warning, Critical, About };

struct UserMessage {
    MessageKind kind = MessageKind::Information;
    std::string caption;
    std::string text;      // rich text
    bool hasParent = true; // false: the box is shown without a parent window
};

} // namespace qarn
