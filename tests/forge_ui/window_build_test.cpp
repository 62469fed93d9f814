// "Build It" through the builder's window: the sample map built whole, the map
// data file missing and found again, failed builds that keep the last good
// table, and a colour error that a corrected picture or colour set clears.
#include "recording_window.h"

#include "height_table_model.h"
#include "relief_preview_page.h"

#include "common/block_convention.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/colour_height_set.h"
#include "forge/extract/result_codes.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <filesystem>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;

namespace {

const fs::path kExamples = fs::path(QARN_SOURCE_DIR) / "examples";
const QString kCleanRun = "Clean Run";
const QString kResultsReady = "Results Ready to View and Edit";

QString qpath(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

// Opens the picture, picks the set, types the entries and confirms; the
// window is then ready to build.
void prepare(RecordingWindow& w, const fs::path& picture, int colourSet = COLOUR_SET_SYSTEM,
             const QString& min = "100", const QString& interval = "20")
{
    w.openAnswers.push_back(qpath(picture));
    w.fileOpen();
    (colourSet == COLOUR_SET_USER ? w.UserColourRB : w.SystemColourRB)->click();
    w.MinElevationlineEdit->setText(min);
    w.ContourlineEdit->setText(interval);
    w.ConfirmpushButton->click();
    QVERIFY2(w.buildAvailable(), "the entries were refused");
    w.boxes.clear();
}

QStringList detailLabels(const RecordingWindow& w)
{
    return {w.HeightLabelOut_2->text(), w.WidthLabelOut_2->text(), w.msLabelOut->text(),
            w.AlphaLabelOut->text(),    w.LongLabelOut_2->text(),  w.LatLabelOut_2->text()};
}

// A 24-bit picture of `blocksWide` x `blocksHigh` blocks painted block by
// block with colour(blockRow, blockCol).
template <typename Colour>
void paintBlocks(const fs::path& path, int blocksWide, int blocksHigh, Colour colour)
{
    qarn_test::BmpSpec bmpSpec = qarn_test::solidBmp(blocksWide * 10, blocksHigh * 10, 0);
    for (int y = 0; y < bmpSpec.height; ++y)
        for (int x = 0; x < bmpSpec.width; ++x) {
            const Rgb c = colour(y / 10, x / 10);
            bmpSpec.pixels[std::size_t(y) * std::size_t(bmpSpec.width) + std::size_t(x)] =
                qarn_test::rgb(c.red, c.green, c.blue);
        }
    qarn_test::writeBmp(path, bmpSpec);
}

} // namespace

class WindowBuildTest : public QObject {
    Q_OBJECT

private slots:
    void sampleMapBuildsIntoTableAndDetails();
    void missingMapDataWarnsAndKeepsEarlierValues();
    void failedBuildsKeepTheLastGoodTable_data();
    void failedBuildsKeepTheLastGoodTable();
    void colourErrorBelongsToOneBuild();
    void correctedColourSetChoiceBuildsCleanly();
    void previewFollowsTheBuildAndTableEdits();
};

void WindowBuildTest::sampleMapBuildsIntoTableAndDetails()
{
    TempDir pictures, work;
    fs::copy_file(kExamples / "sample-map.bmp", pictures.path() / "sample-map.bmp");
    fs::copy_file(kExamples / "QarnSizer_MAP_Data.xdt", pictures.path() / "QarnSizer_MAP_Data.xdt");
    ScopedWorkingDir cd(work.path());

    RecordingWindow w;
    w.show();
    prepare(w, pictures.path() / "sample-map.bmp");
    QVERIFY(!w.fileSaveAsAction->isEnabled());
    w.ProcessPB->click();

    QCOMPARE(w.captions(), QStringList({kCleanRun, kResultsReady}));
    for (const Box& b : w.boxes) {
        QCOMPARE(b.kind, QString("information"));
        QVERIFY(b.hasParent);
    }
    QCOMPARE(w.boxes[0].text, QString("Got good data from file, <br>writing results to Temporary file"));
    QVERIFY(w.boxes[1].text.startsWith("<HTML><p>The Basic Elevation Heights have been calculated"));
    // The last box comes once the table is filled.
    QCOMPARE(w.tableRowsAtBox, 45);

    QCOMPARE(w.extractionResult, 0);
    QCOMPARE(w.buildOk, 1);
    QCOMPARE(w.mapDataPresent, 1);
    QCOMPARE(detailLabels(w), QStringList({"400", "600", "30.922", "0.100", "32400", "3600"}));
    QCOMPARE(w.pixelRows, 450);
    QCOMPARE(w.pixelCols, 700);
    QCOMPARE(w.blockRows, 45);
    QCOMPARE(w.blockCols, 70);
    QCOMPARE(w.contourInterval, 20);
    QCOMPARE(w.colourHeightCount, 25);
    QCOMPARE(w.colourHeights.front(), 100);
    QCOMPARE(w.colourHeights[17], 100 + 17 * 20);

    QCOMPARE(w.tableRows, 45);
    QCOMPARE(w.tableCols, 70);
    QCOMPARE(w.grid.rows(), 45);
    QCOMPARE(w.grid.cols(), 70);
    const HeightTableModel& table = *w.TableResultsModel;
    QCOMPARE(w.TableResults->model()->rowCount(), 45);
    QCOMPARE(w.TableResults->model()->columnCount(), 70);
    QCOMPARE(table.headerData(0, Qt::Vertical).toString(), QString("4174.464"));
    QCOMPARE(table.headerData(44, Qt::Vertical).toString(), QString("92.766"));
    QCOMPARE(table.headerData(69, Qt::Horizontal).toString(), QString::number(70 * METRES_PER_SRTM_GRID, 'f', 3));

    // Every cell shows its real cell's height cut to whole metres, then a blank,
    // within the colour set's range.
    for (int r = 0; r < 45; ++r)
        for (int c = 0; c < 70; ++c) {
            const int h = truncatedHeight(w.grid.height(r, c));
            QVERIFY(h >= 100 && h <= 440);
            QCOMPARE(table.cellText(r, c), QString::number(h) + " ");
        }
    // The same build without the window gives the same heights.
    {
        TempDir other;
        ScopedWorkingDir cdOther(other.path());
        BuildOutcome direct = runBuild({(pictures.path() / "sample-map.bmp").string(), 100, 20, COLOUR_SET_SYSTEM});
        QVERIFY(direct.built());
        QCOMPARE(truncatedHeights(direct.grid), truncatedHeights(w.grid));
    }

    const int firstWidth = w.TableResults->columnWidth(0);
    QVERIFY(firstWidth >= QFontMetrics(w.TableResults->font()).horizontalAdvance(table.cellText(0, 0)));
    QVERIFY(!fs::exists(work.path() / "hightvals.dat"));
    QVERIFY(w.fileSaveAction->isEnabled());
    QVERIFY(w.fileSaveAsAction->isEnabled());
    QVERIFY(!w.fileOpenAction->isEnabled());
    QVERIFY(w.buildAvailable());
}

void WindowBuildTest::missingMapDataWarnsAndKeepsEarlierValues()
{
    TempDir pictures, work;
    const fs::path picture = pictures.path() / "sample-map.bmp";
    const fs::path mapData = pictures.path() / "QarnSizer_MAP_Data.xdt";
    fs::copy_file(kExamples / "sample-map.bmp", picture);
    ScopedWorkingDir cd(work.path());

    RecordingWindow w;
    prepare(w, picture);
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({kCleanRun, "Can not find file", kResultsReady}));
    QCOMPARE(w.boxes[1].kind, QString("warning"));
    QVERIFY(w.boxes[1].hasParent);
    QCOMPARE(w.boxes[1].text, QString("The program can not locate the file <b>QarnSizer_MAP_Data.xdt</b></p>"
                                      "<p>Some data for thsi map is NOT available to this program<br>"
                                      "This may cause problems when building the final map with the Tesselkit"));
    QCOMPARE(w.mapDataPresent, 0);
    QCOMPARE(w.buildOk, 1);
    // Nothing read yet: zeros, not the form's placeholders.
    QCOMPARE(detailLabels(w), QStringList({"0", "0", "0.000", "0.100", "32400", "3600"}));
    QCOMPARE(w.tableRows, 45);

