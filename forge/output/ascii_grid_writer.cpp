#include "forge/output/ascii_grid_writer.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "forge/grid/height_rounding.h"
#include "forge/output/output_result.h"
#include "forge/output/save_file.h"

namespace qarn {

namespace {

// The file's grid is always 1201 x 1201; a header declaring more is not ours.
constexpr int kLargestDeclaredSize = 1201;
// " " and "-2147483648".
constexpr std::size_t kMaxValueChars = 12;
// Lines are gathered into blocks of about this size before each fwrite.
constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

bool fits(float wholeMetres)
{
    // float(INT_MAX) rounds up to 2^31, so the upper bound is exclusive.
    return wholeMetres >= -2147483648.0f && wholeMetres < 2147483648.0f;
}

bool writeAll(std::FILE* out, const char* data, std::size_t size)
{
    return size == 0 || std::fwrite(data, 1, size, out) == size;
}

void appendLine(std::string& text, const char* line, std::size_t capacity)
{
    text.append(line, strnlen(line, capacity));
    text.push_back('\n');
}

} // namespace

OutputResult writeHeader(std::FILE* out, const AsciiGridHeader& header)
{
    std::string text;
    appendLine(text, header.ncolsLine, sizeof header.ncolsLine);
    appendLine(text, header.nrowsLine, sizeof header.nrowsLine);
    appendLine(text, header.xllcornerLine, sizeof header.xllcornerLine);
    appendLine(text, header.yllcornerLine, sizeof header.yllcornerLine);
    appendLine(text, header.cellsizeLine, sizeof header.cellsizeLine);
    appendLine(text, header.nodataLine, sizeof header.nodataLine);
    return writeAll(out, text.data(), text.size()) ? OutputResult::Ok : OutputResult::WriteFailed;
}

OutputResult checkGridForExport(const AsciiGridHeader& header, int rows, int cols, const float* heights)
{
    if (header.declaredRows < 1 || header.declaredCols < 1 ||
        header.declaredRows > kLargestDeclaredSize || header.declaredCols > kLargestDeclaredSize)
        return OutputResult::BadGridSize;
    if (rows < 1 || cols < 1 || rows > header.declaredRows || cols > header.declaredCols || !heights)
        return OutputResult::BadGridSize;
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    for (std::size_t i = 0; i < count; ++i) {
        if (!fits(roundHeight(heights[i]))) // NaN fails the comparison too
            return OutputResult::BadHeight;
    }
    return OutputResult::Ok;
}

OutputResult writeValues(std::FILE* out, const AsciiGridHeader& header, int rows, int cols, const float* heights)
{
    if (const OutputResult code = checkGridForExport(header, rows, cols, heights); code != OutputResult::Ok)
        return code;

    const std::size_t declaredCols = static_cast<std::size_t>(header.declaredCols);
    const std::size_t longestLine = declaredCols * kMaxValueChars + 1;
    std::vector<char> block(kBlockBytes + longestLine);
    char* const begin = block.data();
    char* const end = begin + block.size();
    char* p = begin;
    const auto flushIfFull = [&]() {
        if (static_cast<std::size_t>(end - p) >= longestLine)
            return true;
        const bool ok = writeAll(out, begin, static_cast<std::size_t>(p - begin));
        p = begin;
        return ok;
    };
    const auto zerosUpToEnd = [&](std::size_t from) {
        for (std::size_t c = from; c < declaredCols; ++c) {
            *p++ = ' ';
            *p++ = '0';
        }
        *p++ = '\n';
    };

    for (int r = rows; r < header.declaredRows; ++r) {
        if (!flushIfFull())
            return OutputResult::WriteFailed;
        zerosUpToEnd(0);
    }
    for (int r = 0; r < rows; ++r) {
        if (!flushIfFull())
            return OutputResult::WriteFailed;
        const float* row = heights + static_cast<std::size_t>(r) * static_cast<std::size_t>(cols);
        for (int c = 0; c < cols; ++c) {
            *p++ = ' ';
            p = std::to_chars(p, end, static_cast<int>(roundHeight(row[c]))).ptr;
        }
        zerosUpToEnd(static_cast<std::size_t>(cols));
    }
    return writeAll(out, begin, static_cast<std::size_t>(p - begin)) ? OutputResult::Ok : OutputResult::WriteFailed;
}

OutputResult writeAsciiGrid(std::FILE* out, const AsciiGridHeader& header, int rows, int cols, const float* heights)
{
    const OutputResult code = writeHeader(out, header);
    return code != OutputResult::Ok ? code : writeValues(out, header, rows, cols, heights);
}

OutputResult checkGridForSaving(const std::string& path, const AsciiGridHeader& header, int rows, int cols,
                                const float* heights, std::string& error)
{
    error.clear();
    const OutputResult code = checkGridForExport(header, rows, cols, heights);
    if (code != OutputResult::Ok) {
        std::string reason = describe(code);
        if (code == OutputResult::BadGridSize)
            reason += " (" + std::to_string(rows) + " rows, " + std::to_string(cols) + " columns)";
        error = saveFailureText(path, reason);
    }
    return code;
}

OutputResult saveAsciiGrid(const std::string& path, const AsciiGridHeader& header, int rows, int cols,
                           const float* heights, std::string& error)
{
    if (const OutputResult code = checkGridForSaving(path, header, rows, cols, heights, error);
        code != OutputResult::Ok)
        return code;
    return saveFileAtomically(
        path, [&](std::FILE* out) { return writeAsciiGrid(out, header, rows, cols, heights); }, error);
}

} // namespace qarn
