// The builder's main window: start state, File > Open, the colour set choice,
// "CONFIRM DATA" with every refusal, About and Exit, driven through the
// window's dialog seam.
#include "duvavaz_evedaz.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <deque>

namespace {

struct Box {
    QString kind;
    bool hasParent;
    QString caption;
    QString text;
};

// Records every box and answers every file dialog from a queue.
class RecordingWindow : public DuvavazEvedaz {
public:
    std::vector<Box> boxes;
    std::deque<QString> openAnswers;
    QStringList openFilters;
    int exitStatus = -1;

    // What an entry held at the moment its refusal was shown.
    QString minTextAtBox, contourTextAtBox;

protected:
    void record(const char* kind, QWidget* parent, const QString& caption, const QString& text)
    {
        minTextAtBox = MinElevationlineEdit->text();
        contourTextAtBox = ContourlineEdit->text();
        boxes.push_back({kind, parent != nullptr, caption, text});
    }
    void showInformation(QWidget* p, const QString& c, const QString& t) override { record("information", p, c, t); }
    void showWarning(QWidget* p, const QString& c, const QString& t) override { record("warning", p, c, t); }
    void showCritical(QWidget* p, const QString& c, const QString& t) override { record("critical", p, c, t); }
    void showAbout(const QString& c, const QString& t) override { record("about", this, c, t); }
    QString askOpenFileName(const QString& filter) override
    {
        openFilters << filter;
        if (openAnswers.empty())
            return {};
        QString answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    QString askSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void endProcess(int status) override { exitStatus = status; }
};

const QString kTail = "<p> It must be a positiive number equal to or greater than ZERO<br>There should be no "
                      "spaces added to the value after the last digit.</p><p> Make the appropiate selection to "
                      "continue</p>";

void openPicture(RecordingWindow& w, const QString& path)
{
    w.openAnswers.push_back(path);
    w.fileOpen();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsEmptyWithBuildHidden();
    void openingRecordsThePathsAndLocksOpen();
    void openingKeepsLongAndNonAsciiPaths();
    void cancelledOpenChangesNothing();
    void colourSetButtonsSetTheChoice();
    void confirmRefusals_data();
    void confirmRefusals();
    void confirmAcceptsAndShowsBuildInRed_data();
    void confirmAcceptsAndShowsBuildInRed();
    void refusalAfterAcceptanceHidesBuildAgain();
    void aboutShowsTheVersion();
    void exitEndsWithStatusZero();
};

void WindowTest::startsEmptyWithBuildHidden()
{
    RecordingWindow w;
    w.show();
    QCOMPARE(w.MinElevationlineEdit->text(), QString());
    QCOMPARE(w.ContourlineEdit->text(), QString());
    for (QLabel* box : {w.LongLabelOut_2, w.LatLabelOut_2, w.AlphaLabelOut, w.msLabelOut, w.WidthLabelOut_2,
                        w.HeightLabelOut_2})
        QCOMPARE(box->text(), QString());
    QVERIFY(!w.SystemColourRB->isChecked());
    QVERIFY(!w.UserColourRB->isChecked());
    QVERIFY(!w.ProcessPB->isVisible());
    QVERIFY(!w.ProcessIttextLabel->isVisible());
    QVERIFY(!w.buildAvailable());
    QVERIFY(w.fileOpenAction->isEnabled());
    QVERIFY(!w.fileSaveAction->isEnabled());
    QVERIFY(!w.fileSaveAsAction->isEnabled());
    QVERIFY(w.fileExitAction->isEnabled());
    QVERIFY(w.helpAboutAction->isEnabled());
    QCOMPARE(w.colourSetChoice, -3);
    QCOMPARE(w.minElevation, -99);
    QCOMPARE(w.buildOk, 1);
    QCOMPARE(w.savedOnce, 0);
    QCOMPARE(w.mapDataPresent, 1);
    QVERIFY(w.bmpPath.isEmpty());
}

void WindowTest::openingRecordsThePathsAndLocksOpen()
{
    RecordingWindow w;
    w.savedOnce = 1;
    w.openAnswers.push_back("C:/maps/Hill.BMP");
    w.fileOpenAction->trigger();

    QCOMPARE(w.openFilters, QStringList{"Images (*.bmp)"});
    QCOMPARE(w.bmpPath, QString("C:/maps/Hill.BMP"));
    QCOMPARE(w.mapDataPath, QString("C:/maps/Hill.BMP"));
    QCOMPARE(w.bmpFilePath, std::string("C:/maps/Hill.BMP"));
    QCOMPARE(w.proposedSaveName, QString("C:/maps/Hill-arcinfo-ascii.asc"));
    QCOMPARE(w.savedOnce, 0);
    QCOMPARE(w.statusBar()->currentMessage(), QString("Loaded BMP details for C:/maps/Hill.BMP"));
    QVERIFY(w.boxes.empty());

    // The action is now off, so neither the menu nor Ctrl+O asks again.
    QVERIFY(!w.fileOpenAction->isEnabled());
    w.openAnswers.push_back("C:/maps/other.bmp");
    w.fileOpenAction->trigger();
    QCOMPARE(w.openFilters.size(), 1);
    QCOMPARE(w.bmpPath, QString("C:/maps/Hill.BMP"));

    // Every ".bmp", in any case and inside folder names too, leaves the proposal.
    w.openAnswers.clear();
    w.fileOpenAction->setEnabled(true);
    openPicture(w, "/data/old.bmp.d/north.Bmp");
    QCOMPARE(w.proposedSaveName, QString("/data/old.d/north-arcinfo-ascii.asc"));
}

void WindowTest::openingKeepsLongAndNonAsciiPaths()
{
    RecordingWindow w;
    const QString longPath = "/maps/" + QString(400, QChar('a')) + "/f\u00f6rest.bmp";
    openPicture(w, longPath);
    QCOMPARE(w.bmpPath, longPath);
    QCOMPARE(w.bmpFilePath, QFile::encodeName(longPath).toStdString());
    QCOMPARE(QFile::decodeName(QByteArray::fromStdString(w.bmpFilePath)), longPath);
}

void WindowTest::cancelledOpenChangesNothing()
{
    RecordingWindow w;
    w.fileOpen();
    QCOMPARE(w.statusBar()->currentMessage(), QString("Loading aborted"));
    QVERIFY(w.bmpPath.isEmpty());
    QVERIFY(w.proposedSaveName.isEmpty());
    QVERIFY(w.fileOpenAction->isEnabled());
}

void WindowTest::colourSetButtonsSetTheChoice()
{
    RecordingWindow w;
    w.show();
    w.UserColourRB->click();
    QCOMPARE(w.colourSetChoice, 0);
    w.SystemColourRB->click();
    QCOMPARE(w.colourSetChoice, 1);
    QVERIFY(w.boxes.empty());
}

void WindowTest::confirmRefusals_data()
{
    QTest::addColumn<bool>("fileLoaded");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("minText");
    QTest::addColumn<QString>("contourText");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("minAfter");     // entry texts after the box
    QTest::addColumn<QString>("contourAfter");
    QTest::addColumn<int>("minElevation");     // stored values after the refusal
    QTest::addColumn<int>("contourInterval");

    const QString noFile = "<p>No file has been selected yet</p><p>Select a BMP file to continue</p>";
    const QString noSet = "<p><b>The Elevation Colour Set</b> to be used has not been selected.</p><p> Make the "
                          "appropiate selection to continue</p>";
    const QString minUnset = "<p>The Minimum Elevation Height has not been set.<br> It must be a positiive number "
                             "equal to or greater than ZERO</p><p> Make the appropiate selection to continue</p>";
    const QString minError = "<p>The Minimum Elevation Height has an error.</p>" + kTail;
    const QString minNegative = "<p>The Minimum Elevation Height is negative.</p>" + kTail;
    const QString contourUnset = "<p>Contour Interval has not been set.<br> It must be a positiive number equal "
                                 "to or greater than ZERO</p><p> Make the appropiate selection to continue</p>";
    const QString contourError = "<p>Contour Interval has an error.</p>" + kTail;
    const QString contourNegative = "<p>The Contour Interval is negative.</p>" + kTail;
    const QString minCap = "Minimum Elevation Height";
    const QString conCap = "Contour Interval";

    // Earlier tests win; entries are not looked at before their turn.
    QTest::newRow("no file, all else fine") << false << 1 << "10" << "25" << "No File Loaded" << noFile << "10"
                                            << "25" << -99 << 0;
    QTest::newRow("no colour set") << true << -3 << "10" << "25" << "Elevation Colour Set" << noSet << "10" << "25"
                                   << -99 << 0;
    QTest::newRow("min empty") << true << 1 << "" << "25" << minCap << minUnset << "" << "25" << -99 << 0;
    QTest::newRow("min 12a") << true << 0 << "12a" << "25" << minCap << minError << "" << "25" << 0 << 0;
    QTest::newRow("min blanks only") << true << 1 << "   " << "25" << minCap << minError << "" << "25" << 0 << 0;
    QTest::newRow("min 2147483648") << true << 1 << "2147483648" << "25" << minCap << minError << "" << "25" << 0
                                    << 0;
    QTest::newRow("min -5") << true << 1 << "-5" << "25" << minCap << minNegative << "" << "25" << -5 << 0;
    QTest::newRow("min 1.5") << true << 1 << "1.5" << "25" << minCap << minError << "" << "25" << 0 << 0;
    QTest::newRow("contour empty") << true << 1 << "0" << "" << conCap << contourUnset << "0" << "" << 0 << 0;
    QTest::newRow("contour 0") << true << 1 << "100" << "0" << conCap << contourNegative << "100" << "" << 100 << 0;
    QTest::newRow("contour -20") << true << 1 << "100" << "-20" << conCap << contourNegative << "100" << "" << 100
                                 << -20;
    QTest::newRow("contour x") << true << 1 << "100" << "x" << conCap << contourError << "100" << "" << 100 << 0;
    QTest::newRow("contour blanks") << true << 1 << "100" << " " << conCap << contourError << "100" << "" << 100 << 0;
}

void WindowTest::confirmRefusals()
{
    QFETCH(bool, fileLoaded);
    QFETCH(int, choice);
    QFETCH(QString, minText);
    QFETCH(QString, contourText);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QFETCH(QString, minAfter);
    QFETCH(QString, contourAfter);
    QFETCH(int, minElevation);
    QFETCH(int, contourInterval);

    RecordingWindow w;
    w.show();
    if (fileLoaded)
        openPicture(w, "/maps/alpha.bmp");
    w.colourSetChoice = choice;
    w.MinElevationlineEdit->setText(minText);
    w.ContourlineEdit->setText(contourText);
    QTest::mouseClick(w.ConfirmpushButton, Qt::LeftButton);

    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].kind, QString("critical"));
    QVERIFY(!w.boxes[0].hasParent);
    QCOMPARE(w.boxes[0].caption, caption);
    QCOMPARE(w.boxes[0].text, message);
    // The entry is emptied only once the box has been answered.
    QCOMPARE(w.minTextAtBox, minText);
    QCOMPARE(w.contourTextAtBox, contourText);
    QCOMPARE(w.MinElevationlineEdit->text(), minAfter);
    QCOMPARE(w.ContourlineEdit->text(), contourAfter);
    QCOMPARE(w.minElevation, minElevation);
    QCOMPARE(w.contourInterval, contourInterval);
    QVERIFY(!w.ProcessPB->isVisible());
    QVERIFY(!w.ProcessIttextLabel->isVisible());
}