    fs::copy_file(kExamples / "QarnSizer_MAP_Data.xdt", mapData);
    w.boxes.clear();
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({kCleanRun, kResultsReady}));
    QCOMPARE(w.mapDataPresent, 1);
    QCOMPARE(detailLabels(w), QStringList({"400", "600", "30.922", "0.100", "32400", "3600"}));

    // Gone again: the warning, and the values read before stay on show.
    fs::remove(mapData);
    w.boxes.clear();
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({kCleanRun, "Can not find file", kResultsReady}));
    QCOMPARE(w.mapDataPresent, 0);
    QCOMPARE(detailLabels(w), QStringList({"400", "600", "30.922", "0.100", "32400", "3600"}));
}

void WindowBuildTest::failedBuildsKeepTheLastGoodTable_data()
{
    QTest::addColumn<QString>("picture");   // file name in the pictures folder; "" none there
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("blockHeightsFile"); // a folder where "hightvals.dat" would go
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("hasParent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("openEnabled");

    QTest::newRow("not a BMP") << "notes.bmp" << QByteArray("Hello, not a picture") << false << RESULT_NOT_BMP
                               << "warning" << true << "File Not Valid" << true;
    QTest::newRow("picture gone") << "" << QByteArray() << false << RESULT_CANNOT_OPEN_BMP << "critical" << true
                                  << "Can not find file" << false;
    QTest::newRow("bad header") << "bad.bmp" << QByteArray("BM").append(60, '\0') << false << RESULT_BAD_HEADER
                                << "critical" << true << "Currupt Image Data" << false;
    QTest::newRow("height values file blocked") << "sample-map.bmp" << QByteArray() << true
                                                << RESULT_TEMP_FILE_FAILED << "critical" << false
                                                << "Can not open file" << false;
}

void WindowBuildTest::failedBuildsKeepTheLastGoodTable()
{
    QFETCH(QString, picture);
    QFETCH(QByteArray, content);
    QFETCH(bool, blockHeightsFile);
    QFETCH(int, result);
    QFETCH(QString, kind);
    QFETCH(bool, hasParent);
    QFETCH(QString, caption);
    QFETCH(bool, openEnabled);

    TempDir pictures, work;
    fs::copy_file(kExamples / "sample-map.bmp", pictures.path() / "sample-map.bmp");
    fs::copy_file(kExamples / "QarnSizer_MAP_Data.xdt", pictures.path() / "QarnSizer_MAP_Data.xdt");
    ScopedWorkingDir cd(work.path());

    RecordingWindow w;
    prepare(w, pictures.path() / "sample-map.bmp");
    w.ProcessPB_clicked();
    QCOMPARE(w.buildOk, 1);
    const QStringList labels = detailLabels(w);
    const QString cell = w.TableResultsModel->cellText(10, 20);

    // The next build works on another file, or cannot write its height values.
    const fs::path other = pictures.path() / (picture.isEmpty() ? "missing.bmp" : picture.toStdString());
    if (!content.isEmpty())
        qarn_test::writeFile(other, content.toStdString());
    w.bmpFilePath = other.string();
    if (blockHeightsFile)
        fs::create_directory(work.path() / "hightvals.dat");
    w.boxes.clear();
    w.ProcessPB_clicked();

    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].kind, kind);
    QCOMPARE(w.boxes[0].hasParent, hasParent);
    QCOMPARE(w.boxes[0].caption, caption);
    QCOMPARE(w.extractionResult, result);
    QCOMPARE(w.buildOk, 0);
    QCOMPARE(w.fileOpenAction->isEnabled(), openEnabled);
    QCOMPARE(w.tableRows, 45);
    QCOMPARE(w.grid.rows(), 45);
    QCOMPARE(w.TableResultsModel->rowCount(), 45);
    QCOMPARE(w.TableResultsModel->cellText(10, 20), cell);
    QCOMPARE(detailLabels(w), labels);
    QVERIFY(w.fileSaveAsAction->isEnabled());
    QVERIFY(w.buildAvailable());
}

