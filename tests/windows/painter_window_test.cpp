// QarnPainter's window through its seams: New Map (a refused size, then a
// map), one pencil stroke dragged with the mouse, undo and redo, and Save read
// back by the model's own reader. What the tools paint is the model's tests' job.
#include "block_canvas.h"
#include "painter_window.h"
#include "preview_view.h"

#include "painter/model/map_picture_file.h"

#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <QUndoStack>

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
};

} // namespace

class PainterWindowTest : public QObject {
    Q_OBJECT

    TempDir settingsDir; // the user's own settings stay out of the test

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settingsDir.file("")));
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
        QTest::keyClick(&p.window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&p.window, Qt::Key_R);
        p.move(6, 5), p.release(6, 5);
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
};

QTEST_MAIN(PainterWindowTest)
#include "painter_window_test.moc"