void WindowTest::confirmAcceptsAndShowsBuildInRed_data()
{
    QTest::addColumn<QString>("minText");
    QTest::addColumn<QString>("contourText");
    QTest::addColumn<int>("minElevation");
    QTest::addColumn<int>("contourInterval");

    QTest::newRow("zero minimum") << "0" << "25" << 0 << 25;
    QTest::newRow("blanks around") << " 100 " << " 10 " << 100 << 10;
    QTest::newRow("plus sign") << "+7" << "+1" << 7 << 1;
    QTest::newRow("largest int") << "2147483647" << "2147483647" << 2147483647 << 2147483647;
}

void WindowTest::confirmAcceptsAndShowsBuildInRed()
{
    QFETCH(QString, minText);
    QFETCH(QString, contourText);
    QFETCH(int, minElevation);
    QFETCH(int, contourInterval);

    RecordingWindow w;
    w.show();
    openPicture(w, "/maps/alpha.bmp");
    w.SystemColourRB->click();
    w.MinElevationlineEdit->setText(minText);
    w.ContourlineEdit->setText(contourText);
    w.ConfirmpushButton->click();

    QVERIFY(w.boxes.empty());
    QCOMPARE(w.minElevation, minElevation);
    QCOMPARE(w.contourInterval, contourInterval);
    QCOMPARE(w.MinElevationlineEdit->text(), minText);
    QVERIFY(w.ProcessPB->isVisible());
    QVERIFY(w.ProcessPB->isEnabled());
    QVERIFY(w.ProcessIttextLabel->isVisible());
    QVERIFY(w.buildAvailable());
    QCOMPARE(w.ProcessPB->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    QCOMPARE(w.ProcessIttextLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Confirming touches neither the Open action nor saving.
    QVERIFY(!w.fileOpenAction->isEnabled());
    QVERIFY(!w.fileSaveAction->isEnabled());
}

void WindowTest::refusalAfterAcceptanceHidesBuildAgain()
{
    RecordingWindow w;
    w.show();
    openPicture(w, "/maps/alpha.bmp");
    w.UserColourRB->click();
    w.MinElevationlineEdit->setText("50");
    w.ContourlineEdit->setText("20");
    w.ConfirmpushButton->click();
    QVERIFY(w.buildAvailable());

    w.ContourlineEdit->setText("0");
    w.ConfirmpushButton->click();
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QVERIFY(!w.buildAvailable());
    QVERIFY(!w.ProcessIttextLabel->isVisible());

    // A corrected entry brings it back.
    w.ContourlineEdit->setText("20");
    w.ConfirmpushButton->click();
    QVERIFY(w.buildAvailable());
}

void WindowTest::aboutShowsTheVersion()
{
    RecordingWindow w;
    w.helpAboutAction->trigger();
    QCOMPARE(w.boxes.size(), std::size_t(1));
    QCOMPARE(w.boxes[0].kind, QString("about"));
    QCOMPARE(w.boxes[0].caption, QString("About Qarn Forge"));
    QVERIFY(w.boxes[0].text.startsWith(
        "<HTML><p><b>Qarn Forge</b></p><p>This program reads a BMP coloured layer graphic and converts it into an "
        "'arcinfo ascii' format.</p><p>The program uses data from the application 'Qarn Sizer' the Map Size "
        "Calculator.</p>"));
    QVERIFY(w.boxes[0].text.contains(QString("Version ") + QARN_VERSION));
}

void WindowTest::exitEndsWithStatusZero()
{
    RecordingWindow w;
    w.colourHeights = {1, 2, 3};
    w.fileExitAction->trigger();
    QCOMPARE(w.exitStatus, 0);
    QVERIFY(w.colourHeights.empty());
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
