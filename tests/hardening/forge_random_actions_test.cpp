// Thousands of random steps through the builder's window: menu actions, radio
// clicks, typed entries, every button, table edits with undo and redo, and
// saves under awkward names, on the sample map and on broken pictures. After
// every step: no box or dialog left open, no temporary left anywhere, the
// actions offered as the steps so far allow, and every grid file and report
// either complete and equal to what was saved last, or absent.
#include "tests/forge_ui/recording_window.h"

#include "height_table_model.h"
#include "random_actions.h"

#include "forge/output/build_data_report.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using hardening::wholeNumber;
using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

const fs::path kExamples = fs::path(QARN_SOURCE_DIR) / "examples";
const int kDefaultActions = 3000;
const std::uint64_t kDefaultSeed = 20240611;
const QString kResultsReady = "Results Ready to View and Edit";

QString qpath(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

std::string utf8(const QString& s)
{
    return s.toStdString();
}

// The sample map, good copies of it under awkward names, and broken pictures.
struct Pictures {
    TempDir dir;
    std::vector<fs::path> good;   // build with the system set
    std::vector<fs::path> broken; // never build
    Pictures()
    {
        const std::string sample = readFile(kExamples / "sample-map.bmp");
        const auto put = [&](const fs::path& rel, const std::string& bytes) {
            fs::create_directories((dir.path() / rel).parent_path());
            writeFile(dir.path() / rel, bytes);
            return dir.path() / rel;
        };
        good.push_back(put("sample/sample-map.bmp", sample));
        put("sample/QarnSizer_MAP_Data.xdt", readFile(kExamples / "QarnSizer_MAP_Data.xdt"));
        good.push_back(put("with spaces/sample copy.bmp", sample)); // no map data beside it
        good.push_back(put(utf8(QString::fromUtf8("H\xc3\xb6hen/Karte \xc3\xbc.bmp")), sample));

        broken.push_back(put("broken/half.bmp", sample.substr(0, sample.size() / 2)));
        broken.push_back(put("broken/header only.bmp", sample.substr(0, 60)));
        broken.push_back(put("broken/empty.bmp", ""));
        broken.push_back(put("broken/notes.bmp", "These are my notes, not a picture.\n"));
        broken.push_back(put("broken/stray.bmp", withStrayColour(sample)));
        broken.push_back(dir.path() / "broken/gone.bmp");
    }

    // One block of the 8-bit sample painted with a palette entry no pixel
    // uses, set to a colour of no colour set.
    static std::string withStrayColour(std::string bmp)
    {
        const std::size_t palette = 54, pixels = 1078, width = 700;
        std::set<unsigned char> used(bmp.begin() + pixels, bmp.end());
        unsigned char stray = 0;
        while (used.count(stray))
            ++stray;
        bmp[palette + 4 * stray] = 3;
        bmp[palette + 4 * stray + 1] = 2;
        bmp[palette + 4 * stray + 2] = 1;
        for (std::size_t y = 200; y < 210; ++y)
            for (std::size_t x = 350; x < 360; ++x)
                bmp[pixels + y * width + x] = static_cast<char>(stray);
        return bmp;
    }
};

// The grid file the table's numbers make: six header lines, filler rows of
// zeros, then the map in the bottom-left corner, 1201 values a line.
std::string expectedGridFile(int rows, int cols, const std::vector<std::int32_t>& values)
{
    std::string text = "ncols 1201\nnrows 1201\nxllcorner 9.000000\nyllcorner 1.000000\n"
                       "cellsize 0.000833\nnodata_value -99\n";
    std::string zeros;
    for (int c = 0; c < 1201; ++c)
        zeros += " 0";
    for (int r = rows; r < 1201; ++r)
        text += zeros + "\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            // The grid holds heights as 32-bit floats.
            text.append(1, ' ').append(std::to_string(static_cast<std::int32_t>(static_cast<float>(values[r * cols + c]))));
        text += zeros.substr(std::size_t(cols) * 2) + "\n";
    }
    return text;
}

