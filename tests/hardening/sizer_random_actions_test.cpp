// Thousands of random steps through the calculator's window: radio clicks,
// typed entries, "Get Results", the tabs, About and File > Exit, with the
// working directory now and then blocked (a folder in a file's place, a file
// size limit). After every Exit: each of the two files is complete and fresh,
// or it was not written, a warning named it and the earlier one is intact.
// No box is ever left open and no temporary is left behind.
#include "tests/sizer/recording_sizer_window.h"

#include "random_actions.h"

#include "common/map_data_file.h"
#include "sizer/run_details_report.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using hardening::wholeNumber;
using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

const int kDefaultActions = 3000;
const std::uint64_t kDefaultSeed = 19700101;
const std::string kReport = RUN_DETAILS_FILE_NAME;
const std::string kMapData = MAP_DATA_FILE_NAME;

std::string reportText(const RunDetails& details)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* f = ::open_memstream(&buffer, &size);
    writeRunDetailsReport(f, details);
    std::fclose(f);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// How the working directory stands in the way of the next Exit.
enum class Block { None, FolderForReport, FolderForMapData, SizeLimit };

struct Session {
    std::unique_ptr<RecordingSizerWindow> w = std::make_unique<RecordingSizerWindow>();
    bool colourChosen = false;
    std::int32_t widthTens = 0, heightTens = 0; // of the last press
    std::int64_t widthMetres = 0, heightMetres = 0;
};

} // namespace

class SizerRandomActionsTest : public QObject {
    Q_OBJECT

private slots:
    void randomActionsLoseNothingAndNeverHang();

private:
    QString step(Session& s);
    QString exitAndCheck(Session& s);

    std::unique_ptr<TempDir> work_;
    std::unique_ptr<hardening::Random> random_;
    hardening::ActionLog log_;
    int exits_ = 0, writingExits_ = 0, warnings_ = 0;
};

void SizerRandomActionsTest::randomActionsLoseNothingAndNeverHang()
{
    work_ = std::make_unique<TempDir>();
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
            if (const QString open = hardening::openModalWindows(); !open.isEmpty())
                problem = "left open: " + open;
        if (problem.isEmpty())
            if (const QStringList left = hardening::leftovers(work_->path()); !left.isEmpty())
                problem = "left behind: " + left.join(", ");
        if (!problem.isEmpty())
            QFAIL(qPrintable(QString("seed %1 (QARN_RANDOM_SEED=%1 replays it), step %2: %3\nlast steps:%4")
                                 .arg(seed)
                                 .arg(log_.step())
                                 .arg(problem, log_.tail())));
        if (!session->w->quitStatuses.isEmpty()) {
            session = std::make_unique<Session>();
            session->w->show();
        }
    }
    qInfo("seed %llu: %d actions, %d exits (%d wrote files, %d warnings)", static_cast<unsigned long long>(seed),
          actions, exits_, writingExits_, warnings_);
    QVERIFY2(writingExits_ > 0 && warnings_ > 0, "no exit wrote files or met a blocked file; the weights are off");
}

QString SizerRandomActionsTest::step(Session& s)
{
    RecordingSizerWindow& w = *s.w;
    const int what = random_->below(100);
    const int messagesBefore = int(w.messages.size());
    if (what < 12) {
        const bool system = random_->chance(0.5);
        log_.add(system ? "system set" : "user set");
        (system ? w.SysColourRB : w.UserColourRB)->click();
        s.colourChosen = true;
    } else if (what < 45) {
        QLineEdit* entry = random_->chance(0.5) ? w.WidthIn : w.HeightIn;
        static const QStringList usual = {"1000", "800", "40", "5000", "1", " 250 "};
        const QString text = random_->chance(0.7) ? random_->pick(usual) : random_->pick(hardening::typedTexts());
        log_.add("type into " + entry->objectName() + ": \"" + text.left(30) + "\"");
        if (hardening::typeable(text) && random_->chance(0.3)) {
            entry->clear();
            QTest::keyClicks(entry, text);
        } else {
            entry->setText(text);
        }
    } else if (what < 75) {
        const QString width = w.WidthIn->text(), height = w.HeightIn->text();
        log_.add("Get Results");
        w.CalculateButton->click();
        s.widthTens = wholeNumber(width).value_or(0);
        s.heightTens = wholeNumber(height).value_or(0);
        s.widthMetres = std::int64_t(s.widthTens) * 10;
        s.heightMetres = std::int64_t(s.heightTens) * 10;
        const bool accepted = s.colourChosen && s.widthMetres > 0 && s.heightMetres > 0 && s.widthMetres <= 50000 &&
                              s.heightMetres <= 50000;
        if ((int(w.messages.size()) == messagesBefore) != accepted)
            return "Get Results: a box for good entries, or none for bad ones";
        if (w.widthTens != s.widthTens || w.heightTens != s.heightTens || w.widthMetres != s.widthMetres ||
            w.heightMetres != s.heightMetres)
            return "the press stored other sizes than were typed";
    } else if (what < 82) {
        const int tab = random_->below(w.tabWidgetbase->count());
        log_.add("tab " + QString::number(tab));
        w.tabWidgetbase->setCurrentIndex(tab);
    } else if (what < 85) {
        log_.add("About");
        w.helpAboutAction->trigger();
        if (int(w.messages.size()) != messagesBefore + 1)
            return "Help > About showed no box";
    } else if (what < 94) {
        log_.add("close and reopen the Results tab");
        w.tabWidgetbase->setCurrentIndex(w.tabWidgetbase->count() - 1);
        w.tabWidgetbase->setCurrentIndex(0);
    } else {
        return exitAndCheck(s);
    }
    return {};
}

