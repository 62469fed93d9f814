// Installs this build into a temporary prefix with `cmake --install` and runs
// the installed qarn on the installed sample map.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using qarn_test::readFile;
using qarn_test::TempDir;

namespace {

struct CommandRun {
    int status = -1;
    std::string output; // standard output and error together
};

// Runs a shell command in `workingDir`, its output captured beside that folder.
CommandRun runIn(const fs::path& workingDir, const std::string& command)
{
    const fs::path log = workingDir.parent_path() / (workingDir.filename().string() + ".log");
    const std::string line = "cd '" + workingDir.string() + "' && " + command + " > '" + log.string() + "' 2>&1";
    const int raw = std::system(line.c_str());
    CommandRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.output = readFile(log);
    fs::remove(log);
    return run;
}

// The installed qarn with its arguments, as a shell command.
std::string installedQarn(const fs::path& prefix, const std::string& arguments)
{
    std::string command = "'";
    command += (prefix / "bin/qarn").string();
    command += "' ";
    command += arguments;
    return command;
}

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Width and height from a PNG's signature and IHDR chunk; 0 x 0 if it is none.
std::pair<std::uint32_t, std::uint32_t> pngSize(const fs::path& path)
{
    const std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    return {bigEndian32(bytes, 16), bigEndian32(bytes, 20)};
}

// A key of a desktop entry: letters, digits and '-', with an optional [locale].
bool isDesktopKey(const std::string& key)
{
    const std::size_t bracket = key.find('[');
    const std::string name = key.substr(0, bracket);
    if (name.empty())
        return false;
    for (char ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '-')
            return false;
    return bracket == std::string::npos || (key.back() == ']' && key.size() > bracket + 2);
}

// Keys of the [Desktop Entry] group; a malformed line or a repeated key fails the test.
std::map<std::string, std::string> desktopEntryKeys(const fs::path& path)
{
    std::map<std::string, std::string> keys;
    std::istringstream in(readFile(path));
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[') {
            EXPECT_FALSE(inGroup) << path << ": only one group expected";
            EXPECT_EQ(line, "[Desktop Entry]") << path;
            inGroup = true;
            continue;
        }
        EXPECT_TRUE(inGroup) << path << ": key before the group: " << line;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || !isDesktopKey(line.substr(0, equals))) {
            ADD_FAILURE() << path << ": not a key=value line: '" << line << "'";
            continue;
        }
        const std::string key = line.substr(0, equals);
        EXPECT_TRUE(keys.emplace(key, line.substr(equals + 1)).second) << path << ": repeated key " << key;
    }
    return keys;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = std::make_unique<TempDir>();
        const CommandRun run = runIn(prefix_->path(), "'" CMAKE_COMMAND_PATH "' --install '" QARN_BINARY_DIR
                                               "' --prefix '" + prefix_->path().string() + "'");
        installStatus_ = run.status;
        installOutput_ = run.output;
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override { ASSERT_EQ(installStatus_, 0) << installOutput_; }

    static fs::path at(const std::string& relative) { return prefix_->path() / relative; }

    static std::unique_ptr<TempDir> prefix_;
    static int installStatus_;
    static std::string installOutput_;
};

std::unique_ptr<TempDir> Installed::prefix_;
int Installed::installStatus_ = -1;
std::string Installed::installOutput_;

} // namespace

TEST_F(Installed, PutsProgramsSampleAndPaletteInPlace)
{
    EXPECT_TRUE(fs::exists(at("bin/qarn")));
    EXPECT_EQ(readFile(at("share/qarn/sample-map.bmp")), readFile(QARN_SOURCE_DIR "/examples/sample-map.bmp"));
    EXPECT_EQ(readFile(at("share/qarn/QarnSizer_MAP_Data.xdt")),
              readFile(QARN_SOURCE_DIR "/examples/QarnSizer_MAP_Data.xdt"));
    EXPECT_EQ(readFile(at("share/qarn/qarn-system-colours.gpl")),
              readFile(QARN_BINARY_DIR "/packaging/qarn-system-colours.gpl"));
    EXPECT_EQ(readFile(at("share/qarn/qarn-system-colours.gpl")).rfind("GIMP Palette\n", 0), 0u);
#ifdef QARN_WITH_WINDOWS
    for (const char* program : {"QarnForge", "QarnSizer"}) {
        const fs::path path = at(std::string("bin/") + program);
        EXPECT_TRUE(fs::exists(path)) << path;
        EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << path;
    }
#endif
}

