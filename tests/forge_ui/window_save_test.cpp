// Save and Save As through the builder's window: who asks for a name, which
// files appear, failures that keep earlier files, the table's texts turned
// back into heights, undo of edits, and the same bytes as "qarn build".
#include "recording_window.h"

#include "height_table_model.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using qarn_test::entriesIn;
using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;
using qarn_test::writeFile;

namespace {

const fs::path kExamples = fs::path(QARN_SOURCE_DIR) / "examples";
const int kRows = 45; // the sample map's blocks
const int kCols = 70;

QString qpath(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

// The sample map with its map data file in a folder of its own, built in a
// window whose working directory is another folder.
struct BuiltSample {
    TempDir pictures;
    TempDir work;
    TempDir out; // where the tests save
    ScopedWorkingDir cd{work.path()};
    std::unique_ptr<RecordingWindow> window = std::make_unique<RecordingWindow>();

    explicit BuiltSample(const fs::path& pictureFolder = {})
    {
        buildBundledSample(*window, pictureFolder.empty() ? pictures.path() : pictureFolder);
    }
    RecordingWindow& w() { return *window; }
};

// The values of a grid file's map row r (0 at the top).
QStringList mapRow(const std::string& file, int r)
{
    const QStringList lines = QString::fromStdString(file).split('\n');
    return lines.value(6 + (1201 - kRows) + r).split(' ', Qt::SkipEmptyParts);
}


} // namespace

class WindowSaveTest : public QObject {
    Q_OBJECT

private slots:
    void savingBeforeAnyBuildDoesNothing();
    void firstSaveAsksThenSaveIsSilent();
    void cancelledSaveAsksAgain();
    void eachSaveAsWritesItsOwnReport();
    void failedSaveNamesTheFileAndKeepsEarlierOne_data();
    void failedSaveNamesTheFileAndKeepsEarlierOne();
    void tableTextsAreSavedAsWholeNumbers();
    void editsUndoAndRedoUntilTheNextBuild();
    void savedGridMatchesCommandLineBuild();
    void saveDialogIsTheWindowsOwn();
    void longPathsBuildAndSave();
};

void WindowSaveTest::savingBeforeAnyBuildDoesNothing()
{
    TempDir work;
    ScopedWorkingDir cd(work.path());
    RecordingWindow w;
    w.openAnswers.push_back("/maps/alpha.bmp");
    w.fileOpen();
    QVERIFY(!w.fileSaveAction->isEnabled());
    w.saveAnswers = {qpath(work.path() / "map"), qpath(work.path() / "map")};
    w.fileSave();
    w.fileSaveAs();
    QVERIFY(w.saveQuestions.empty());
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.savedOnce, 0);
    QVERIFY(entriesIn(work.path()).empty());
}

void WindowSaveTest::firstSaveAsksThenSaveIsSilent()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    const fs::path chosen = s.out.path() / "hills";
    w.saveAnswers.push_back(qpath(chosen));
    w.fileSaveAction->trigger();

    QCOMPARE(w.saveQuestions.size(), std::size_t(1));
    QCOMPARE(w.saveQuestions[0].startName, qpath(s.pictures.path() / "sample-map-arcinfo-ascii.asc"));
    QCOMPARE(w.saveQuestions[0].filter, QString("*.asc"));
    QCOMPARE(w.saveQuestions[0].caption, QString("Save Elevation Data File"));
    QCOMPARE(w.statusBar()->currentMessage(), "Data Saved to " + qpath(s.out.path() / "hills.asc"));
    QCOMPARE(entriesIn(s.out.path()), (std::vector<std::string>{"hills-Build_Data.txt", "hills.asc"}));
    QCOMPARE(w.savedOnce, 1);
    QCOMPARE(w.reportBase, qpath(chosen));
    QCOMPARE(w.ascPath, (s.out.path() / "hills.asc").string());
    QCOMPARE(w.reportPath, (s.out.path() / "hills-Build_Data.txt").string());
    QVERIFY(readFile(s.out.path() / "hills-Build_Data.txt").find("Map Width in 10\x92s m  :     600") !=
            std::string::npos);
    QVERIFY(w.boxes.empty());

    // The second Save rewrites the grid file only, without a word.
    fs::remove(s.out.path() / "hills-Build_Data.txt");
    w.TableResultsModel->setData(w.TableResultsModel->index(0, 0), "777");
    w.statusBar()->clearMessage();
    w.fileSaveAction->trigger();
    QCOMPARE(w.saveQuestions.size(), std::size_t(1));
    QCOMPARE(entriesIn(s.out.path()), std::vector<std::string>{"hills.asc"});
    QCOMPARE(mapRow(readFile(s.out.path() / "hills.asc"), 0).value(0), QString("777"));
    QCOMPARE(w.statusBar()->currentMessage(), QString());
    QVERIFY(w.boxes.empty());
}

