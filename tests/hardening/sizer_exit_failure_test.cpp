// File > Exit of the calculator where its working directory refuses files: a
// read-only folder, a full disk, a folder removed while the program runs, and
// a folder named with blanks and letters beyond ASCII, which must work. Each
// file not written gets a warning naming it and the reason; earlier files stay;
// no temporary is left; the window still ends through its seam.
#include "tests/sizer/recording_sizer_window.h"

#include "failure_places.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using hardening::FailurePlace;
using hardening::Place;
using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;

Q_DECLARE_METATYPE(hardening::Place)

class SizerExitFailureTest : public QObject {
    Q_OBJECT

private slots:
    void exitWhereWritingFails_data();
    void exitWhereWritingFails();
};

void SizerExitFailureTest::exitWhereWritingFails_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<bool>("reportWritten");
    QTest::addColumn<bool>("mapDataWritten");
    QTest::newRow("read-only folder") << Place::ReadOnlyFolder << false << false;
    // A full small disk refuses both; a file size limit only the longer report.
    QTest::newRow("full disk") << Place::FullDisk << false << !hardening::privateMounts();
    QTest::newRow("folder removed") << Place::MissingFolder << false << false;
    QTest::newRow("blanks and non-ASCII") << Place::Ordinary << true << true;
}

void SizerExitFailureTest::exitWhereWritingFails()
{
    QFETCH(Place, place);
    QFETCH(bool, reportWritten);
    QFETCH(bool, mapDataWritten);

    FailurePlace where(place, "Gr\xc3\xb6\xc3\x9f" "e und Ma\xc3\x9f" "e");
    const bool folderThere = place != Place::MissingFolder;
    if (folderThere) {
        where.keep("QarnSizer_Data.txt", "earlier report");
        where.keep("QarnSizer_MAP_Data.xdt", "earlier map");
    } else {
        fs::create_directory(where.folder());
    }
    if (const std::string why = where.setup(); !why.empty())
        QSKIP(qPrintable(QString(placeName(place)) + ": " + QString::fromStdString(why)));
    // Into the folder only now: a working directory entered before the
    // read-only mount would still be the writable one beneath it.
    ScopedWorkingDir cd(where.folder());
    if (!folderThere)
        fs::remove(where.folder()); // the working directory goes while the window is open

    RecordingSizerWindow w;
    w.SysColourRB->click();
    w.WidthIn->setText("1000");
    w.HeightIn->setText("800");
    w.CalculateButton->click();
    w.fileExitAction->trigger();
    where.lift();

    QCOMPARE(w.quitStatuses, QList<int>{0});
    QStringList warned;
    for (const auto& m : w.messages)
        if (m.caption == "File Not Written") {
            QVERIFY2(m.text.contains(QString::fromStdString(where.reason())), qPrintable(m.text));
            for (const char* name : {"QarnSizer_Data.txt", "QarnSizer_MAP_Data.xdt"})
                if (m.text.contains(QString("<b>%1</b>").arg(name)))
                    warned << name;
        }
    QStringList expected;
    if (!reportWritten)
        expected << "QarnSizer_Data.txt";
    if (!mapDataWritten)
        expected << "QarnSizer_MAP_Data.xdt";
    QCOMPARE(warned, expected);
    QCOMPARE(w.messages.last().caption, QString("Qarn Sizer run details now available"));
    if (!folderThere)
        return;
    const std::string report = readFile(where.folder() / "QarnSizer_Data.txt");
    const std::string mapData = readFile(where.folder() / "QarnSizer_MAP_Data.xdt");
    if (reportWritten)
        QVERIFY(report.find("                  Height : 800 (10's m)\n") != std::string::npos);
    else
        QCOMPARE(report, std::string("earlier report"));
    if (mapDataWritten)
        QCOMPARE(mapData.size(), std::size_t(16));
    else
        QCOMPARE(mapData, std::string("earlier map"));
    for (const auto& e : fs::directory_iterator(where.folder())) {
        const std::string name = e.path().filename().string();
        QVERIFY2(name.rfind('.') == std::string::npos || name.rfind('.') + 7 != name.size(), name.c_str());
    }
}

int main(int argc, char** argv)
{
    // Mount namespaces can only be entered while the process has one thread.
    hardening::privateMounts();
    QApplication app(argc, argv);
    SizerExitFailureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "sizer_exit_failure_test.moc"