// A file name component longer than the file system allows.
bool nameFits(const fs::path& p)
{
    return p.filename().string().size() <= 255;
}

std::string withoutEvery(std::string text, const std::string& word, bool ignoreCase)
{
    const auto lower = [](std::string s) {
        for (char& c : s)
            c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        return s;
    };
    const std::string hay = ignoreCase ? lower(text) : text;
    std::string kept;
    for (std::size_t i = 0; i < text.size();) {
        if (hay.compare(i, word.size(), word) == 0) {
            i += word.size();
        } else {
            kept += text[i++];
        }
    }
    return kept;
}

struct Session {
    std::unique_ptr<RecordingWindow> w = std::make_unique<RecordingWindow>();
    fs::path picture;               // last picture chosen; empty before any
    bool colourChosen = false;
    int colourSet = FORGE_COLOUR_SET_NONE;
    bool buildOffered = false;
    std::int32_t confirmedMin = 0, confirmedInterval = 0;
    bool everBuilt = false;
    int savedOnce = 0;
    std::string lastGridName; // of the last Save As that got a name
};

} // namespace

class ForgeRandomActionsTest : public QObject {
    Q_OBJECT

private slots:
    void randomActionsLoseNothingAndNeverHang();

private:
    QString step(Session& s);
    QString save(Session& s, bool saveAs);
    QString checkAlways(Session& s);
    QString checkFile(const fs::path& path);

    std::unique_ptr<Pictures> pictures_;
    std::unique_ptr<TempDir> out_;
    std::unique_ptr<TempDir> work_;
    std::unique_ptr<hardening::Random> random_;
    hardening::ActionLog log_;
    std::map<fs::path, std::string> expected_; // every file saved so far, by its last good contents
    int saves_ = 0, failedSaves_ = 0, builds_ = 0, goodBuilds_ = 0, exits_ = 0;
};

void ForgeRandomActionsTest::randomActionsLoseNothingAndNeverHang()
{
    pictures_ = std::make_unique<Pictures>();
    out_ = std::make_unique<TempDir>();
    work_ = std::make_unique<TempDir>();
    fs::create_directory(out_->path() / "adir.asc"); // a folder where a grid file would go
    ScopedWorkingDir cd(work_->path());

    const std::uint64_t seed = hardening::seed(kDefaultSeed);
    const int actions = hardening::actionCount(kDefaultActions);
    random_ = std::make_unique<hardening::Random>(seed);
    auto session = std::make_unique<Session>();
    session->w->show();
    for (int i = 0; i < actions; ++i) {
        log_.nextStep();
        QString problem = step(*session);
        if (problem.isEmpty())
            problem = checkAlways(*session);
        if (!problem.isEmpty())
            QFAIL(qPrintable(QString("seed %1 (QARN_RANDOM_SEED=%1 replays it), step %2: %3\nlast steps:%4")
                                 .arg(seed)
                                 .arg(log_.step())
                                 .arg(problem, log_.tail())));
        if (session->w->exitStatus >= 0 || random_->chance(0.002)) {
            session = std::make_unique<Session>();
            session->w->show();
            log_.add("new window");
        }
    }
    // Every file saved in the run still holds what its last good save wrote.
    for (const auto& [path, contents] : expected_)
        QVERIFY2(readFile(path) == contents, qPrintable("damaged after the run: " + qpath(path)));
    qInfo("seed %llu: %d actions, %d builds (%d good), %d saves (%d refused), %d exits",
          static_cast<unsigned long long>(seed), actions, builds_, goodBuilds_, saves_, failedSaves_, exits_);
    QVERIFY2(goodBuilds_ > 0 && saves_ > failedSaves_, "the run never built or saved; the weights are off");
}

