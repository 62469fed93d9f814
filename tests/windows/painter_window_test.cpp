// QarnPainter's window through its seams: New Map (a refused size, then a
// map), one pencil stroke dragged with the mouse, undo and redo, and Save read
// back by the model's own reader. What the tools paint is the model's tests' job.
#include "block_canvas.h"
#include "painter_document.h"
#include "painter_window.h"
#include "plural_forms.h"
#include "preview_view.h"

#include "common/map_data_file.h"
#include "painter/model/map_picture_file.h"
#include "qtsupport/colours.h"

#include <QComboBox>
#include <QSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QListWidget>
#include <QSettings>
#include <QMenu>
#include <QMimeData>
#include <QDropEvent>
#include <QApplication>
#include <QDockWidget>
#include <QUrl>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include "forge/output/grid_files.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::painter;

using namespace qarn_test;

namespace {

// New Map answered with `entries`, accepted.
std::function<bool(QDialog&)> newMapAnswer(const NewMapEntries& entries)
{
    return [entries](QDialog& dialog) {
        static_cast<NewMapDialog&>(dialog).setEntries(entries);
        return true;
    };
}

// A window with a new blank map of 20 x 15 blocks and rung 3 chosen, the
// mouse and keys as a user gives them.
struct Painting {
    RecordingDialogs seam;
    PainterWindow window;
    BlockCanvas* canvas = window.canvas();
    std::vector<Rgb> blank;

    Painting()
    {
        window.setDialogs(&seam);
        window.resize(900, 700);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            throw std::runtime_error("the window was not shown");
        seam.dialogAnswers = {newMapAnswer({"200", "150", ColourSet::System, {}})};
        window.newMap();
        blank = window.map().blocks;
        window.findChild<QListWidget*>("paletteList")->setCurrentRow(3);
    }
    QPoint at(int row, int col) const { return canvas->blockRect(row, col).center().toPoint(); }
    void press(int row, int col) { QTest::mousePress(canvas->viewport(), Qt::LeftButton, {}, at(row, col)); }
    void move(int row, int col) { QTest::mouseMove(canvas->viewport(), at(row, col)); }
    void release(int row, int col) { QTest::mouseRelease(canvas->viewport(), Qt::LeftButton, {}, at(row, col)); }
    bool painted(int row, int col) const { return window.map().at(row, col) == SYSTEM_COLOUR_SET[3]; }
    QRgb shown(QPoint at) const { return canvas->viewport()->grab().toImage().pixel(at); }
};

QString q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

class PainterWindowTest : public QObject {
    Q_OBJECT

