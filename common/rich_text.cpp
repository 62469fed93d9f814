#include "common/rich_text.h"

#include <cctype>
#include <initializer_list>

namespace qarn {

namespace {

std::string lowerTagName(const std::string& tag)
{
    std::string name;
    for (char c : tag) {
        if (std::isspace(static_cast<unsigned char>(c)))
            break;
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string trimmed(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const std::size_t last = line.find_last_not_of(" \t");
    return line.substr(first, last - first + 1);
}

} // namespace

std::string plainText(const std::string& richText)
{
    static const std::pair<const char*, char> entities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    std::string flat;
    for (std::size_t i = 0; i < richText.size(); ++i) {
        if (richText[i] == '<') {
            const std::size_t end = richText.find('>', i);
            if (end == std::string::npos)
                break;
            const std::string name = lowerTagName(richText.substr(i + 1, end - i - 1));
            if (name == "br" || name == "br/" || name == "p" || name == "/p" || name == "ul" || name == "/ul" ||
                name == "/li")
                flat += '\n';
            else if (name == "li")
                flat += "\n\x01"; // an item's mark, put back after trimming
            i = end;
            continue;
        }
        bool decoded = false;
        for (const auto& [entity, value] : entities) {
            const std::string e(entity);
            if (richText.compare(i, e.size(), e) == 0) {
                flat += value;
                i += e.size() - 1;
                decoded = true;
                break;
            }
        }
        if (!decoded)
            flat += richText[i];
    }
    std::string out;
    std::size_t start = 0;
    while (start <= flat.size()) {
        std::size_t end = flat.find('\n', start);
        if (end == std::string::npos)
            end = flat.size();
        std::string line = trimmed(flat.substr(start, end - start));
        if (!line.empty() && line.front() == '\x01')
            line = "  - " + trimmed(line.substr(1));
        if (!line.empty())
            out += line + '\n';
        start = end + 1;
    }
    return out;
}

std::string fillText(const std::string& text, std::initializer_list<std::string> args)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace qarn
