#include "fuzz/fuzz_targets.h"

#include "forge/output/table_text.h"

#include <cstdint>

// A cell's text is compared with a plain reading of the rule: blanks stripped
// from both ends, then one optional sign and decimal digits, nothing else,
// within the int range; anything else is 0.

namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int referenceHeight(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-'))
        negative = text[begin++] == '-';
    if (begin == end)
        return 0;
    std::int64_t magnitude = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::int64_t{INT32_MAX} + 1)
            return 0;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return 0;
    return static_cast<int>(value);
}

} // namespace

std::string fuzzTableText(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int got = tableTextToHeight(text);
    const int want = referenceHeight(text);
    if (got != want)
        return "cell text gives " + std::to_string(got) + ", expected " + std::to_string(want);
    return {};
}
