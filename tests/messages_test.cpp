// Every box and status text the core gives, compared whole with the catalogue
// tests/messages.tsv; the windows' own texts are compared in the window tests.
#include <gtest/gtest.h>

#include "forge/extract/build_inputs.h"
#include "forge/extract/build_messages.h"
#include "sizer/size_entry_checks.h"
#include "sizer/sizer_texts.h"
#include "tests/support/support.h"

using namespace qarn;

using namespace qarn_test;

namespace {

CatalogueEntry entryOf(const UserMessage& m)
{
    const char* kind = m.kind == MessageKind::Warning ? "warning" : m.kind == MessageKind::Critical ? "critical" :
                       m.kind == MessageKind::About ? "about" : "information";
    return {kind, m.hasParent, m.caption, m.text};
}

// The core's message for a catalogue key; false for a text only a window shows.
bool coreMessage(const std::string& key, CatalogueEntry& out)
{
    using namespace sizer_text;
    const std::string arg = key.substr(key.find(' ') + 1);
    const std::size_t open = key.find('"');
    const std::string quoted = open == std::string::npos ? "" : key.substr(open + 1, key.rfind('"') - open - 1);
    std::int32_t stored = 0;
    if (key == "build 0 colour")
        out = entryOf(messageForBuildResult(ExtractResult::Ok, true));
    else if (key.rfind("build ", 0) == 0)
        out = entryOf(messageForBuildResult(static_cast<ExtractResult>(std::stoi(arg)), false));
    else if (key == "map data missing")
        out = entryOf(mapDataMissingMessage());
    else if (key == "results ready")
        out = entryOf(resultsReadyMessage());
    else if (key == "confirm no file")
        out = entryOf(noFileLoadedMessage());
    else if (key == "confirm no colour set")
        out = entryOf(noColourSetMessage());
    else if (key.rfind("min ", 0) == 0)
        out = entryOf(checkMinElevation(quoted, stored).value_or(UserMessage{}));
    else if (key.rfind("interval ", 0) == 0)
        out = entryOf(checkContourInterval(quoted, stored).value_or(UserMessage{}));
    else if (key.rfind("size ", 0) == 0) {
        const SizeCheckMessage m = sizeCheckMessage(static_cast<SizeCheck>(std::stoi(arg)));
        out = {"critical", false, m.caption, m.text};
    } else if (key == "sizer exit")
        out = {"information", true, EXIT_FILES_CAPTION, EXIT_FILES_TEXT};
    else if (key == "sizer file not written")
        out = {"warning", true, FILE_NOT_WRITTEN_CAPTION, FILE_NOT_WRITTEN_TEXT};
    else if (key.rfind("sizer status ", 0) == 0) {
        const std::map<std::string, const char*> status = {{"processing", STATUS_PROCESSING},
            {"ready", STATUS_RESULTS_READY}, {"writing", STATUS_WRITING}, {"written", STATUS_WRITTEN}};
        out = {"status", true, "", status.at(key.substr(13))};
    } else
        return false;
    return true;
}

} // namespace

TEST(Messages, EveryCoreTextIsTheCataloguesWhole)
{
    int compared = 0;
    for (const auto& [key, expected] : messageCatalogue()) {
        CatalogueEntry got;
        if (!coreMessage(key, got))
            continue;
        ++compared;
        EXPECT_EQ(got.kind, expected.kind) << key;
        EXPECT_EQ(got.hasParent, expected.hasParent) << key;
        EXPECT_EQ(got.caption, expected.caption) << key;
        EXPECT_EQ(got.text, expected.text) << key;
    }
    EXPECT_EQ(compared, 36) << "a catalogue key the core no longer answers";
}

TEST(Messages, EntriesThatPassGiveNone)
{
    std::int32_t stored = -1;
    EXPECT_FALSE(checkMinElevation("0", stored));
    EXPECT_EQ(stored, 0);
    EXPECT_FALSE(checkContourInterval(" 1 ", stored));
    EXPECT_EQ(stored, 1);
}