QString ForgeRandomActionsTest::step(Session& s)
{
    RecordingWindow& w = *s.w;
    const int what = random_->below(100);
    const std::size_t boxesBefore = w.boxes.size();

    if (what < 6) { // File > Open
        const bool enabled = w.fileOpenAction->isEnabled();
        const int openedBefore = int(w.openFilters.size());
        fs::path answer;
        if (!random_->chance(0.2))
            answer = random_->chance(0.7) ? random_->pick(pictures_->good) : random_->pick(pictures_->broken);
        w.openAnswers = {answer.empty() ? QString() : qpath(answer)};
        log_.add("open " + qpath(answer) + (enabled ? "" : " (off)"));
        w.fileOpenAction->trigger();
        w.openAnswers.clear();
        if (int(w.openFilters.size()) != openedBefore + (enabled ? 1 : 0))
            return "the open dialog was not asked as the action's state says";
        if (enabled) {
            s.savedOnce = 0;
            if (!answer.empty())
                s.picture = answer;
            if (w.fileOpenAction->isEnabled() == !answer.empty())
                return "Open is still on after a picture was chosen, or off after a cancel";
        }
    } else if (what < 14) { // a radio button
        const bool system = random_->chance(0.6);
        log_.add(system ? "system set" : "user set");
        (system ? w.SystemColourRB : w.UserColourRB)->click();
        s.colourChosen = true;
        s.colourSet = system ? COLOUR_SET_SYSTEM : COLOUR_SET_USER;
    } else if (what < 28) { // typing
        QLineEdit* entry = random_->chance(0.5) ? w.MinElevationlineEdit : w.ContourlineEdit;
        // Mostly numbers that pass, so that builds happen.
        static const QStringList usual = {"100", "0", "20", "5", " 50 ", "1"};
        const QString text = random_->chance(0.75) ? random_->pick(usual) : random_->pick(hardening::typedTexts());
        log_.add("type into " + entry->objectName() + ": \"" + text.left(30) + "\"");
        if (hardening::typeable(text) && random_->chance(0.3)) {
            entry->clear();
            QTest::keyClicks(entry, text);
        } else {
            entry->setText(text);
        }
    } else if (what < 38) { // CONFIRM DATA
        const std::optional<std::int32_t> min = wholeNumber(w.MinElevationlineEdit->text());
        const std::optional<std::int32_t> interval = wholeNumber(w.ContourlineEdit->text());
        const bool passes = !s.picture.empty() && s.colourChosen && min && *min >= 0 && interval && *interval > 0;
        log_.add("CONFIRM DATA");
        w.ConfirmpushButton->click();
        if (passes) {
            s.confirmedMin = *min;
            s.confirmedInterval = *interval;
        }
        s.buildOffered = passes;
        if ((w.boxes.size() == boxesBefore) != passes)
            return "CONFIRM DATA: a box for accepted entries, or none for refused ones";
    } else if (what < 48) { // Build It
        log_.add("Build It" + QString(s.buildOffered ? "" : " (hidden)"));
        const int rowsBefore = w.TableResultsModel->rowCount();
        w.ProcessPB->click();
        if (!s.buildOffered) {
            if (w.boxes.size() != boxesBefore)
                return "a hidden Build It ran a build";
            return {};
        }
        ++builds_;
        if (w.boxes.size() == boxesBefore)
            return "a build ended without a box";
        const bool built = w.boxes.back().caption == kResultsReady;
        const bool goodPicture =
            std::find(pictures_->good.begin(), pictures_->good.end(), s.picture) != pictures_->good.end();
        const bool sensible = s.confirmedMin <= 100000 && s.confirmedInterval <= 10000;
        if (goodPicture && s.colourSet == COLOUR_SET_SYSTEM && sensible && !built)
            return "the sample map did not build: " + w.boxes.back().caption;
        if (built != (w.buildOk == 1))
            return "buildOk does not match the build's last box";
        if (built) {
            ++goodBuilds_;
            s.everBuilt = true;
            if (w.TableResultsModel->rowCount() != 45 || w.TableResultsModel->columnCount() != 70)
                return "a good build did not fill the 45 x 70 table";
            if (fs::exists(work_->path() / "hightvals.dat"))
                return "a good build left \"hightvals.dat\" behind";
        } else if (w.TableResultsModel->rowCount() != rowsBefore) {
            return "a failed build changed the table";
        }
    } else if (what < 64) { // a table edit
        HeightTableModel& table = *w.TableResultsModel;
        if (table.rowCount() == 0) {
            log_.add("no table to edit");
            return {};
        }
        static const QStringList cells = {"125", " 125 ", "-3", "0", "12.5", "", "7x", "+40", "16777217",
                                          "99999999999", "-2147483648", "\t8\t", "8848"};
        const QString text = random_->chance(0.97) ? random_->pick(cells) : QString("2147483647");
        const int r = random_->below(table.rowCount()), c = random_->below(table.columnCount());
        log_.add(QString("cell %1,%2 = \"%3\"").arg(r).arg(c).arg(text));
        table.setData(table.index(r, c), text);
    } else if (what < 72) { // undo, redo, or a tab
        const int which = random_->below(3);
        if (which == 2) {
            const int tab = random_->below(w.ProcesstabWidget->count());
            log_.add("tab " + QString::number(tab));
            w.ProcesstabWidget->setCurrentIndex(tab);
        } else {
            log_.add(which == 0 ? "undo" : "redo");
            (which == 0 ? w.undoAction() : w.redoAction())->trigger();
        }
    } else if (what < 92) { // Save or Save As
        return save(s, random_->chance(0.5));
    } else if (what < 96) {
        log_.add("About");
        w.helpAboutAction->trigger();
        if (w.boxes.size() != boxesBefore + 1 || w.boxes.back().kind != "about")
            return "Help > About showed no about box";
    } else if (what < 97) {
        log_.add("Exit");
        w.fileExitAction->trigger();
        ++exits_;
        if (w.exitStatus != 0)
            return "File > Exit did not end with status 0";
    } else {
        log_.add("Ctrl+Z / Ctrl+Shift+Z on the table");
        QTest::keyClick(w.TableResults, Qt::Key_Z,
                        random_->chance(0.5) ? Qt::KeyboardModifiers(Qt::ControlModifier)
                                             : Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier));
    }
    return {};
}