void WindowSaveTest::cancelledSaveAsksAgain()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    w.fileSave();
    QCOMPARE(w.statusBar()->currentMessage(), QString("Saving aborted"));
    QCOMPARE(w.savedOnce, 0);
    QVERIFY(w.ascPath.empty());

    w.saveAnswers.push_back(qpath(s.out.path() / "map.asc"));
    w.fileSave();
    QCOMPARE(w.saveQuestions.size(), std::size_t(2));
    QCOMPARE(w.savedOnce, 1);
    QCOMPARE(entriesIn(s.out.path()), (std::vector<std::string>{"map-Build_Data.txt", "map.asc"}));
    QVERIFY(entriesIn(s.work.path()).empty());
}

void WindowSaveTest::eachSaveAsWritesItsOwnReport()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    w.saveAnswers = {qpath(s.out.path() / "north.ASC"), qpath(s.out.path() / "south")};
    w.fileSaveAsAction->trigger();
    w.fileSaveAsAction->trigger();
    QCOMPARE(entriesIn(s.out.path()), (std::vector<std::string>{"north-Build_Data.txt", "north.ASC.asc",
                                                                "south-Build_Data.txt", "south.asc"}));
    QCOMPARE(w.statusBar()->currentMessage(), "Data Saved to " + qpath(s.out.path() / "south.asc"));
    QCOMPARE(readFile(s.out.path() / "north.ASC.asc"), readFile(s.out.path() / "south.asc"));
    // Save As from the menu leaves the next Save asking once.
    QCOMPARE(w.savedOnce, 0);
}

void WindowSaveTest::failedSaveNamesTheFileAndKeepsEarlierOne_data()
{
    QTest::addColumn<QString>("blocked");  // the file that cannot be written
    QTest::addColumn<bool>("asFolder");    // a folder in its place, else a full disk
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder in the grid file's place") << "map.asc" << true << "Is a directory";
    QTest::newRow("folder in the report's place") << "map-Build_Data.txt" << true << "Is a directory";
    QTest::newRow("disk full over an earlier grid file") << "map.asc" << false << "File too large";
}

void WindowSaveTest::failedSaveNamesTheFileAndKeepsEarlierOne()
{
    QFETCH(QString, blocked);
    QFETCH(bool, asFolder);
    QFETCH(QString, reason);

    BuiltSample s;
    RecordingWindow& w = s.w();
    const fs::path target = s.out.path() / blocked.toStdString();
    if (asFolder) {
        fs::create_directory(target);
        writeFile(target / "inside", "kept");
    } else {
        writeFile(target, "earlier grid");
    }

    w.saveAnswers.push_back(qpath(s.out.path() / "map"));
    // A file size limit makes the write fail part way, as a full disk would.
    rlimit previous{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (!asFolder) {
        rlimit small = previous;
        small.rlim_cur = 100000;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    w.fileSave();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].kind, QString("critical"));
    QVERIFY(w.boxes[0].hasParent);
    QCOMPARE(w.boxes[0].caption, QString("Can not save file"));
    QVERIFY2(w.boxes[0].text.contains(qpath(target).toHtmlEscaped()), qPrintable(w.boxes[0].text));
    QVERIFY2(w.boxes[0].text.contains(reason), qPrintable(w.boxes[0].text));
    QCOMPARE(w.savedOnce, 0);
    QVERIFY(!w.statusBar()->currentMessage().startsWith("Data Saved"));
    if (asFolder)
        QCOMPARE(readFile(target / "inside"), std::string("kept"));
    else
        QCOMPARE(readFile(target), std::string("earlier grid"));
    // No temporary left behind; a report only when its grid file was written.
    const std::vector<std::string> expected =
        blocked == "map.asc" ? std::vector<std::string>{"map.asc"}
                             : std::vector<std::string>{"map-Build_Data.txt", "map.asc"};
    QCOMPARE(entriesIn(s.out.path()), expected);

    // With the way clear, the next Save asks again and succeeds.
    fs::remove_all(target);
    w.saveAnswers.push_back(qpath(s.out.path() / "map"));
    w.fileSave();
    QCOMPARE(w.saveQuestions.size(), std::size_t(2));
    QCOMPARE(w.savedOnce, 1);
    QCOMPARE(w.boxes.size(), std::size_t(1));
}

