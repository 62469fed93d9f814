// QarnForge's main window through its seams: open, confirm, build, edit a
// cell, Save and Save As, the colour error and a picture that is not a BMP.
// Boxes and status texts are those of the catalogue tests/messages.tsv.
#include "duvavaz_evedaz.h"
#include "height_table_model.h"
#include "relief_preview_page.h"
#include "terrain_view/ui/terrain_view_panel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "forge/extract/build_messages.h"
#include "forge/extract/message_notes.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::forge;

using namespace qarn_test;

namespace {

// Status texts are recorded; boxes and dialogs go through RecordingDialogs.
class RecordingWindow : public DuvavazEvedaz {
public:
    RecordingWindow() { setDialogs(&seam); }

    // Also notes whether hightvals.dat was still there when "Results Ready" showed.
    struct Seam : RecordingDialogs {
        bool heightsFileAtResults = false;
        void message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) override
        {
            if (caption == QString::fromStdString(resultsReadyMessage().caption))
                heightsFileAtResults = fs::exists("hightvals.dat");
            RecordingDialogs::message(parent, kind, caption, text);
        }
    } seam;
    QStringList statuses;

protected:
    void setStatusLine(const QString& t, int millis) override
    {
        if (!t.isEmpty())
            statuses << t;
        DuvavazEvedaz::setStatusLine(t, millis);
    }
};

const std::map<std::string, CatalogueEntry> catalogue = messageCatalogue();

// A catalogue text, its %1 and %2 filled when given.
QString text(const std::string& key, const QString& arg1 = {}, const QString& arg2 = {})
{
    const QString t = QString::fromStdString(catalogue.at(key).text);
    return arg1.isEmpty() ? t : t.arg(arg1, arg2);
}

QString qpath(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

// Opens the picture, chooses the system set, 100 m and the interval, confirms and builds.
void build(RecordingWindow& w, const fs::path& picture, const QString& interval = "10")
{
    w.seam.fileAnswers.push_back(qpath(picture));
    w.fileOpenAction->setEnabled(true);
    w.fileOpenAction->trigger();
    w.SystemColourRB->click();
    w.MinElevationlineEdit->setText("100");
    w.ContourlineEdit->setText(interval);
    w.ConfirmpushButton->click();
    w.seam.boxes.clear();
    w.ProcessPB->click();
}

} // namespace

class ForgeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void confirmRefusesEntriesWithTheirBoxes();
    void openConfirmBuildEditAndSave();
    void withoutMapDataTheReportSaysSo();
    void failedBuildsAndSaves();
    void colourErrorIsLocatedAndOutlinedUntilABuildSucceeds();
    void saveAsAsksAboutTheFilesItWrites();
    void viewPageSaysWhyItCannotDraw();
};

// Offscreen there is no OpenGL: the 3D View page beside Preview says so and
// offers no export; the rest of the window works (the other tests).
void ForgeWindowTest::viewPageSaysWhyItCannotDraw()
{
    RecordingWindow w;
    const int page = w.ProcesstabWidget->indexOf(w.viewPage());
    QCOMPARE(page, w.ProcesstabWidget->indexOf(w.previewPage()) + 1);
    QCOMPARE(w.ProcesstabWidget->tabText(page), QString("3D View"));
    QCOMPARE(w.viewPage()->fallbackText(),
             QString("The 3D view cannot be shown: the offscreen platform has no OpenGL. Everything else works as usual."));
    QVERIFY(!w.viewPage()->findChild<QPushButton*>("exportPng")->isEnabled());
}

void ForgeWindowTest::confirmRefusesEntriesWithTheirBoxes()
{
    // Whether a picture is open, the two entries, the box, the entries after it
    // and the minimum elevation kept; whether the data were accepted once before.
    const struct {
        bool opened;
        QString min, interval;
        std::string key;
        QString minAfter, intervalAfter;
        int stored;
        bool acceptedBefore = false;
    } cases[] = {{false, "10", "25", "confirm no file", "10", "25", -99}, {true, "", "25", "min \"\"", "", "25", -99},
                 {true, "12a", "25", "min \"12a\"", "", "25", 0}, {true, "-5", "25", "min \"-5\"", "", "25", -5},
                 {true, "0", "", "interval \"\"", "0", "", 0}, {true, "100", "x", "interval \"x\"", "100", "", 100},
                 {true, "100", "0", "interval \"0\"", "100", "", 100},
                 {true, "-5", "25", "min \"-5\"", "", "25", -5, true}};
    for (const auto& c : cases) {
        RecordingWindow w;
        if (c.opened) {
            w.seam.fileAnswers.push_back("/maps/alpha.bmp");
            w.fileOpen();
            w.ConfirmpushButton->click();
            w.UserColourRB->click();
        }
        if (c.acceptedBefore) {
            w.MinElevationlineEdit->setText("100");
            w.ContourlineEdit->setText("20");
            w.ConfirmpushButton->click();
            QVERIFY(w.buildAvailable());
        }
        w.MinElevationlineEdit->setText(c.min);
        w.ContourlineEdit->setText(c.interval);
        w.ConfirmpushButton->click();
        QCOMPARE(w.seam.boxes, (c.opened ? QStringList{box("confirm no colour set")} : QStringList{}) << box(c.key));
        QCOMPARE(w.MinElevationlineEdit->text(), c.minAfter);
        QCOMPARE(w.ContourlineEdit->text(), c.intervalAfter);
        QCOMPARE(w.minElevation, c.stored);
        QVERIFY(!w.buildAvailable());
    }
}