    TempDir settingsDir; // the user's own settings stay out of the test

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settingsDir.file("")));
        installPluralForms(); // as QarnPainter's main() does
    }

    void paintUndoRedoAndSave()
    {
        TempDir dir;
        PainterWindow window;
        RecordingDialogs seam;
        window.setDialogs(&seam);
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Width 6000 is refused in the calculator's words; the dialog comes back.
        seam.dialogAnswers = {newMapAnswer({"6000", "100", ColourSet::System, {}}),
                              newMapAnswer({"200", "150", ColourSet::System, {}})};
        window.newMap();
        QCOMPARE(seam.boxes, QStringList{box("size 4").replace("no parent", "parent")});
        QVERIFY(window.hasMap());
        const std::vector<Rgb> blank = window.map().blocks;

        // Rung 3 dragged along row 2 from column 1 to column 5.
        window.findChild<QListWidget*>("paletteList")->setCurrentRow(3);
        BlockCanvas* canvas = window.canvas();
        const auto at = [canvas](int row, int col) { return canvas->blockRect(row, col).center().toPoint(); };
        QTest::mousePress(canvas->viewport(), Qt::LeftButton, {}, at(2, 1));
        QTest::mouseMove(canvas->viewport(), at(2, 5));
        QTest::mouseRelease(canvas->viewport(), Qt::LeftButton, {}, at(2, 5));
        std::vector<Rgb> painted = blank;
        for (int col = 1; col <= 5; ++col)
            painted[window.map().index(2, col)] = SYSTEM_COLOUR_SET[3];
        QVERIFY(window.map().blocks == painted);
        QCOMPARE(window.findChild<QLabel*>("cursorLabel")->text(), "Row 3, column 6, rung 3, height 160 m");
        QTRY_VERIFY(!window.preview()->picture().isNull());

        QCOMPARE(window.undoStack()->count(), 1); // the whole drag is one step
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.map().blocks == blank);
        QCOMPARE(canvas->image().pixel(3, 2), canvas->image().pixel(0, 0));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.map().blocks == painted);
        QCOMPARE(canvas->image().pixel(3, 2), qRgb(165, 231, 66));

        seam.fileAnswers = {QString::fromStdString(dir.file("painted.bmp"))};
        QVERIFY(window.save());
        QVERIFY(window.undoStack()->isClean());
        BlockMap read;
        QCOMPARE(openMapPicture(dir.file("painted.bmp"), ColourSet::System, read), ExtractResult::Ok);
        QVERIFY(read.blocks == painted);
        QVERIFY(fs::exists(dir.path() / MAP_DATA_FILE_NAME)); // made from sizes: its map data file beside it
        QCOMPARE(seam.boxes.size(), 1);
    }

    // Undo and a tool's key pressed while the button is held wait for the stroke to end.
    void strokeInProgressIsNotCutInto()
    {
        Painting p;
        p.press(2, 1), p.move(2, 5), p.release(2, 5);
        p.press(4, 1), p.move(4, 5);
        // The stroke in progress is the document's, already on its map.
        QVERIFY(p.window.document()->stroking() && p.window.document()->stroke().changes().size() == 5);
        QTest::keyClick(&p.window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&p.window, Qt::Key_R);
        p.move(6, 5), p.release(6, 5);
        QVERIFY(!p.window.document()->stroking());
        QVERIFY(p.painted(2, 3) && p.painted(4, 3) && p.painted(5, 5) && !p.painted(5, 1));
        QCOMPARE(p.window.undoStack()->count(), 2);
        QCOMPARE(p.canvas->tool(), BlockCanvas::Tool::Rectangle);
    }

    // Space held while the palette has the focus pans instead of painting.
    void spaceDragPansWhereverTheFocusIs()
    {
        Painting p;
        QWidget* palette = p.window.findChild<QListWidget*>("paletteList");
        palette->setFocus();
        QTest::keyPress(palette, Qt::Key_Space);
        p.press(2, 1), p.move(2, 5), p.release(2, 5);
        QTest::keyRelease(palette, Qt::Key_Space);
        QVERIFY(p.window.map().blocks == p.blank);
        QCOMPARE(p.window.findChild<QListWidget*>("paletteList")->currentRow(), 3);
    }

    // Save As and Build Grid ask about the names they will really write, each once.
    void replacingIsAskedForTheNamesWritten()
    {
        TempDir dir;
        for (const char* name : {"ro.bmp", "hills.asc", "hills-Build_Data.txt"})
            writeFile(dir.path() / name, "old");
        Painting p;
        p.seam.fileAnswers = {q(dir.path() / "ro"), q(dir.path() / "map.bmp"), q(dir.path() / "hills")};
        QVERIFY(!p.window.saveAs() && p.window.save());
        p.window.buildGrid();
        QCOMPARE(p.seam.questions.size(), 2);
        QVERIFY(p.seam.questions[0].contains(q(dir.path() / "ro.bmp")));
        QVERIFY(p.seam.questions[1].contains(q(dir.path() / "hills.asc")) &&
                p.seam.questions[1].contains(q(dir.path() / "hills-Build_Data.txt")));
        for (const char* name : {"ro.bmp", "hills.asc", "hills-Build_Data.txt"})
            QCOMPARE(readFile(dir.path() / name), std::string("old"));
    }

    // Save does not replace a read-only picture; it offers Save As.
    void readOnlyPictureIsNotReplaced()
    {
        TempDir dir;
        Painting p;
        p.seam.fileAnswers = {q(dir.path() / "ro.bmp")};
        QVERIFY(p.window.save());
        fs::permissions(dir.path() / "ro.bmp", fs::perms::owner_read);
        const std::string before = readFile(dir.path() / "ro.bmp");
        p.press(2, 1), p.release(2, 1);
        p.seam.questionAnswers = {QMessageBox::Save};
        p.seam.fileAnswers = {q(dir.path() / "other.bmp")};
        QVERIFY(p.window.save());
        QCOMPARE(p.seam.questions.size(), 1);
        QVERIFY(p.seam.questions[0].contains("read-only"));
        QCOMPARE(readFile(dir.path() / "ro.bmp"), before);
        QCOMPARE(p.window.picturePath(), q(dir.path() / "other.bmp"));
    }

    // A new map saved beside a map data file of other sizes asks first; another folder keeps it.
    void mapDataOfOtherSizesIsNotReplaced()
    {
        TempDir first, second;
        const fs::path data = first.path() / MAP_DATA_FILE_NAME;
        fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA_FILE_NAME, data);
        MapData there;
        QCOMPARE(readMapDataFile(data.string(), there), FileResult::Ok);
        Painting p;
        p.seam.fileAnswers = {q(first.path() / "map.bmp"), q(second.path() / "map.bmp")};
        p.seam.questionAnswers = {QMessageBox::Retry};
        QVERIFY(p.window.saveAs());
        QCOMPARE(p.seam.questions,
                 QStringList{QString("Save Map Picture|<p>This folder already has a map data file, "
                                     "QarnSizer_MAP_Data.xdt, for a map of %1 x %2 tens of metres; this map is "
                                     "200 x 150 tens of metres.</p><p>The file's name is fixed, so a folder holds the "
                                     "map data of one map size: replacing it would give the other picture there the "
                                     "wrong sizes.</p><p>Save this map in another folder?</p>")
                                 .arg(there.widthTens)
                                 .arg(there.heightTens)});
        QCOMPARE(readFile(data), readFile(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA_FILE_NAME));
        QVERIFY(!fs::exists(first.path() / "map.bmp") && fs::exists(second.path() / "map.bmp"));
    }

    // Build Grid builds the map on screen and leaves its picture's file as it was.
    void buildGridBuildsTheMapOnScreenWithoutSaving()
    {
        TempDir dir, check;
        Painting p;
        p.seam.fileAnswers = {q(dir.path() / "map.bmp"), q(dir.path() / "grid")};
        QVERIFY(p.window.save());
        const std::string saved = readFile(dir.path() / "map.bmp");
        p.press(2, 1), p.move(2, 5), p.release(2, 5);
        p.window.buildGrid();
        QCOMPARE(readFile(dir.path() / "map.bmp"), saved);
        QVERIFY(!p.window.undoStack()->isClean());
        std::string error;
        QCOMPARE(saveMapPicture(p.window.map(), check.file("map.bmp"), error), OutputResult::Ok);
        BuildRequest request;
        request.bmpFilePath = check.file("map.bmp");
        request.minElevation = 100;
        request.contourInterval = 20;
        const GridBuild expected = buildGridFiles(request, check.file("grid"));
        QVERIFY(expected.saved.result == OutputResult::Ok);
        QCOMPARE(readFile(dir.path() / "grid.asc"), readFile(check.path() / "grid.asc"));
        QCOMPARE(p.seam.boxes, QStringList{});
    }

    // Build Grid shows the build's warnings: here the map data file missing beside an opened picture.
    void buildGridShowsTheBuildsWarnings()
    {
        TempDir dir;
        fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / "sample-map.bmp", dir.path() / "map.bmp");
        Painting p;
        QVERIFY(p.window.openPicture(q(dir.path() / "map.bmp"), ColourSet::System));
        p.seam.fileAnswers = {q(dir.path() / "grid")};
        p.window.buildGrid();
        QCOMPARE(p.seam.boxes, QStringList{box("map data missing")});
        QVERIFY(fs::exists(dir.path() / "grid.asc"));
        // With the map data file beside the picture, it is built with it.
        fs::copy_file(fs::path(QARN_SOURCE_DIR) / "examples" / MAP_DATA_FILE_NAME, dir.path() / MAP_DATA_FILE_NAME);
        p.seam.boxes.clear();
        p.seam.fileAnswers = {q(dir.path() / "again")};
        p.window.buildGrid();
        QCOMPARE(p.seam.boxes, QStringList{});
    }

    // A temporary left beside the picture by a save that was killed goes with the next save.
    void aKilledSavesTemporaryGoesWithTheNextSave()
    {
        TempDir dir;
        writeFile(dir.path() / ".map.bmp.qarn-k1lLed", std::string(100000, 'x'));
        Painting p;
        p.seam.fileAnswers = {q(dir.path() / "map.bmp")};
        QVERIFY(p.window.save());
        QCOMPARE(entriesIn(dir.path()), (std::vector<std::string>{MAP_DATA_FILE_NAME, "map.bmp"}));
    }

    // The first save over a picture drawn otherwise says what else it changes.
    void savingOverAPictureDrawnOtherwiseSaysWhatChanges()
    {
        TempDir dir;
        std::vector<std::uint32_t> palette;
        for (int rung : {1, 2, 3})
            palette.push_back(std::uint32_t(SYSTEM_COLOUR_SET[rung].red) << 16 |
                              std::uint32_t(SYSTEM_COLOUR_SET[rung].green) << 8 | SYSTEM_COLOUR_SET[rung].blue);
        // 8 bits, not whole blocks, and block (0, 0) in three colours.
        const std::string picture =
            encodeBmp(407, 253, 8, [](int x, int y) { return y == 0 && x < 2 ? x + 1 : 0; }, palette);
        writeFile(dir.path() / "map.bmp", picture);
        Painting p;
        QVERIFY(p.window.openPicture(q(dir.path() / "map.bmp"), ColourSet::System));
        p.press(5, 5), p.release(5, 5);
        QVERIFY(!p.window.save());
        QCOMPARE(p.seam.questions,
                 QStringList{"Save Map Picture|<p>Saving over " + q(dir.path() / "map.bmp") +
                             " changes more than the painted blocks:</p><ul><li>8 bits per pixel become 24</li>"
                             "<li>407 x 253 pixels become 400 x 250, whole blocks only</li><li>1 blocks of more "
                             "than one colour become one colour each</li></ul><p>Save over it, or save under "
                             "another name?</p>"});
        QCOMPARE(readFile(dir.path() / "map.bmp"), picture);
        p.seam.questionAnswers = {QMessageBox::Save};
        QVERIFY(p.window.save() && p.window.save());
        QCOMPARE(p.seam.questions.size(), 2);
    }

    // The document's history across two overlapping strokes, each undone and redone whole.
    void documentUndoesAcrossStrokes()
    {
        Painting p;
        PainterDocument& doc = *p.window.document();
        QSignalSpy changed(&doc, &PainterDocument::blocksChanged);
        p.press(2, 1), p.move(2, 5), p.release(2, 5);
        const std::vector<Rgb> first = doc.map().blocks;
        p.window.findChild<QListWidget*>("paletteList")->setCurrentRow(5);
        p.press(2, 3), p.move(2, 7), p.release(2, 7);
        const std::vector<Rgb> second = doc.map().blocks;
        const std::vector<std::vector<Rgb>> states = {second, first, p.blank, first, second};
        for (int step = 1; step < 5; ++step) {
            step <= 2 ? doc.undoStack()->undo() : doc.undoStack()->redo();
            QVERIFY(doc.map().blocks == states[std::size_t(step)]);
        }
        QCOMPARE(changed.count(), 4);
        QCOMPARE(std::count(doc.painted().begin(), doc.painted().end(), 1), 7);
        doc.setSaved("/maps/x.bmp");
        QVERIFY(doc.undoStack()->isClean() && !doc.pictureAsOpened());
        QCOMPARE(p.window.windowTitle(), QString("x.bmp[*] - QarnPainter"));
    }

    // The keys and clicks map makers reach for.
    void keysAndClicksMapMakersReachFor()
    {
        Painting p;
        auto* palette = p.window.findChild<QListWidget*>("paletteList");
        auto* sizes = p.window.findChild<QSpinBox*>("sizeSpin");
        p.press(2, 1), p.release(2, 1);
        QTest::keyClick(&p.window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&p.window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(p.painted(2, 1));
        // Shift+click: a line from where the last pencil stroke ended.
        QTest::mouseClick(p.canvas->viewport(), Qt::LeftButton, Qt::ShiftModifier, p.at(2, 6));
        QVERIFY(p.painted(2, 4) && p.painted(2, 6) && !p.painted(3, 4));
        // Alt+click picks rung 0 from a blank block, whatever the tool.
        QTest::mouseClick(p.canvas->viewport(), Qt::LeftButton, Qt::AltModifier, p.at(9, 9));
        QCOMPARE(palette->currentRow(), 0);
        // Escape drops a rectangle being dragged.
        QTest::keyClick(&p.window, Qt::Key_R);
        palette->setCurrentRow(3);
        p.press(5, 1), p.move(8, 8);
        QTest::keyClick(p.canvas, Qt::Key_Escape);
        p.release(8, 8);
        QVERIFY(!p.painted(6, 6));
        QCOMPARE(p.window.undoStack()->count(), 2);
        // ] and [ step the size; Ctrl+= zooms in.
        QTest::keyClick(&p.window, Qt::Key_BracketRight);
        QTest::keyClick(&p.window, Qt::Key_BracketRight);
        QTest::keyClick(&p.window, Qt::Key_BracketLeft);
        QCOMPARE(sizes->value(), 2);
        const double zoom = p.canvas->zoom();
        QTest::keyClick(&p.window, Qt::Key_Equal, Qt::ControlModifier);
        QVERIFY(p.canvas->zoom() > zoom);
    }

    // F8 and Shift+F8 walk the check's problems, centred, with their reasons as qarn check gives them.
    void problemsAreWalkedWithTheirReasons()
    {
        TempDir dir;
        BlockMap map = blankMap(ColourSet::System, {}, 30, 40);
        map.at(1, 1) = SYSTEM_COLOUR_SET[3];
        map.at(15, 20) = {0, 0, 255};
        std::string error;
        QCOMPARE(saveMapPicture(map, dir.file("map.bmp"), error), OutputResult::Ok);
        Painting p;
        QVERIFY(p.window.openPicture(q(dir.path() / "map.bmp"), ColourSet::System));
        QStatusBar* status = p.window.statusBar();
        // One cliff of 8 pairs counts once, as in qarn check's summary.
        QTRY_COMPARE(status->currentMessage(), "The picture check found 1 error (red) and 1 warning (blue)");
        p.canvas->zoomBy(64, {});
        const QString cliff = "warning: a cliff over block rows 1 to 3, columns 1 to 3 (pixels 5, 5 to 25, 25): 8 "
                              "pairs of neighbouring blocks, the largest step 3 contour intervals (rungs 0 and 3)";
        const QString blue = "error: block row 16, column 21 (pixel 205, 155): colour #0000FF is reserved (BLUE)";
        const QStringList keys = {"F8", "F8", "F8", "Shift+F8", "Shift+F8"};
        const QStringList shown = {cliff, blue, cliff, blue, cliff};
        for (int k = 0; k < keys.size(); ++k) {
            QTest::keySequence(&p.window, QKeySequence(keys[k]));
            QCOMPARE(status->currentMessage(), shown[k]);
        }
        // Warnings hidden: the walk stays on the error, centred in the view.
        p.window.findChild<QAction*>("actionShowWarnings")->trigger();
        QTest::keyClick(&p.window, Qt::Key_F8);
        QTest::keyClick(&p.window, Qt::Key_F8);
        QCOMPARE(status->currentMessage(), blue);
        const QPointF off = p.canvas->blockRect(15, 20).center() - QRectF(p.canvas->viewport()->rect()).center();
        QVERIFY(std::abs(off.x()) < 1 && std::abs(off.y()) < 1);
        const int narrowest = p.window.minimumSizeHint().width();
        p.move(15, 20);
        QCOMPARE(p.window.findChild<QLabel*>("cursorLabel")->text(), "Row 16, column 21, not in the colour set; " + blue);
        // A long reason does not widen the window.
        p.window.findChild<QAction*>("actionShowWarnings")->trigger();
        p.canvas->centreOn(1, 1);
        p.move(1, 1);
        QVERIFY(p.window.findChild<QLabel*>("cursorLabel")->text().endsWith(cliff));
        p.window.statusBar()->layout()->activate();
        p.window.layout()->activate();
        QCOMPARE(p.window.minimumSizeHint().width(), narrowest);
        p.window.findChild<QAction*>("actionShowWarnings")->trigger();
        // A new map drops the old one's problems.
        p.seam.dialogAnswers = {newMapAnswer({"200", "150", ColourSet::System, {}})};
        p.window.newMap();
        QTest::keyClick(&p.window, Qt::Key_F8);
        QCOMPARE(status->currentMessage(), "The picture check found no errors");
    }

    // Pictures opened or saved come first in File > Open Recent, at most 8, in the next window too; a
    // picture dropped on the window is opened.
    void recentFilesAndDroppedPictures()
    {
        TempDir dir;
        QSettings().remove("recentFiles");
        Painting p;
        for (int k = 0; k < 9; ++k) {
            p.seam.fileAnswers = {q(dir.file("map" + std::to_string(k) + ".bmp"))};
            QVERIFY(p.window.saveAs());
        }
        p.seam.choiceAnswers = {0};
        QVERIFY(p.window.openPicture(q(dir.file("map3.bmp")), ColourSet::System));
        Painting second;
        auto* recent = second.window.findChild<QMenu*>("recentMenu");
        const auto names = [](QMenu* menu) {
            QStringList names;
            for (QAction* action : menu->actions())
                names << QFileInfo(action->text()).fileName();
            return names;
        };
        const QStringList latest = {"map3.bmp", "map8.bmp", "map7.bmp", "map6.bmp",
                                    "map5.bmp", "map4.bmp", "map2.bmp", "map1.bmp"};
        QCOMPARE(names(p.window.findChild<QMenu*>("recentMenu")), latest);
        QCOMPARE(names(recent), latest);
        second.seam.choiceAnswers = {0};
        recent->actions()[1]->trigger();
        QCOMPARE(QFileInfo(second.window.document()->path()).fileName(), "map8.bmp");
        // Dropped: opened once the drop has ended.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(q(dir.file("map2.bmp")))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&second.window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        second.seam.choiceAnswers = {0};
        QApplication::sendEvent(&second.window, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(QFileInfo(second.window.document()->path()).fileName(), "map2.bmp");
    }

    // New Map refuses a band colour picked twice at once, and the next window starts with the last band.
    void newMapBandColoursOnceAndRemembered()
    {
        RecordingDialogs seam;
        NewMapDialog dialog(seam);
        seam.colourAnswers = {QColor(10, 20, 30), QColor(40, 50, 60), QColor(10, 20, 30)};
        dialog.findChild<QRadioButton*>("userRadio")->click();
        for (int k = 0; k < 3; ++k)
            dialog.findChild<QPushButton*>("addButton")->click();
        QCOMPARE(dialog.entries().band, (std::vector<Rgb>{{10, 20, 30}, {40, 50, 60}}));
        QCOMPARE(seam.boxes, QStringList{"warning|parent|Band Colour|#0A141E is colour 1 of the band already; each "
                                         "rung needs a colour of its own."});
        {
            Painting p;
            p.seam.dialogAnswers = {newMapAnswer({"200", "150", ColourSet::User, dialog.entries().band})};
            p.window.newMap();
        }
        Painting next;
        int shown = 0;
        next.seam.dialogAnswers = {[&shown](QDialog& d) {
            shown = d.findChild<QListWidget*>("bandList")->count();
            return false;
        }};
        next.window.newMap();
        QCOMPARE(shown, 2);
    }

    // Shift+U: the slope brush from the keyboard; a second click raises its surroundings with it.
    void slopeBrushFromItsKey()
    {
        Painting p;
        QTest::keyClick(&p.window, Qt::Key_U, Qt::ShiftModifier);
        p.press(5, 5), p.release(5, 5);
        p.press(5, 5), p.release(5, 5);
        const auto rung = [&p](int row, int col) {
            const auto& set = SYSTEM_COLOUR_SET;
            return int(std::find(set.begin(), set.end(), p.window.map().at(row, col)) - set.begin());
        };
        QCOMPARE(rung(5, 5), 2);
        QCOMPARE(rung(4, 6), 1);
        QCOMPARE(rung(3, 5), 0);
    }

    // New Map starts in Width and refuses a file that is not a 16-byte map data file.
    void newMapDialogRefusesWhatIsNotAMapDataFile()
    {
        RecordingDialogs seam;
        NewMapDialog dialog(seam);
        auto* width = dialog.findChild<QLineEdit*>("widthEdit");
        QCOMPARE(dialog.focusWidget(), width);
        const QString readme = QARN_SOURCE_DIR "/README.md";
        seam.fileAnswers = {readme};
        dialog.findChild<QRadioButton*>("fromFileRadio")->click();
        dialog.findChild<QPushButton*>("browseButton")->click();
        QCOMPARE(dialog.findChild<QLabel*>("mapDataProblem")->text(),
                 readme + QString(": not a map data file (%1 bytes; a map data file has 16)").arg(QFileInfo(readme).size()));
        QCOMPARE(width->text(), QString());
    }

    // The brush's shape and size reach the strokes and the next window; its outline follows the mouse.
    void brushFromItsControlsWithItsOutline()
    {
        {
            Painting p;
            p.window.findChild<QComboBox*>("shapeCombo")->setCurrentIndex(1);
            p.window.findChild<QSpinBox*>("sizeSpin")->setValue(5);
            p.press(7, 7), p.release(7, 7);
            QCOMPARE(std::count(p.window.map().blocks.begin(), p.window.map().blocks.end(), SYSTEM_COLOUR_SET[3]), 21);
            QVERIFY(p.painted(5, 6) && !p.painted(5, 5));
            // Its light line lies on the grid line at the dab's left edge; it goes when the mouse leaves.
            const QPoint edge(qRound(p.canvas->blockRect(7, 5).left()), p.at(7, 5).y());
            QCOMPARE(p.shown(edge), qRgb(255, 255, 255));
            // Not while Space makes the mouse pan.
            QTest::keyPress(&p.window, Qt::Key_Space);
            QCOMPARE(p.shown(edge), qRgb(90, 90, 90));
            QTest::keyRelease(&p.window, Qt::Key_Space);
            QCOMPARE(p.shown(edge), qRgb(255, 255, 255));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(p.canvas->viewport(), &leave);
            QCOMPARE(p.shown(edge), qRgb(90, 90, 90));
            p.seam.questionAnswers = {QMessageBox::Discard};
            QVERIFY(p.window.close());
        }
        Painting next;
        QCOMPARE(next.canvas->brush().size, 5);
        QCOMPARE(next.canvas->brush().shape, BrushShape::Round);
        QSettings("Qarn", "QarnPainter").clear();
    }

    // A reference picture shows under the blocks at its opacity and is never saved; one that cannot be read says why.
    void referencePictureShownNeverSaved()
    {
        TempDir dir;
        Painting p;
        p.press(2, 1), p.release(2, 1);
        p.seam.fileAnswers = {q(dir.path() / "map.bmp"), q(dir.path() / "grid")};
        QVERIFY(p.window.save());
        p.window.buildGrid();
        QImage scan(40, 30, QImage::Format_RGB32);
        scan.fill(qRgb(200, 0, 100));
        QVERIFY(scan.save(q(dir.path() / "scan.png")));
        p.seam.fileAnswers = {q(dir.path() / "scan.png")};
        p.window.findChild<QAction*>("actionReferencePicture")->trigger();
        p.window.findChild<QSpinBox*>("referenceOpacity")->setValue(25);
        const QColor block = toQColor(SYSTEM_COLOUR_SET[0]), blend = p.shown(p.at(9, 9));
        QVERIFY(std::abs(blend.red() - (200 + 3 * block.red()) / 4) <= 2 &&
                std::abs(blend.green() - 3 * block.green() / 4) <= 2 &&
                std::abs(blend.blue() - (100 + 3 * block.blue()) / 4) <= 2);
        p.window.findChild<QAction*>("actionShowReference")->trigger();
        QCOMPARE(p.shown(p.at(9, 9)), block.rgb());
        p.window.findChild<QAction*>("actionShowReference")->trigger();
        QVERIFY(p.window.undoStack()->isClean());
        p.seam.fileAnswers = {q(dir.path() / "again.bmp"), q(dir.path() / "again")};
        QVERIFY(p.window.saveAs());
        p.window.buildGrid();
        QCOMPARE(readFile(dir.path() / "again.bmp"), readFile(dir.path() / "map.bmp"));
        QCOMPARE(readFile(dir.path() / "again.asc"), readFile(dir.path() / "grid.asc"));
        writeFile(dir.path() / "notes.png", "not a picture");
        p.seam.fileAnswers = {q(dir.path() / "notes.png")};
        p.window.findChild<QAction*>("actionReferencePicture")->trigger();
        QCOMPARE(p.seam.boxes, QStringList{"critical|parent|Reference Picture|<p>" + q(dir.path() / "notes.png") +
                                           " cannot be shown as the reference picture: it is not a picture in a "
                                           "format QarnPainter reads.</p>"});
    }

    // A cliff is drawn as the edge its two blocks share, or across their corner for a diagonal pair, not round
    // each block; zoomed out, as the blocks tinted, until painting answers it.
    void cliffsDrawnAsTheEdgeTheirBlocksShare()
    {
        TempDir dir;
        // Rung 1 with rung 3 from column 15 (cliffs across and diagonally along that line), and one diagonal pair
        // alone: rung 2 at (10, 5) over rung 0 at (11, 6).
        BlockMap map = blankMap(ColourSet::System, {}, 20, 30);
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 30; ++c)
                map.at(r, c) = SYSTEM_COLOUR_SET[c >= 15 ? 3 : 1];
        map.at(10, 5) = SYSTEM_COLOUR_SET[2];
        map.at(11, 6) = SYSTEM_COLOUR_SET[0];
        std::string error;
        QCOMPARE(saveMapPicture(map, dir.file("map.bmp"), error), OutputResult::Ok);
        Painting p;
        QVERIFY(p.window.openPicture(q(dir.path() / "map.bmp"), ColourSet::System));
        QTRY_VERIFY(!p.window.document()->warningMarks().empty());
        const QRgb blue = qRgb(0, 60, 255);
        const auto shown = [&](QPointF at) { return p.canvas->viewport()->grab().toImage().pixel(at.toPoint()); };

        p.canvas->zoomBy(20 / p.canvas->zoom(), {});
        p.canvas->centreOn(8, 10);
        const QRectF left = p.canvas->blockRect(5, 14), upper = p.canvas->blockRect(10, 5);
        QCOMPARE(shown({left.right() + 0.5, left.center().y()}), blue); // the edge shared
        QVERIFY(shown({left.left() + 1, left.center().y()}) != blue);   // the far side
        QVERIFY(shown({left.center().x(), left.top() + 1}) != blue);
        QCOMPARE(shown(upper.bottomRight()), blue); // the corner shared
        QVERIFY(shown({upper.center().x(), upper.top() + 1}) != blue);
        QVERIFY(shown({upper.left() + 1, upper.center().y()}) != blue);

        p.canvas->zoomBy(2 / p.canvas->zoom(), {});
        p.canvas->centreOn(8, 10);
        QCOMPARE(shown(p.canvas->blockRect(10, 5).center()), blue);
        QCOMPARE(shown(p.canvas->blockRect(11, 6).center()), blue);
        QVERIFY(shown(p.canvas->blockRect(10, 6).center()) != blue);
        p.window.findChild<QListWidget*>("paletteList")->setCurrentRow(1);
        p.press(11, 6), p.release(11, 6);
        QEvent leave(QEvent::Leave); // the brush outline goes, so the blocks themselves are seen
        QApplication::sendEvent(p.canvas->viewport(), &leave);
        QCOMPARE(shown(p.canvas->blockRect(10, 5).center()), toQColor(SYSTEM_COLOUR_SET[2]).rgb());
        QVERIFY(shown(p.canvas->blockRect(11, 6).center()) != blue);
        QCOMPARE(shown(p.canvas->blockRect(5, 14).center()), blue);
    }

    // The preview outlines the part of the map in view; a click or a drag there centres the view on that point.
    // The zoom is shown in the status bar.
    void previewIsAnOverviewOfTheView()
    {
        Painting p;
        p.seam.dialogAnswers = {newMapAnswer({"2000", "1500", ColourSet::System, {}})};
        p.window.newMap();
        QTRY_VERIFY(!p.window.preview()->picture().isNull());
        PreviewView* preview = p.window.preview();
        p.canvas->zoomBy(8 / p.canvas->zoom(), {});
        auto* zoom = p.window.findChild<QLabel*>("zoomLabel");
        QCOMPARE(zoom->text(), "Zoom 800 %");
        QTest::keyClick(&p.window, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(zoom->text(), "Zoom 1000 %");

        const QRect picture = preview->pictureRect();
        const auto at = [&](double x, double y) {
            return QPointF(picture.left() + x * picture.width(), picture.top() + y * picture.height()).toPoint();
        };
        const auto centredOn = [&](double x, double y) {
            const QPointF seen = p.canvas->visibleBlocks().center(), area = preview->viewArea().center();
            return std::abs(seen.x() - x * p.window.map().cols) < 1 && std::abs(seen.y() - y * p.window.map().rows) < 1 &&
                   std::abs(area.x() - x) < 0.01 && std::abs(area.y() - y) < 0.01;
        };
        QTest::mousePress(preview, Qt::LeftButton, {}, at(0.25, 0.75));
        QVERIFY(centredOn(0.25, 0.75));
        QTest::mouseMove(preview, at(0.6, 0.4));
        QTest::mouseRelease(preview, Qt::LeftButton, {}, at(0.6, 0.4));
        QVERIFY(centredOn(0.6, 0.4));
        // The outline's left side, over the picture.
        const QRectF area = preview->viewArea();
        const QImage drawn = preview->grab().toImage();
        const QPoint side = at(area.left(), area.center().y());
        QVERIFY(drawn.pixel(side) == qRgb(255, 255, 255) || drawn.pixel(side) == qRgb(0, 0, 0));
    }

    // However the docks are widened, moved or the window narrowed, the canvas keeps half the window.
    void docksLeaveTheCanvasHalfTheWindow()
    {
        Painting p;
        auto* previewDock = p.window.findChild<QDockWidget*>("previewDock");
        // After the layout has taken the change in (resizeDocks and resize lay out later).
        const auto half = [&](Qt::Orientation across) {
            QTest::qWait(50);
            return across == Qt::Horizontal ? 2 * p.canvas->width() >= p.window.width()
                                            : 2 * p.canvas->height() >= p.window.height();
        };
        p.window.resize(1400, 800);
        p.window.resizeDocks({previewDock}, {900}, Qt::Horizontal);
        QTRY_VERIFY(half(Qt::Horizontal));
        p.window.resize(760, 700); // narrower than the docks' least leaves half
        QTRY_VERIFY(half(Qt::Horizontal));
        p.window.addDockWidget(Qt::BottomDockWidgetArea, previewDock);
        p.window.resizeDocks({previewDock}, {650}, Qt::Vertical);
        QTRY_VERIFY(half(Qt::Vertical));
        QVERIFY(half(Qt::Horizontal));
    }

    // Open says why a file cannot be opened.
    void openSaysWhy()
    {
        TempDir dir;
        Painting p;
        QVERIFY(!p.window.openPicture(q(dir.path()), ColourSet::System));
        QVERIFY(!p.window.openPicture(q(dir.path() / "gone.bmp"), ColourSet::System));
        QCOMPARE(p.seam.boxes, (QStringList{"critical|parent|Open|<p>" + q(dir.path()) + " cannot be opened: it is a folder.</p>",
                                            "critical|parent|Open|<p>" + q(dir.path() / "gone.bmp") +
                                                " cannot be opened: there is no such file.</p>"}));
    }
};

QTEST_MAIN(PainterWindowTest)
#include "painter_window_test.moc"