QString ForgeRandomActionsTest::save(Session& s, bool saveAs)
{
    RecordingWindow& w = *s.w;
    const bool enabled = w.fileSaveAsAction->isEnabled();
    const std::size_t asked = w.saveQuestions.size(), boxes = w.boxes.size();
    static const std::vector<std::string> names = {
        "map", "map.asc", "with space", "H\xc3\xb6he \xe5\x9c\xb0\xe5\x9b\xb3", "map.ASC", "no such folder/x",
        "adir", std::string(240, 'a'), std::string(250, 'b'), std::string(300, 'c')};
    const QString answer = random_->chance(0.15) ? QString() : qpath(out_->path() / random_->pick(names));
    w.saveAnswers = {answer};
    log_.add(QString(saveAs ? "Save As " : "Save ") + (enabled ? answer.right(40) : "(off)"));
    (saveAs ? w.fileSaveAsAction : w.fileSaveAction)->trigger();
    w.saveAnswers.clear();

    const bool shouldAsk = enabled && (saveAs || s.savedOnce == 0);
    if ((w.saveQuestions.size() > asked) != shouldAsk)
        return "the save dialog was asked when it should not be, or not asked when it should";
    if (!enabled)
        return w.boxes.size() == boxes ? QString() : "a save before any build showed a box";
    if (shouldAsk && answer.isEmpty()) {
        if (w.statusBar()->currentMessage() != "Saving aborted" || w.boxes.size() != boxes)
            return "a cancelled save did more than say \"Saving aborted\"";
        return {};
    }

    ++saves_;
    fs::path grid, report;
    if (shouldAsk) {
        const std::string chosen = utf8(answer);
        grid = withoutEvery(chosen, ".asc", false) + ".asc";
        report = withoutEvery(chosen, ".asc", true) + "-Build_Data.txt";
        s.lastGridName = grid.string();
    } else {
        grid = s.lastGridName;
    }

    // What must happen, from the place, the names and the table.
    const HeightTableModel& table = *w.TableResultsModel;
    std::vector<std::int32_t> values;
    bool fitsTheFile = true;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c) {
            values.push_back(wholeNumber(table.cellText(r, c)).value_or(0));
            fitsTheFile = fitsTheFile && static_cast<float>(values.back()) < 2147483648.0f;
        }
    std::error_code ec;
    const bool folderThere = fs::is_directory(grid.parent_path(), ec);
    const bool gridOk = folderThere && nameFits(grid) && !fs::is_directory(grid, ec) && fitsTheFile;
    const bool reportOk = !shouldAsk || (folderThere && nameFits(report));
    const bool expectBox = !gridOk || !reportOk;
    if (gridOk)
        expected_[grid] = expectedGridFile(table.rowCount(), table.columnCount(), values);
    if (gridOk && shouldAsk && reportOk)
        expected_[report] = buildDataReportText(w.mapDataPresent == 1, w.mapData);
    if (!saveAs && shouldAsk && !expectBox)
        s.savedOnce = 1;

    const std::size_t newBoxes = w.boxes.size() - boxes;
    if (newBoxes != (expectBox ? 1u : 0u))
        return QString("expected %1 box, got %2: %3")
            .arg(expectBox ? 1 : 0)
            .arg(newBoxes)
            .arg(newBoxes ? w.boxes.back().text : QString());
    if (expectBox) {
        ++failedSaves_;
        const Box& b = w.boxes.back();
        const fs::path failed = gridOk ? report : grid;
        if (b.kind != "critical" || b.caption != "Can not save file" ||
            !b.text.contains(QString::fromStdString(failed.filename().string()).toHtmlEscaped()))
            return "the failure box does not name " + qpath(failed) + ": " + b.text;
    } else if (shouldAsk && w.statusBar()->currentMessage() != "Data Saved to " + QString::fromStdString(grid.string())) {
        return "Save As did not confirm the grid file's name: " + w.statusBar()->currentMessage();
    }
    if (w.savedOnce != s.savedOnce)
        return "savedOnce is " + QString::number(w.savedOnce);
    QString problem = checkFile(grid);
    if (problem.isEmpty() && shouldAsk && !report.empty())
        problem = checkFile(report);
    return problem;
}