void ForgeWindowTest::openConfirmBuildEditAndSave()
{
    TempDir pictures, work;
    ScopedWorkingDir cd(work.path());
    const fs::path examples = fs::path(QARN_SOURCE_DIR) / "examples";
    fs::copy_file(examples / "sample-map.bmp", pictures.path() / "Hill.BMP");
    fs::copy_file(examples / "QarnSizer_MAP_Data.xdt", pictures.path() / "QarnSizer_MAP_Data.xdt");
    RecordingWindow w;
    QCOMPARE(w.ProcessPB->text(), QString("Build It"));
    QVERIFY(!w.buildAvailable() && !w.fileSaveAction->isEnabled());
    w.fileOpenAction->trigger();
    QCOMPARE(w.statuses.last(), text("forge status loading aborted"));
    w.savedOnce = 1;
    w.seam.fileAnswers.push_back(qpath(pictures.path() / "Hill.BMP"));
    w.fileOpenAction->trigger();
    QCOMPARE(w.statuses.last(), text("forge status loaded") + qpath(pictures.path() / "Hill.BMP"));
    QCOMPARE(w.savedOnce, 0);
    QVERIFY(!w.fileOpenAction->isEnabled());
    w.SystemColourRB->click();
    w.MinElevationlineEdit->setText("100");
    w.ContourlineEdit->setText("20");
    w.ConfirmpushButton->click();
    QVERIFY(w.buildAvailable());
    QCOMPARE(w.ProcessPB->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

    w.ProcessPB->click();
    QCOMPARE(w.seam.boxes, (QStringList{box("build 0"), box("results ready")}));
    QVERIFY(w.seam.heightsFileAtResults && !fs::exists(work.path() / "hightvals.dat"));
    QCOMPARE((QStringList{w.HeightLabelOut_2->text(), w.WidthLabelOut_2->text(), w.msLabelOut->text(),
                          w.AlphaLabelOut->text(), w.LongLabelOut_2->text(), w.LatLabelOut_2->text()}),
             (QStringList{"400", "600", "30.922", "0.100", "32400", "3600"}));
    // Each cell shows its height as the grid file will hold it, and one blank.
    const HeightTableModel& table = *w.TableResultsModel;
    const QStringList rows = QString::fromStdString(readFile(testData("cli/build/sample.grid"))).split('\n');
    for (int r = 0; r < 45; ++r)
        for (int c = 0; c < 70; ++c)
            QCOMPARE(table.cellText(r, c), rows[r].split(' ')[c] + " ");
    QCOMPARE(table.headerData(0, Qt::Vertical).toString(), QString("4174.464"));
    QCOMPARE(table.headerData(44, Qt::Vertical).toString(), QString("92.766"));
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QString("185.532"));

    // The first Save asks, with the proposed name; the next writes silently.
    w.seam.boxes.clear();
    w.seam.fileDialogs.clear();
    w.seam.fileAnswers.push_back(qpath(work.path() / "hills"));
    w.fileSaveAction->trigger();
    const QString proposed = qpath(pictures.path() / "Hill-arcinfo-ascii.asc");
    QCOMPARE(w.seam.fileDialogs, QStringList{"Save Elevation Data File|" + proposed + "|*.asc"});
    QCOMPARE(w.statuses.last(), text("forge status saved") + qpath(work.path() / "hills.asc"));
    QCOMPARE(readFile(work.path() / "hills-Build_Data.txt"), readFile(testData("cli/build/sample_report.expected")));
    fs::remove(work.path() / "hills-Build_Data.txt");
    QVERIFY(w.TableResultsModel->setData(w.TableResultsModel->index(44, 0), " 777 "));
    w.fileSaveAction->trigger();
    QCOMPARE(w.seam.fileDialogs.size(), 1);
    QCOMPARE(entriesIn(work.path()), std::vector<std::string>{"hills.asc"});
    const std::string grid = readFile(work.path() / "hills.asc");
    QCOMPARE(grid.substr(grid.rfind('\n', grid.size() - 2), 6), std::string("\n 777 "));
    QVERIFY(w.seam.boxes.empty());
    w.helpAboutAction->trigger();
    w.fileExitAction->trigger();
    QCOMPARE(w.seam.boxes, QStringList{box("forge about")});
    QCOMPARE(w.seam.leaveStatuses, QList<int>{0});
}

void ForgeWindowTest::withoutMapDataTheReportSaysSo()
{
    TempDir work;
    ScopedWorkingDir cd(work.path());
    RecordingWindow w;
    build(w, testData("cli/build/small.bmp"));
    QCOMPARE(w.seam.boxes, (QStringList{box("build 0"), box("map data missing"), box("results ready")}));
    w.seam.fileAnswers.push_back(qpath(work.path() / "small"));
    w.fileSaveAs();
    QCOMPARE(readFile(work.path() / "small-Build_Data.txt"), readFile(testData("output/report_short.expected")));
    w.fileSaveAs();
    QCOMPARE(w.statuses.last(), text("forge status saving aborted"));
}