QString SizerRandomActionsTest::exitAndCheck(Session& s)
{
    RecordingSizerWindow& w = *s.w;
    const fs::path report = work_->path() / kReport, mapData = work_->path() / kMapData;
    // Earlier files, or folders in their places.
    for (const fs::path& p : {report, mapData}) {
        fs::remove_all(p);
        if (random_->chance(0.5))
            writeFile(p, "earlier " + p.filename().string());
    }
    const int roll = random_->below(10);
    const Block block = roll < 6 ? Block::None
                        : roll < 7 ? Block::FolderForReport
                        : roll < 8 ? Block::FolderForMapData
                                   : Block::SizeLimit;
    if (block == Block::FolderForReport || block == Block::FolderForMapData) {
        const fs::path& p = block == Block::FolderForReport ? report : mapData;
        fs::remove_all(p);
        fs::create_directory(p);
        writeFile(p / "inside", "kept");
    }
    const std::string reportBefore = fs::is_regular_file(report) ? readFile(report) : std::string();
    const std::string mapDataBefore = fs::is_regular_file(mapData) ? readFile(mapData) : std::string();
    const bool hadReport = fs::exists(report), hadMapData = fs::exists(mapData);

    log_.add(QString("Exit (block %1)").arg(int(block)));
    ++exits_;
    const RunDetails details = w.runDetails();
    const int messagesBefore = int(w.messages.size());
    // The report is some 600 bytes, the map data 16: a limit of 300 bytes
    // fails the one part way, as a full disk would, and lets the other through.
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (block == Block::SizeLimit) {
        rlimit small = previous;
        small.rlim_cur = 300;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    w.fileExitAction->trigger();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    if (w.quitStatuses != QList<int>{0})
        return "File > Exit did not end through the seam with status 0";
    const QList<RecordingSizerWindow::Message> boxes = w.messages.mid(messagesBefore);
    const bool writes = s.widthMetres > 0 && s.heightMetres > 0;
    if (!writes) {
        if (!boxes.isEmpty())
            return "an exit with nothing to write showed a box";
        if (fs::exists(report) != hadReport || fs::exists(mapData) != hadMapData ||
            (fs::is_regular_file(report) && readFile(report) != reportBefore) ||
            (fs::is_regular_file(mapData) && readFile(mapData) != mapDataBefore))
            return "an exit with nothing to write touched a file";
        return {};
    }
    ++writingExits_;
    if (details.widthTens != s.widthTens || details.heightTens != s.heightTens)
        return "the exit would write other sizes than the last press";

    const bool reportBlocked = block == Block::FolderForReport || block == Block::SizeLimit;
    const bool mapDataBlocked = block == Block::FolderForMapData;
    QStringList warned;
    for (const auto& box : boxes)
        if (box.kind == MessageKind::Warning && box.caption == "File Not Written")
            for (const std::string& name : {kReport, kMapData})
                if (box.text.contains("<b>" + QString::fromStdString(name) + "</b>"))
                    warned << QString::fromStdString(name);
    QStringList expectWarned;
    if (reportBlocked)
        expectWarned << QString::fromStdString(kReport);
    if (mapDataBlocked)
        expectWarned << QString::fromStdString(kMapData);
    if (warned != expectWarned)
        return "warned about [" + warned.join(", ") + "], expected [" + expectWarned.join(", ") + "]";
    warnings_ += int(warned.size());
    if (boxes.isEmpty() || boxes.back().caption != "Qarn Sizer run details now available")
        return "the exit's information box did not come last";

    if (reportBlocked) {
        if (block == Block::FolderForReport ? readFile(report / "inside") != "kept"
                                            : (hadReport ? readFile(report) != reportBefore : fs::exists(report)))
            return "a report that could not be written damaged the earlier one";
    } else if (readFile(report) != reportText(details)) {
        return "the report is not complete";
    }
    if (mapDataBlocked) {
        if (readFile(mapData / "inside") != "kept")
            return "the folder in the map data file's place was touched";
    } else {
        const std::string bytes = readFile(mapData);
        if (bytes.size() != 16 ||
            bytes != encodeMapData(MapData{s.heightTens, s.widthTens, METRES_PER_ARC_SECOND}))
            return "the map data file is not the 16 bytes of the last press";
    }
    return {};
}

QTEST_MAIN(SizerRandomActionsTest)
#include "sizer_random_actions_test.moc"