void WindowBuildTest::colourErrorBelongsToOneBuild()
{
    TempDir pictures, work;
    ScopedWorkingDir cd(work.path());
    const fs::path picture = pictures.path() / "hills.bmp";
    auto rung = [](int r, int c) { return SYSTEM_COLOUR_SET[std::size_t(r + c) % 18]; };
    // One black block in the middle of the map.
    paintBlocks(picture, 6, 4, [&](int r, int c) { return r == 2 && c == 3 ? Rgb{0, 0, 0} : rung(r, c); });

    RecordingWindow w;
    prepare(w, picture);
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({"Colour Error in BMP file"}));
    QCOMPARE(w.boxes[0].kind, QString("information"));
    QVERIFY(w.boxes[0].text.contains("Reserved Colour"));
    QCOMPARE(w.buildOk, 0);
    QCOMPARE(w.extractionResult, 0);
    QCOMPARE(w.tableRows, 0);
    QVERIFY(!w.fileSaveAction->isEnabled());
    QCOMPARE(w.HeightLabelOut_2->text(), QString());

    // The picture mended in another program, then built again in the same run.
    paintBlocks(picture, 6, 4, rung);
    w.boxes.clear();
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({kCleanRun, "Can not find file", kResultsReady}));
    QCOMPARE(w.buildOk, 1);
    QCOMPARE(w.tableRows, 4);
    QCOMPARE(w.tableCols, 6);
    QVERIFY(w.fileSaveAction->isEnabled());
    QVERIFY(!fs::exists(work.path() / "hightvals.dat"));
}