void WindowSaveTest::tableTextsAreSavedAsWholeNumbers()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    HeightTableModel& table = *w.TableResultsModel;
    const QString untouched = table.cellText(0, 5);
    const QStringList typed = {" 125 ", "12.5", "", "-3", "+40", "7x", "99999999999", "\t8\t"};
    const QStringList saved = {"125", "0", "0", "-3", "40", "0", "0", "8"};
    for (int c = 0; c < typed.size(); ++c)
        QVERIFY(table.setData(table.index(kRows - 1, c), typed[c]));

    w.saveAnswers.push_back(qpath(s.out.path() / "edited"));
    w.fileSaveAs();
    const std::string file = readFile(s.out.path() / "edited.asc");
    const QStringList bottom = mapRow(file, kRows - 1);
    QCOMPARE(bottom.size(), 1201);
    QCOMPARE(bottom.mid(0, typed.size()), saved);
    QCOMPARE(mapRow(file, 0).value(5) + " ", untouched);
    QCOMPARE(bottom.value(kCols), QString("0"));
    // The grid holds what was saved; the table keeps the typed texts.
    QCOMPARE(w.grid.height(kRows - 1, 0), 125.0f);
    QCOMPARE(w.grid.height(kRows - 1, 3), -3.0f);
    QCOMPARE(table.cellText(kRows - 1, 1), QString("12.5"));
}

void WindowSaveTest::editsUndoAndRedoUntilTheNextBuild()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    HeightTableModel& table = *w.TableResultsModel;
    const QString before = table.cellText(3, 4);
    QVERIFY(!w.undoAction()->isEnabled());

    // An edit through the table's editor is one step.
    w.ProcesstabWidget->setCurrentWidget(w.tab2);
    const QModelIndex cell = table.index(3, 4);
    w.TableResults->setCurrentIndex(cell);
    w.TableResults->edit(cell);
    auto* editor = w.TableResults->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("512");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(table.cellText(3, 4), QString("512"));
    QCOMPARE(w.tableUndoStack()->count(), 1);
    QVERIFY(w.undoAction()->isEnabled());
    QVERIFY(!w.redoAction()->isEnabled());

    // Only while "Edit Grids" is in front.
    w.ProcesstabWidget->setCurrentWidget(w.tab1);
    QVERIFY(!w.undoAction()->isEnabled());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(table.cellText(3, 4), QString("512"));

    w.ProcesstabWidget->setCurrentWidget(w.tab2);
    w.TableResults->setFocus();
    QTest::keyClick(w.TableResults, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(table.cellText(3, 4), before);
    QCOMPARE(table.editedCellCount(), 0);
    QTest::keyClick(w.TableResults, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(table.cellText(3, 4), QString("512"));

    // The same two entries in the table's context menu.
    QCOMPARE(w.TableResults->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(w.TableResults->actions(), (QList<QAction*>{w.undoAction(), w.redoAction()}));
    QStringList menuEntries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                menuEntries << a->text() + (a->isEnabled() ? "" : " (off)");
            menu->close();
        }
    });
    QWidget* viewport = w.TableResults->viewport();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(40, 40), viewport->mapToGlobal(QPoint(40, 40)));
    QApplication::sendEvent(viewport, &rightClick);
    QCOMPARE(menuEntries, QStringList({"Undo", "Redo (off)"}));
    w.undoAction()->trigger();
    QCOMPARE(table.cellText(3, 4), before);
    w.redoAction()->trigger();
    QCOMPARE(table.cellText(3, 4), QString("512"));

    // An edit back to the shown text is no step; a build forgets them all.
    QVERIFY(table.setData(cell, QString("512")));
    QCOMPARE(w.tableUndoStack()->count(), 1);
    w.ProcessPB_clicked();
    QCOMPARE(w.tableUndoStack()->count(), 0);
    QVERIFY(!w.undoAction()->isEnabled());
    QVERIFY(!w.redoAction()->isEnabled());
    QCOMPARE(table.cellText(3, 4), before);
    // The menu bar keeps its two menus.
    QCOMPARE(w.menuBar()->actions().size(), 2);
}