QString ForgeRandomActionsTest::checkFile(const fs::path& path)
{
    const auto known = expected_.find(path);
    if (known == expected_.end()) {
        std::error_code ec;
        if (fs::is_regular_file(path, ec))
            return "a file nobody saved: " + qpath(path);
        return {};
    }
    if (readFile(path) != known->second)
        return "not the contents last saved (incomplete or damaged): " + qpath(path);
    return {};
}

QString ForgeRandomActionsTest::checkAlways(Session& s)
{
    RecordingWindow& w = *s.w;
    if (const QString open = hardening::openModalWindows(); !open.isEmpty())
        return "left open: " + open;
    for (const fs::path& dir : {out_->path(), work_->path(), pictures_->dir.path()})
        if (const QStringList left = hardening::leftovers(dir); !left.isEmpty())
            return "left behind: " + left.join(", ");
    if (w.fileSaveAction->isEnabled() != s.everBuilt || w.fileSaveAsAction->isEnabled() != s.everBuilt)
        return QString("Save is %1 though a build %2 succeeded")
            .arg(w.fileSaveAction->isEnabled() ? "on" : "off", s.everBuilt ? "has" : "has not");
    if (w.ProcessPB->isHidden() == s.buildOffered || w.ProcessIttextLabel->isHidden() == s.buildOffered)
        return QString("Build It is %1 though the last CONFIRM DATA %2")
            .arg(w.ProcessPB->isHidden() ? "hidden" : "shown", s.buildOffered ? "passed" : "did not pass");
    if (w.bmpPath != (s.picture.empty() ? QString() : qpath(s.picture)))
        return "the window holds another picture: " + w.bmpPath;
    return {};
}

QTEST_MAIN(ForgeRandomActionsTest)
#include "forge_random_actions_test.moc"