void ForgeWindowTest::failedBuildsAndSaves()
{
    TempDir work;
    ScopedWorkingDir cd(work.path());
    RecordingWindow w;
    build(w, testData("cli/build/notbmp.bmp"));
    QCOMPARE(w.seam.boxes, QStringList{box("build 1000")});
    QVERIFY(w.fileOpenAction->isEnabled());
    // A cut-off picture: the box, and the core's line under it in the status bar.
    const fs::path cut = testData("cli/build/cut.bmp");
    build(w, cut);
    QCOMPARE(w.seam.boxes, QStringList{box("build -1")});
    QCOMPARE(w.statusLine(), QString::fromStdString(buildStopNote(cut.string(), ExtractResult::ReadError, false)));
    build(w, testData("cli/build/odd.bmp"));
    QCOMPARE(w.seam.boxes, QStringList{box("build 0 colour")});
    QVERIFY(!w.fileOpenAction->isEnabled() && !w.fileSaveAction->isEnabled());

    build(w, testData("cli/build/small.bmp"));
    w.seam.boxes.clear();
    const fs::path missing = work.path() / "no" / "map";
    w.seam.fileAnswers.push_back(qpath(missing));
    w.fileSave();
    QCOMPARE(w.seam.boxes, QStringList{box("forge save failed", qpath(missing) + ".asc",
                                      "cannot create the file: No such file or directory")});
    QCOMPARE(w.savedOnce, 0);
}

// After the colour error box: the first wrong block in the status bar and the
// outlined picture on the Preview page until a build succeeds.
void ForgeWindowTest::colourErrorIsLocatedAndOutlinedUntilABuildSucceeds()
{
    TempDir work;
    ScopedWorkingDir cd(work.path());
    const fs::path picture = work.path() / "map.bmp";
    // The pixels the builder reads in blocks (1, 2) and (3, 4) are wrong.
    const auto paint = [&](bool wrong) {
        writeFile(picture, encodeBmp(40, 30, 24, [wrong](int x, int y) -> std::uint32_t {
                      if (wrong && x == 15 && y == 5)
                          return 0x0000FF;
                      if (wrong && x == 35 && y == 25)
                          return 0x63C601;
                      return 0x008421;
                  }));
    };
    fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA_FILE_NAME, work.path() / MAP_DATA_FILE_NAME);
    RecordingWindow w;
    paint(false);
    w.ProcesstabWidget->setCurrentWidget(w.previewPage());
    build(w, picture);
    const QImage terrain = w.previewPage()->picture();

    paint(true);
    w.ProcessPB->click();
    QCOMPARE(w.statusLine(),
             QString("Colour error at block row 1, column 2 (pixel 15, 5): colour #0000FF is reserved (BLUE); "
                     "2 blocks in all, outlined on the Preview page\n" +
                     QString::fromStdString(buildStopNote(picture.string(), ExtractResult::Ok, true))));
    // 4 blocks across at 300 pixels a block; the outline runs 60 pixels outside the block.
    const QImage marked = w.previewPage()->picture();
    QCOMPARE(marked.size(), QSize(1200, 900));
    QCOMPARE(marked.pixelColor(299, 150), QColor(230, 0, 0));
    QCOMPARE(marked.pixelColor(899, 750), QColor(230, 0, 0));
    // An edit of the last good table does not take the page back; the next good build does.
    w.TableResultsModel->setData(w.TableResultsModel->index(0, 0), "500");
    QCOMPARE(w.previewPage()->picture(), marked);
    paint(false);
    w.ProcessPB->click();
    QCOMPARE(w.previewPage()->picture(), terrain);
    // The colour error's lines go with it: the good build has nothing to add.
    QCOMPARE(w.statusLine(), QString());
}

// A name typed without ".asc": both files it would write are named in one question.
void ForgeWindowTest::saveAsAsksAboutTheFilesItWrites()
{
    TempDir work;
    ScopedWorkingDir cd(work.path());
    writeFile(work.path() / "hills.asc", "old");
    writeFile(work.path() / "hills-Build_Data.txt", "old");
    RecordingWindow w;
    build(w, testData("cli/build/small.bmp"));
    w.seam.fileAnswers.push_back(qpath(work.path() / "hills"));
    w.fileSaveAs();
    QCOMPARE(w.seam.questions.size(), 1);
    QVERIFY(w.seam.questions[0].contains(qpath(work.path() / "hills.asc")) &&
            w.seam.questions[0].contains(qpath(work.path() / "hills-Build_Data.txt")));
    QCOMPARE(w.statuses.last(), text("forge status saving aborted"));
    QCOMPARE(readFile(work.path() / "hills.asc") + readFile(work.path() / "hills-Build_Data.txt"), "oldold");
}

QTEST_MAIN(ForgeWindowTest)
#include "forge_window_test.moc"
