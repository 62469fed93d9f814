#include "sizer/sizer_texts.h"

#include <cctype>
#include <initializer_list>

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

namespace {

std::string lowerTagName(const std::string& tag)
{
    std::string name;
    for (char c : tag) {
        if (std::isspace(static_cast<unsigned char>(c)) || c == '>')
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

std::string plainLines(const std::string& text)
{
    std::string flat;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            const std::size_t end = text.find('>', i);
            if (end == std::string::npos)
                break;
            const std::string name = lowerTagName(text.substr(i + 1, end - i - 1));
            if (name == "br" || name == "br/" || name == "/p" || name == "p" || name == "li")
                flat += '\n';
            i = end;
        } else if (text.compare(i, 4, "&lt;") == 0) {
            flat += '<';
            i += 3;
        } else if (text.compare(i, 4, "&gt;") == 0) {
            flat += '>';
            i += 3;
        } else if (text.compare(i, 5, "&amp;") == 0) {
            flat += '&';
            i += 4;
        } else {
            flat += text[i];
        }
    }
    std::string out;
    std::size_t start = 0;
    while (start <= flat.size()) {
        std::size_t end = flat.find('\n', start);
        if (end == std::string::npos)
            end = flat.size();
        const std::string line = trimmed(flat.substr(start, end - start));
        if (!line.empty())
            out += line + '\n';
        start = end + 1;
    }
    return out;
}
