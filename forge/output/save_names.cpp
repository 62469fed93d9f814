#include "forge/output/save_names.h"

#include <string_view>

#include "common/platform.h"

namespace qarn {

namespace {

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matchesAt(std::string_view text, std::size_t at, std::string_view word, bool ignoreCase)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char a = text[at + i];
        const char b = word[i];
        if (ignoreCase ? asciiLower(a) != asciiLower(b) : a != b)
            return false;
    }
    return true;
}

std::string withoutEvery(std::string_view text, std::string_view word, bool ignoreCase)
{
    std::string kept;
    kept.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (matchesAt(text, i, word, ignoreCase)) {
            i += word.size();
        } else {
            kept.push_back(text[i]);
            ++i;
        }
    }
    return kept;
}

// The removal applies to the file name only: a folder called "maps.bmp.d"
// keeps its name.
std::string nameWithoutEvery(std::string_view path, std::string_view word, bool ignoreCase)
{
    const std::size_t slash = path.find_last_of(platform::FOLDER_SEPARATORS);
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(path.substr(0, nameStart)) + withoutEvery(path.substr(nameStart), word, ignoreCase);
}

} // namespace

std::string proposedSaveName(const std::string& bmpPath)
{
    return nameWithoutEvery(bmpPath, ".bmp", true) + "-arcinfo-ascii.asc";
}

std::string gridFileNameFor(const std::string& chosenName)
{
    return nameWithoutEvery(chosenName, ".asc", false) + ".asc";
}

std::string reportFileNameFor(const std::string& chosenName)
{
    return nameWithoutEvery(chosenName, ".asc", true) + "-Build_Data.txt";
}

std::vector<std::string> gridAndReportFileNames(const std::string& chosenName)
{
    return {gridFileNameFor(chosenName), reportFileNameFor(chosenName)};
}

} // namespace qarn
