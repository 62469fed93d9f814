#pragma once

// Test helpers: temporary folders, whole files, running a program, data
// tables kept beside the tests, the message catalogue, and BMP pictures.
// Helpers throw std::runtime_error when the machine refuses them (no temporary
// folder, a missing table), which fails the test that asked.

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qarn_test {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir()
    {
        static std::mt19937 random{std::random_device{}()};
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path candidate = fs::temp_directory_path() / ("qarn-test-" + std::to_string(random()));
            if (fs::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

// A read-and-write stream over a file of its own, as std::tmpfile gives on
// Linux; Windows' std::tmpfile makes its files in the drive's root folder,
// where they may not be allowed and their names run out.
inline std::FILE* scratchFile()
{
#ifdef _WIN32
    static TempDir folder;
    static int count = 0;
    return std::fopen(folder.file("scratch-" + std::to_string(count++)).c_str(), "w+b");
#else
    return std::tmpfile();
#endif
}

// The working directory, changed for the object's lifetime ("hightvals.dat" goes there).
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }
    ~ScopedWorkingDir()
    {
        std::error_code ec;
        fs::current_path(previous_, ec);
    }
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    fs::path previous_;
};

inline std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a folder, sorted: what a failed save must not leave behind.
inline std::vector<std::string> entriesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct CommandRun {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// A path quoted for the shell runIn uses: sh on Linux, cmd on Windows.
inline std::string shellQuoted(const std::string& path)
{
#ifdef _WIN32
    return "\"" + path + "\"";
#else
    return "'" + path + "'";
#endif
}

// Runs `command` through the shell in `workingDir` and collects what it printed.
inline CommandRun runIn(const fs::path& workingDir, const std::string& command)
{
    TempDir capture;
#ifdef _WIN32
    const std::string line = "cd /d " + shellQuoted(workingDir.string()) + " && " + command + " > " +
                             shellQuoted(capture.file("out")) + " 2> " + shellQuoted(capture.file("err"));
    const int status = std::system(line.c_str());
#else
    const std::string line = "cd " + shellQuoted(workingDir.string()) + " && " + command + " > " +
                             shellQuoted(capture.file("out")) + " 2> " + shellQuoted(capture.file("err"));
    const int raw = std::system(line.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    return {status, readFile(capture.file("out")), readFile(capture.file("err"))};
}

// A file of the source tree's tests/ folder.
inline fs::path testData(const std::string& name)
{
    return fs::path(QARN_SOURCE_DIR) / "tests" / name;
}

// A table kept as text: one row a line, fields split by tabs, "\n" and "\t"
// inside a field stand for a line end and a tab; blank lines and lines
// starting with '#' are left out.
using Row = std::vector<std::string>;
inline std::vector<Row> readTable(const std::string& name)
{
    std::ifstream in(testData(name));
    if (!in)
        throw std::runtime_error("missing table tests/" + name);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        Row row(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\t')
                row.emplace_back();
            else if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'n' || line[i + 1] == 't'))
                row.back() += line[++i] == 'n' ? '\n' : '\t';
            else
                row.back() += line[i];
        }
        rows.push_back(row);
    }
    return rows;
}

// Every text the user sees, typed from the original program's texts: kind
// ("information", "warning", "critical", "about", "status"), whether the box
// has a parent window, caption and text, by key.
struct CatalogueEntry {
    std::string kind;
    bool hasParent = true;
    std::string caption;
    std::string text;
};
inline std::map<std::string, CatalogueEntry> messageCatalogue()
{
    std::map<std::string, CatalogueEntry> entries;
    for (Row& row : readTable("messages.tsv")) {
        row.resize(5);
        for (std::size_t at; (at = row[4].find("@VERSION@")) != std::string::npos;)
            row[4].replace(at, 9, QARN_VERSION);
        entries[row[0]] = {row[1], row[2] == "yes", row[3], row[4]};
    }
    return entries;
}

// A BMP file of width x height pixels: bottom row first unless topDown, an
// information header of headerSize bytes (12 or less: the OS/2 core header,
// 3-byte palette entries), bitCount 1, 4, 8, 16 or 24. `pixel` gives each
// pixel's value (0xRRGGBB at 24 bits, a palette index below, the raw 16-bit
// value at 16) with y counted from the top; the palette has 2^bitCount
// entries (0xRRGGBB), missing ones black.
inline std::string encodeBmp(int width, int height, int bitCount, const std::function<std::uint32_t(int, int)>& pixel,
                             const std::vector<std::uint32_t>& palette = {}, std::uint32_t headerSize = 40,
                             bool topDown = false)
{
    auto put = [](std::string& out, std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const bool core = headerSize <= 12;
    const std::size_t entries = bitCount <= 8 ? std::size_t{1} << bitCount : 0;
    std::string out = "BM";
    put(out, 0, 8);
    put(out, 14 + headerSize + entries * (core ? 3 : 4), 4);
    std::string header;
    put(header, headerSize, 4);
    put(header, static_cast<std::uint32_t>(width), core ? 2 : 4);
    put(header, static_cast<std::uint32_t>(topDown ? -height : height), core ? 2 : 4);
    put(header, 1, 2);
    put(header, static_cast<std::uint32_t>(bitCount), 2);
    header.resize(headerSize, '\0');
    out += header;
    for (std::size_t i = 0; i < entries; ++i)
        put(out, i < palette.size() ? palette[i] : 0, core ? 3 : 4);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    for (int k = 0; k < height; ++k) {
        const int y = topDown ? k : height - 1 - k;
        std::string row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bitCount >= 16) {
                std::string bytes;
                put(bytes, v, bitCount / 8);
                row.replace(static_cast<std::size_t>(x) * (bitCount / 8), bytes.size(), bytes);
            } else {
                const int bit = x * bitCount;
                row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - bitCount - bit % 8)));
            }
        }
        out += row;
    }
    return out;
}

} // namespace qarn_test