void WindowBuildTest::correctedColourSetChoiceBuildsCleanly()
{
    TempDir pictures, work;
    ScopedWorkingDir cd(work.path());
    const fs::path picture = pictures.path() / "band.bmp";
    // The top block row holds rungs 0 to 9, the map below it rungs 10 to 12:
    // a user set made of that band does not know the map's colours, the
    // system set knows them all.
    paintBlocks(picture, 10, 4, [](int r, int c) {
        return SYSTEM_COLOUR_SET[std::size_t(r == 0 ? c : 10 + (r + c) % 3)];
    });

    RecordingWindow w;
    prepare(w, picture, COLOUR_SET_USER);
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({"Colour Error in BMP file"}));
    QCOMPARE(w.buildOk, 0);

    w.SystemColourRB->click();
    w.boxes.clear();
    w.ProcessPB_clicked();
    QCOMPARE(w.captions(), QStringList({kCleanRun, "Can not find file", kResultsReady}));
    QCOMPARE(w.buildOk, 1);
    QCOMPARE(w.tableRows, 4);
    QCOMPARE(w.tableCols, 10);
    QVERIFY(!w.TableResultsModel->cellText(0, 0).isEmpty());
}

void WindowBuildTest::previewFollowsTheBuildAndTableEdits()
{
    TempDir pictures, work;
    fs::copy_file(kExamples / "sample-map.bmp", pictures.path() / "sample-map.bmp");
    ScopedWorkingDir cd(work.path());
    RecordingWindow w;
    w.show();
    // The specified pages keep their places; the preview comes after them.
    QCOMPARE(w.ProcesstabWidget->count(), 4);
    QCOMPARE(w.ProcesstabWidget->tabText(2), QString("Details"));
    QCOMPARE(w.ProcesstabWidget->tabText(3), QString("Preview"));
    QCOMPARE(w.ProcesstabWidget->widget(3), static_cast<QWidget*>(w.previewPage()));
    QVERIFY(w.previewPage()->picture().isNull());

    prepare(w, pictures.path() / "sample-map.bmp");
    w.ProcessPB->click();
    w.ProcesstabWidget->setCurrentWidget(w.previewPage());
    const QImage built = w.previewPage()->picture();
    QVERIFY(!built.isNull());
    // 70 x 45 cells at the renderer's scale for a small map: the map's shape.
    QCOMPARE(built.width() * 45, built.height() * 70);

    // An edit shows at once, from the table's values as Save reads them.
    const int scale = built.width() / 70;
    const QPoint centre(20 * scale + scale / 2, 30 * scale + scale / 2);
    QVERIFY(w.TableResultsModel->setData(w.TableResultsModel->index(30, 20), "2000", Qt::EditRole));
    const QImage edited = w.previewPage()->picture();
    QVERIFY(edited.pixel(centre) != built.pixel(centre));
    // Undone, the picture is the build's again.
    w.tableUndoStack()->undo();
    QCOMPARE(w.previewPage()->picture(), built);
}

QTEST_MAIN(WindowBuildTest)
#include "window_build_test.moc"
