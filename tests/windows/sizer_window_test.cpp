// QarnSizer's main window through its seams: "Get Results", its checks, the
// colour sets and File > Exit with its files. Boxes and status texts are
// compared with the catalogue tests/messages.tsv.
#include "sizer/ui/sizer_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include "sizer/size_entry_checks.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::sizer;

using namespace qarn_test;

namespace {

class RecordingSizerWindow : public SizerWindow {
public:
    RecordingSizerWindow()
    {
        setDialogs(&seam);
        QObject::connect(statusBar(), &QStatusBar::messageChanged, [this](const QString& t) { statuses << t; });
    }
    RecordingDialogs seam;
    QStringList statuses;
};

const std::map<std::string, CatalogueEntry> catalogue = messageCatalogue();

QString status(const std::string& key)
{
    return QString::fromStdString(catalogue.at(key).text);
}

void press(RecordingSizerWindow& w, QRadioButton* choice, const QString& width, const QString& height)
{
    if (choice)
        choice->click();
    w.WidthIn->setText(width);
    w.HeightIn->setText(height);
    w.CalculateButton->click();
}

// The entries, their echoes and the eight result fields.
QStringList fields(const RecordingSizerWindow& w)
{
    return {w.HeightIn->text(), w.WidthIn->text(), w.RheightIn->text(), w.RWidthIn->text(),
            w.ResMapHeight->text(), w.ResMapWidth->text(), w.DisplayHeightOutLabel->text(),
            w.DisplayWidthOutLabel->text(), w.DisplayHeightOutULabel->text(), w.DisplayWidthOutULabel->text()};
}

QColor noteColour(const RecordingSizerWindow& w)
{
    return w.SizeNoteLabel_2->palette().color(QPalette::WindowText);
}

} // namespace

class SizerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void refusedEntries();
    void resultsForEitherColourSet();
    void exitWritesBothFilesAndTellsOfThem();
    void exitTellsOfAFileNotWritten();
    void aboutAndExitWithNothingToWrite();
};

void SizerWindowTest::refusedEntries()
{
    // Colour set chosen, the entries, the box, and HeightIn, WidthIn, RheightIn, RWidthIn after it.
    const struct {
        bool chosen;
        QString width, height;
        std::string key;
        QStringList entries;
        SizeCheck check;
    } cases[] = {{false, "0", "99999", "size 1", {"99999", "0", "99999", "0"}, SizeCheck::NoColourSet},
                 {true, "5000", "5001", "size 3", {"", "5000", "", "5000"}, SizeCheck::HeightTooLarge},
                 {true, "5001", "5000", "size 4", {"5000", "", "5000", ""}, SizeCheck::WidthTooLarge},
                 {true, "ten", "100", "size 5", {"", "", "", ""}, SizeCheck::NotPositive}};
    for (const auto& c : cases) {
        RecordingSizerWindow w;
        press(w, c.chosen ? w.SysColourRB : nullptr, c.width, c.height);
        QCOMPARE(w.seam.boxes, QStringList{box(c.key)});
        QCOMPARE(fields(w).mid(0, 4), c.entries);
        // Text that is not a whole number gets the core's line under the box.
        const std::string note = sizeCheckNote(c.check, c.width.toStdString(), c.height.toStdString());
        QCOMPARE(w.statuses, note.empty() ? QStringList{} : QStringList{QString::fromStdString(note)});
    }
}

void SizerWindowTest::resultsForEitherColourSet()
{
    RecordingSizerWindow w;
    press(w, w.UserColourRB, "40", "5000");
    QVERIFY(w.seam.boxes.isEmpty());
    QCOMPARE(fields(w), (QStringList{"5000", "40", "5000", "40", "50090", "920", "5400", "100", "5410", "100"}));
    QCOMPARE(noteColour(w), QColor(255, 0, 0));
    QCOMPARE(w.statuses, (QStringList{status("sizer status processing"), status("sizer status ready")}));
    press(w, w.SysColourRB, "1000", "800");
    QCOMPARE(fields(w), (QStringList{"800", "1000", "800", "1000", "8340", "10200", "900", "1100", "", ""}));
    QCOMPARE(noteColour(w), QColor(0, 0, 0));
}

void SizerWindowTest::exitWritesBothFilesAndTellsOfThem()
{
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    RecordingSizerWindow w;
    press(w, w.SysColourRB, "1000", "800");
    w.statuses.clear();
    w.fileExitAction->trigger();
    QCOMPARE(readFile("QarnSizer_Data.txt"), readFile(testData("sizer/run_details.expected")));
    QCOMPARE(readFile("QarnSizer_MAP_Data.xdt"), readFile(testData("sizer/worked_example.xdt")));
    QCOMPARE(w.statuses, (QStringList{status("sizer status writing"), status("sizer status written")}));
    QCOMPARE(w.seam.boxes, QStringList{box("sizer exit")});
    QCOMPARE(w.seam.leaveStatuses, QList<int>{0});
}

void SizerWindowTest::exitTellsOfAFileNotWritten()
{
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    fs::create_directory("QarnSizer_MAP_Data.xdt");
    RecordingSizerWindow w;
    press(w, w.UserColourRB, "1000", "800");
    w.statuses.clear();
    w.fileExit();
    QCOMPARE(w.seam.boxes, (QStringList{box("sizer file not written", "QarnSizer_MAP_Data.xdt",
                                       "not a regular file"),
                                   box("sizer exit")}));
    QCOMPARE(w.statuses, (QStringList{status("sizer status writing"), status("sizer status written")}));
    QVERIFY(fs::is_regular_file("QarnSizer_Data.txt"));
}

void SizerWindowTest::aboutAndExitWithNothingToWrite()
{
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    RecordingSizerWindow w;
    w.helpAboutAction->trigger();
    QCOMPARE(w.seam.boxes, QStringList{box("sizer about")});
    press(w, w.SysColourRB, "0", "100");
    w.seam.boxes.clear();
    w.fileExit();
    QVERIFY(w.seam.boxes.isEmpty());
    QCOMPARE(w.seam.leaveStatuses, QList<int>{0});
    QVERIFY(fs::is_empty(dir.path()));
}

QTEST_MAIN(SizerWindowTest)
#include "sizer_window_test.moc"
