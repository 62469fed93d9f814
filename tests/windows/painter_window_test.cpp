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
};

QTEST_MAIN(PainterWindowTest)
#include "painter_window_test.moc"
