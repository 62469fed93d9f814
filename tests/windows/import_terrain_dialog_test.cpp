// File > Import Real Terrain... accepted: the dialog reads the raster on
// Preview, suggests the minimum and interval and shows the relief; an edited
// interval re-ladders the map, and OK gives the window a new unsaved map of
// the import's blocks and sizes. The import itself is the core tests' job.
#include "import_terrain_dialog.h"
#include "painter_window.h"
#include "preview_view.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "tests/support/support.h"
#include "tests/support/synthetic_dem.h"

using namespace qarn;
using namespace qarn::painter;
using namespace qarn_test;

class ImportTerrainDialogTest : public QObject {
    Q_OBJECT

    TempDir settingsDir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settingsDir.file("")));
    }

    void previewEditAndAccept()
    {
        TempDir dir;
        writeFractalTile(dir.file("tile.tif"), 301, 46, 7);
        ImportRequest request;
        request.demPath = dir.file("tile.tif");
        ImportedTerrain expected;
        std::string detail;
        QCOMPARE(importTerrain(request, expected, detail), ImportResult::Ok);

        PainterWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<ImportTerrainDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QPushButton* ok = dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok);
            dialog->setRasterPath(QString::fromStdString(request.demPath));
            QVERIFY(!ok->isEnabled()); // nothing to accept before a preview
            QTest::mouseClick(dialog->findChild<QPushButton*>("previewButton"), Qt::LeftButton);
            QCOMPARE(dialog->minElevation(), expected.ladder.minElevation);
            QCOMPARE(dialog->contourInterval(), expected.ladder.interval);
            QVERIFY(!dialog->findChild<PreviewView*>("preview")->picture().isNull());
            dialog->findChild<QSpinBox*>("intervalSpin")->setValue(expected.ladder.interval + 7);
            QTest::mouseClick(ok, Qt::LeftButton);
            answered = true;
        });
        window.findChild<QAction*>("actionImportTerrain")->trigger();
        QVERIFY(answered);

        expected.ladder.interval += 7;
        expected.mapping =
            mapToRungs(expected.heights, expected.area.rows, expected.area.cols, expected.ladder, std::nullopt);
        const BlockMap map = importedMap(expected);
        QCOMPARE(window.map().rows, map.rows);
        QCOMPARE(window.map().cols, map.cols);
        QVERIFY(window.map().blocks == map.blocks);
        QVERIFY(window.map().mapData && window.map().mapData->widthTens == map.mapData->widthTens);
        QCOMPARE(window.findChild<QSpinBox*>("intervalSpin")->value(), expected.ladder.interval);
    }
};

QTEST_MAIN(ImportTerrainDialogTest)
#include "import_terrain_dialog_test.moc"