void WindowSaveTest::savedGridMatchesCommandLineBuild()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    w.saveAnswers.push_back(qpath(s.out.path() / "window.asc"));
    w.fileSaveAs();

    TempDir cliWork;
    QProcess qarn;
    qarn.setWorkingDirectory(qpath(cliWork.path()));
    qarn.start(QStringLiteral(QARN_CLI_PATH),
               {"build", qpath(s.pictures.path() / "sample-map.bmp"), "--colour-set", "system", "--min", "100",
                "--interval", "20", "--output", qpath(cliWork.path() / "cli.asc")});
    QVERIFY(qarn.waitForFinished(60000));
    QCOMPARE(qarn.exitCode(), 0);

    const std::string fromWindow = readFile(s.out.path() / "window.asc");
    QVERIFY(fromWindow.size() > 1201u * 1201u * 2u);
    QVERIFY(fromWindow == readFile(cliWork.path() / "cli.asc"));
    QVERIFY(readFile(s.out.path() / "window-Build_Data.txt") == readFile(cliWork.path() / "cli-Build_Data.txt"));
}

void WindowSaveTest::saveDialogIsTheWindowsOwn()
{
    BuiltSample s;
    RecordingWindow& w = s.w();
    w.useRealSaveDialog = true;
    w.show();
    QString objectName, title, selected;
    QStringList filters;
    QWidget* parent = nullptr;
    bool acceptSave = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        objectName = dialog->objectName();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        parent = dialog->parentWidget();
        acceptSave = dialog->acceptMode() == QFileDialog::AcceptSave;
        selected = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    w.fileSaveAs();

    QCOMPARE(objectName, QString("save file dialog"));
    QCOMPARE(title, QString("Save Elevation Data File"));
    QCOMPARE(filters, QStringList{"*.asc"});
    QCOMPARE(parent, static_cast<QWidget*>(&w));
    QVERIFY(acceptSave);
    QCOMPARE(selected, qpath(s.pictures.path() / "sample-map-arcinfo-ascii.asc"));
    QCOMPARE(w.statusBar()->currentMessage(), QString("Saving aborted"));
}

void WindowSaveTest::longPathsBuildAndSave()
{
    TempDir base;
    const fs::path deep = base.path() / std::string(200, 'p') / std::string(200, 'q');
    fs::create_directories(deep);
    BuiltSample s(deep);
    RecordingWindow& w = s.w();
    QCOMPARE(w.buildOk, 1);
    QCOMPARE(w.tableRows, kRows);

    const fs::path outDeep = s.out.path() / std::string(250, 'r') / std::string(250, 's');
    fs::create_directories(outDeep);
    const fs::path chosen = outDeep / std::string(200, 't');
    QVERIFY(chosen.string().size() > 700);
    w.saveAnswers.push_back(qpath(chosen));
    w.fileSave();
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.savedOnce, 1);
    QVERIFY(fs::exists(chosen.string() + ".asc"));
    QVERIFY(fs::exists(chosen.string() + "-Build_Data.txt"));
}

QTEST_MAIN(WindowSaveTest)
#include "window_save_test.moc"
