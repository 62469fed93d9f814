// QarnForge after a colour error: the box as ever, then the first wrong block in
// the status bar and the outlined picture on the Preview page until a build succeeds.
#include "tests/forge_ui/recording_window.h"

#include "relief_preview_page.h"

#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

class WindowCheckTest : public QObject {
    Q_OBJECT

private slots:
    void colourErrorIsLocatedAndOutlinedUntilABuildSucceeds()
    {
        qarn_test::TempDir dir;
        qarn_test::ScopedWorkingDir cwd(dir.path());
        const std::filesystem::path picture = dir.path() / "map.bmp";
        const qarn_test::BmpSpec clean = qarn_test::solidBmp(40, 30, 0x008421);
        qarn_test::BmpSpec wrong = clean; // the pixels the builder reads in blocks (1, 2) and (3, 4)
        wrong.pixels[5 * 40 + 15] = 0x0000FF;
        wrong.pixels[25 * 40 + 35] = 0x63C601;

        RecordingWindow w;
        qarn_test::writeBmp(picture, clean);
        w.openAnswers.push_back(QString::fromStdString(picture.string()));
        w.fileOpen();
        w.SystemColourRB->click();
        w.MinElevationlineEdit->setText("100");
        w.ContourlineEdit->setText("20");
        w.ConfirmpushButton->click();
        w.ProcesstabWidget->setCurrentWidget(w.previewPage());
        w.ProcessPB_clicked();
        const QImage terrain = w.previewPage()->picture();

        qarn_test::writeBmp(picture, wrong);
        w.ProcessPB_clicked();
        QCOMPARE(w.boxes.back().caption, QString("Colour Error in BMP file"));
        QCOMPARE(w.statusBar()->currentMessage(),
                 QString("Colour error at block row 1, column 2 (pixel 15, 5): colour #0000FF is reserved (BLUE); "
                         "2 blocks in all, outlined on the Preview page"));
        // 4 blocks across at 300 pixels a block; the outline runs 60 pixels outside the block.
        const QImage marked = w.previewPage()->picture();
        QCOMPARE(marked.size(), QSize(1200, 900));
        QCOMPARE(marked.pixelColor(299, 150), QColor(230, 0, 0));
        QCOMPARE(marked.pixelColor(899, 750), QColor(230, 0, 0));
        // An edit of the last good table does not take the page back ...
        w.TableResultsModel->setData(w.TableResultsModel->index(0, 0), "500");
        QCOMPARE(w.previewPage()->picture(), marked);
        // ... the next good build does.
        qarn_test::writeBmp(picture, clean);
        w.ProcessPB_clicked();
        QCOMPARE(w.previewPage()->picture(), terrain);
    }
};

QTEST_MAIN(WindowCheckTest)
#include "window_check_test.moc"