#ifdef QARN_WITH_WINDOWS
TEST_F(Installed, EachWindowedProgramHasAValidMenuEntryAndIcon)
{
    const std::set<std::string> mainCategories = {"AudioVideo", "Audio", "Video", "Development", "Education",
                                                  "Game", "Graphics", "Network", "Office", "Science",
                                                  "Settings", "System", "Utility"};
    for (const std::string program : {"QarnForge", "QarnSizer"}) {
        SCOPED_TRACE(program);
        std::string lower = program;
        for (char& ch : lower)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const fs::path entry = at("share/applications/" + lower + ".desktop");
        ASSERT_TRUE(fs::exists(entry)) << entry;
        auto keys = desktopEntryKeys(entry);
        EXPECT_EQ(keys["Type"], "Application");
        EXPECT_EQ(keys["Name"], program);
        EXPECT_FALSE(keys["Comment"].empty());
        EXPECT_EQ(keys["Terminal"], "false");
        // Exec names the installed program (found on PATH); Icon an installed theme icon.
        EXPECT_EQ(keys["Exec"], program);
        EXPECT_TRUE(fs::exists(at("bin/" + keys["Exec"])));
        EXPECT_EQ(keys["Icon"], lower);
        EXPECT_EQ(pngSize(at("share/icons/hicolor/32x32/apps/" + keys["Icon"] + ".png")),
                  std::make_pair(32u, 32u));
        // Categories: a ';'-terminated list holding at least one main category.
        const std::string categories = keys["Categories"];
        ASSERT_FALSE(categories.empty());
        EXPECT_EQ(categories.back(), ';');
        bool hasMain = false;
        std::istringstream list(categories);
        for (std::string category; std::getline(list, category, ';');)
            hasMain = hasMain || mainCategories.count(category) > 0;
        EXPECT_TRUE(hasMain) << categories;
        if (keys.count("Keywords")) {
            EXPECT_EQ(keys["Keywords"].back(), ';');
        }
    }
}
#endif

TEST_F(Installed, QarnReportsTheProjectVersion)
{
    const CommandRun run = runIn(prefix_->path(), installedQarn(prefix_->path(), "--version"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "qarn " QARN_VERSION "\n");
}

TEST_F(Installed, InstalledQarnBuildsTheInstalledSampleWithAPreview)
{
    TempDir work;
    fs::copy_file(at("share/qarn/sample-map.bmp"), work.path() / "sample-map.bmp");
    fs::copy_file(at("share/qarn/QarnSizer_MAP_Data.xdt"), work.path() / "QarnSizer_MAP_Data.xdt");
    const CommandRun run =
        runIn(work.path(), installedQarn(prefix_->path(), "build sample-map.bmp --colour-set system --min 100"
                                                          " --interval 20 --preview sample-preview.png"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Built a grid of 45 rows x 70 columns"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("sample-preview.png (560 x 360 pixels)"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(work.path() / "sample-map-arcinfo-ascii.asc"));
    EXPECT_TRUE(fs::exists(work.path() / "sample-map-arcinfo-ascii-Build_Data.txt"));
    EXPECT_FALSE(fs::exists(work.path() / "hightvals.dat"));
    EXPECT_EQ(pngSize(work.path() / "sample-preview.png"), std::make_pair(560u, 360u));

    // A second opinion on the PNG from ImageMagick, when it is there.
    if (std::system("command -v identify > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick identify not installed; checked the PNG signature and IHDR only";
    const CommandRun identify = runIn(work.path(), "identify -format '%m %w %h' sample-preview.png");
    EXPECT_EQ(identify.status, 0) << identify.output;
    EXPECT_EQ(identify.output, "PNG 560 360");
}

TEST_F(Installed, PreviewThatCannotBeWrittenFailsAndKeepsTheGrid)
{
    TempDir work;
    fs::copy_file(at("share/qarn/sample-map.bmp"), work.path() / "sample-map.bmp");
    const CommandRun run =
        runIn(work.path(), installedQarn(prefix_->path(), "build sample-map.bmp --colour-set system --min 100"
                                                          " --interval 20 --preview no-such-folder/preview.png"));
    EXPECT_EQ(run.status, 8) << run.output;
    EXPECT_NE(run.output.find("no-such-folder/preview.png"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(work.path() / "sample-map-arcinfo-ascii.asc"));
}
