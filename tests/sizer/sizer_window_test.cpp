#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

#include "tests/sizer/recording_sizer_window.h"
#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::ScopedWorkingDir;
using qarn_test::TempDir;
using Kind = MessageKind;

namespace {

const char* const MAP_DATA_EXAMPLE = "\x20\x03\x00\x00\xE8\x03\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40";
const char* const EXIT_CAPTION = "Qarn Sizer run details now available";

enum Choice { None, System, User };

void choose(RecordingSizerWindow& w, Choice choice)
{
    if (choice == System)
        QTest::mouseClick(w.SysColourRB, Qt::LeftButton);
    if (choice == User)
        QTest::mouseClick(w.UserColourRB, Qt::LeftButton);
}

void press(RecordingSizerWindow& w, const QString& width, const QString& height)
{
    w.WidthIn->setText(width);
    w.HeightIn->setText(height);
    QTest::mouseClick(w.CalculateButton, Qt::LeftButton);
}

// The ten fields the window fills, by name, with their current text.
QStringList fieldTexts(const RecordingSizerWindow& w)
{
    return {w.HeightIn->text(),
            w.WidthIn->text(),
            w.RheightIn->text(),
            w.RWidthIn->text(),
            w.ResMapHeight->text(),
            w.ResMapWidth->text(),
            w.DisplayHeightOutLabel->text(),
            w.DisplayWidthOutLabel->text(),
            w.DisplayHeightOutULabel->text(),
            w.DisplayWidthOutULabel->text()};
}

QColor textColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

} // namespace

class SizerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsBlankWithNoColourSet();
    void menusHoldTheirActions();
    void radioButtonsRecordTheChoice();
    void rejectedPress_data();
    void rejectedPress();
    void rejectedPressKeepsEarlierResults();
    void acceptedPress_data();
    void acceptedPress();
    void switchingColourSetsRefillsUserFields();
    void aboutBox();
    void exitWritesFilesByTheLastPress_data();
    void exitWritesFilesByTheLastPress();
    void exitReportsAFileThatCannotBeWritten_data();
    void exitReportsAFileThatCannotBeWritten();
    void exitActionRunsTheExit();
    void closingTheWindowWritesNothing();
};

void SizerWindowTest::startsBlankWithNoColourSet()
{
    RecordingSizerWindow w;
    QCOMPARE(w.objectName(), QStringLiteral("SizerWindowBase"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Qarn Sizer"));
    QCOMPARE(w.size(), QSize(600, 500));
    QCOMPARE(w.maximumSize(), QSize(600, 500));
    QCOMPARE(w.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QVERIFY(!w.windowIcon().isNull());
    for (const QString& text : fieldTexts(w))
        QVERIFY(text.isEmpty());
    QVERIFY(!w.SysColourRB->isChecked());
    QVERIFY(!w.UserColourRB->isChecked());
    QCOMPARE(w.colourSetChoice, -99);
    QCOMPARE(w.tabWidgetbase->currentWidget(), w.DetailTab);
    QCOMPARE(w.tabWidgetbase->tabText(0), QStringLiteral("Enter Details"));
    QCOMPARE(w.tabWidgetbase->tabText(1), QStringLiteral("Results"));
    QCOMPARE(w.calculation.colourSet, 1);
    QVERIFY(w.ColourSelectGroup->exclusive());
    QVERIFY(w.CalculateButton->font().bold());
    QVERIFY(w.getResultsNote->toPlainText().startsWith(QStringLiteral("GET RESULTS\nPress the “Get Results”")));
}

void SizerWindowTest::menusHoldTheirActions()
{
    RecordingSizerWindow w;
    const QList<QAction*> menus = w.MenuBar->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Help"));
    const QList<QAction*> file = w.fileMenu->actions();
    QCOMPARE(file.size(), 3);
    QVERIFY(file[0]->isSeparator() && file[1]->isSeparator());
    QCOMPARE(file[2], w.fileExitAction);
    QCOMPARE(w.fileExitAction->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.fileExitAction->iconText(), QStringLiteral("Exit"));
    QVERIFY(w.fileExitAction->shortcut().isEmpty());
    const QList<QAction*> help = w.helpMenu->actions();
    QCOMPARE(help.size(), 2);
    QVERIFY(help[0]->isSeparator());
    QCOMPARE(help[1]->text(), QStringLiteral("&About"));
}

void SizerWindowTest::radioButtonsRecordTheChoice()
{
    RecordingSizerWindow w;
    choose(w, User);
    QCOMPARE(w.colourSetChoice, 0);
    choose(w, System);
    QCOMPARE(w.colourSetChoice, 1);
    QVERIFY(!w.UserColourRB->isChecked());
}

void SizerWindowTest::rejectedPress_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("emptied"); // of HeightIn, WidthIn, RheightIn, RWidthIn

    const QString noSet = QStringLiteral("<p><b>The Elevation Colour Set</b> to be used has not been selected.</p>"
                                         "<p> Make the appropiate selection to continue</p>");
    const QString both = QStringLiteral("Width and Height are both greater than 5000.\n Width and Height are in 10's "
                                        "of meters not full meters\n Correct the values to continue");
    const QString height = QStringLiteral(
        "Height is greater than 5000.\n Height is entered as 10's of meters not full meters\n Correct the values to "
        "continue");
    const QString width = QStringLiteral(
        "Width is greater than 5000.\n Width is entered as 10's of meters not full meters\n Correct the values to "
        "continue");
    const QString zero = QStringLiteral(
        "Width or Height are either equal to ZERO or less than ZERO.\n Correct the values to continue");
    const QStringList all{"HeightIn", "WidthIn", "RheightIn", "RWidthIn"};

    QTest::newRow("no set") << int(None) << "1000" << "800" << "Elevation Colour Set not established" << noSet
                            << QStringList{};
    QTest::newRow("no set, bad sizes") << int(None) << "0" << "9999" << "Elevation Colour Set not established"
                                       << noSet << QStringList{};
    QTest::newRow("both 5001") << int(System) << "5001" << "5001" << "Width and Height Value Errors" << both << all;
    QTest::newRow("height 5001") << int(System) << "5000" << "5001" << "Height Value Error" << height
                                 << QStringList{"HeightIn", "RheightIn"};
    QTest::newRow("width 5001") << int(User) << "5001" << "5000" << "Width Value Error" << width
                                << QStringList{"WidthIn", "RWidthIn"};
    QTest::newRow("width beyond 32 bits x10") << int(System) << "214748365" << "100" << "Width Value Error" << width
                                              << QStringList{"WidthIn", "RWidthIn"};
    QTest::newRow("empty") << int(System) << "" << "" << "Width and/or Height Value Errors" << zero << all;
    QTest::newRow("zero") << int(System) << "0" << "100" << "Width and/or Height Value Errors" << zero << all;
    QTest::newRow("negative") << int(User) << "100" << "-5" << "Width and/or Height Value Errors" << zero << all;
    QTest::newRow("not a number") << int(System) << "ten" << "100" << "Width and/or Height Value Errors" << zero
                                  << all;
}

void SizerWindowTest::rejectedPress()
{
    QFETCH(int, choice);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QStringList, emptied);

    RecordingSizerWindow w;
    choose(w, Choice(choice));
    press(w, width, height);

    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(int(w.messages[0].kind), int(Kind::Critical));
    QCOMPARE(w.messages[0].caption, caption);
    QCOMPARE(w.messages[0].text, text);
    const QString typed[] = {height, width, height, width};
    const char* names[] = {"HeightIn", "WidthIn", "RheightIn", "RWidthIn"};
    for (int i = 0; i < 4; ++i) {
        const QString shown = w.findChild<QWidget*>(names[i])->property("text").toString();
        QCOMPARE(shown, emptied.contains(names[i]) ? QString() : typed[i]);
    }
    QVERIFY(w.statusMessages.isEmpty());
    QVERIFY(w.ResMapHeight->text().isEmpty());
    QCOMPARE(w.calculation.pixelWidth, 0);
}

void SizerWindowTest::rejectedPressKeepsEarlierResults()
{
    RecordingSizerWindow w;
    choose(w, System);
    press(w, "1000", "800");
    press(w, "6000", "100");
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(w.widthTens, 6000);
    QCOMPARE(w.heightTens, 100);
    QCOMPARE(w.widthMetres, 60000);
    QCOMPARE(w.calculation.pixelWidth, 1100);
    QCOMPARE(w.ResMapWidth->text(), QStringLiteral("10200"));
    QCOMPARE(w.DisplayHeightOutLabel->text(), QStringLiteral("900"));
    QCOMPARE(w.RheightIn->text(), QStringLiteral("100"));
    QVERIFY(w.RWidthIn->text().isEmpty());
}

void SizerWindowTest::acceptedPress_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QStringList>("fields"); // as fieldTexts()
    QTest::addColumn<QColor>("noteColour");

    QTest::newRow("worked example 1, system set")
        << int(System) << "1000" << "800"
        << QStringList{"800", "1000", "800", "1000", "8340", "10200", "900", "1100", "", ""} << QColor(0, 0, 0);
    QTest::newRow("worked example 2, user set")
        << int(User) << "40" << "5000"
        << QStringList{"5000", "40", "5000", "40", "50090", "920", "5400", "100", "5410", "100"} << QColor(255, 0, 0);
    QTest::newRow("smallest entry, blanks kept in the echo")
        << int(System) << " 1" << "1 " << QStringList{"1 ", " 1", "1 ", " 1", "460", "460", "50", "50", "", ""}
        << QColor(0, 0, 0);
}

void SizerWindowTest::acceptedPress()
{
    QFETCH(int, choice);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QStringList, fields);
    QFETCH(QColor, noteColour);

    RecordingSizerWindow w;
    choose(w, Choice(choice));
    press(w, width, height);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(fieldTexts(w), fields);
    QCOMPARE(textColour(w.SizeNoteLabel_2), noteColour);
    QCOMPARE(w.statusMessages, (QStringList{"Processing", "Results Ready"}));
    QCOMPARE(w.tabWidgetbase->currentWidget(), w.DetailTab);
    QCOMPARE(w.userPixelWidth, w.calculation.pixelWidth);
    QCOMPARE(w.userPixelHeight, w.calculation.pixelHeight + 10);
}

void SizerWindowTest::switchingColourSetsRefillsUserFields()
{
    RecordingSizerWindow w;
    choose(w, System);
    press(w, "1000", "800");
    choose(w, User);
    press(w, "1000", "800");
    QCOMPARE(fieldTexts(w), (QStringList{"800", "1000", "800", "1000", "8340", "10200", "900", "1100", "910", "1100"}));
    QCOMPARE(textColour(w.SizeNoteLabel_2), QColor(255, 0, 0));
    choose(w, System);
    press(w, "1000", "800");
    QVERIFY(w.DisplayHeightOutULabel->text().isEmpty());
    QVERIFY(w.DisplayWidthOutULabel->text().isEmpty());
    QCOMPARE(w.DisplayWidthOutLabel->text(), QStringLiteral("1100"));
    QCOMPARE(textColour(w.SizeNoteLabel_2), QColor(0, 0, 0));
}

void SizerWindowTest::aboutBox()
{
    RecordingSizerWindow w;
    w.helpAboutAction->trigger();
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(int(w.messages[0].kind), int(Kind::About));
    QCOMPARE(w.messages[0].caption, QStringLiteral("Qarn Sizer About"));
    QCOMPARE(w.messages[0].text,
             QStringLiteral("This program is used to determine the size in pixels \nof a BMP graphic representation "
                            "of terrain based on an intended map size.\nMaps are restricted to sizes of 50Km x 50Km "
                            "and smaller\n\nVersion " QARN_VERSION));
    QVERIFY(w.quitStatuses.isEmpty());
}

void SizerWindowTest::exitWritesFilesByTheLastPress_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("presses"); // width, height, width, height, ...
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("mapData");
    QTest::addColumn<QStringList>("reportHas");

    QTest::newRow("no press") << int(System) << QStringList{} << false << QByteArray() << QStringList{};
    QTest::newRow("press with a zero") << int(System) << QStringList{"0", "100"} << false << QByteArray()
                                       << QStringList{};
    QTest::newRow("accepted press")
        << int(System) << QStringList{"1000", "800"} << true << QByteArray(MAP_DATA_EXAMPLE, 16)
        << QStringList{"         1100 pixels Wide\n          900 pixels High\n", "          910 pixels High\n",
                       "     Width  : 10200 meters\n     Height : 8340 meters\n"};
    QTest::newRow("rejected for size, nothing accepted before")
        << int(System) << QStringList{"6000", "100"} << true
        << QByteArray("\x64\x00\x00\x00\x70\x17\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40", 16)
        << QStringList{"Width  : 60000 meters\n                  Height : 1000 meters\n",
                       "Width  : 6000 (10's m)\n                  Height : 100 (10's m)\n",
                       "            0 pixels Wide\n            0 pixels High\n", "     Width  : 0 meters\n"};
    QTest::newRow("rejected only for the colour set")
        << int(None) << QStringList{"1000", "800"} << true << QByteArray(MAP_DATA_EXAMPLE, 16)
        << QStringList{"Width  : 10000 meters\n", "            0 pixels Wide\n"};
    QTest::newRow("accepted, then rejected for size")
        << int(User) << QStringList{"1000", "800", "1000", "5001"} << true
        << QByteArray("\x89\x13\x00\x00\xE8\x03\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40", 16)
        << QStringList{"Height : 50010 meters\n", "         1100 pixels Wide\n          900 pixels High\n"};
}

void SizerWindowTest::exitWritesFilesByTheLastPress()
{
    QFETCH(int, choice);
    QFETCH(QStringList, presses);
    QFETCH(bool, written);
    QFETCH(QByteArray, mapData);
    QFETCH(QStringList, reportHas);

    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    RecordingSizerWindow w;
    choose(w, Choice(choice));
    for (int i = 0; i + 1 < presses.size(); i += 2)
        press(w, presses[i], presses[i + 1]);
    const int pressMessages = int(w.messages.size());
    w.statusMessages.clear();

    w.fileExit();

    QCOMPARE(w.quitStatuses, QList<int>{0});
    QCOMPARE(std::filesystem::exists("QarnSizer_Data.txt"), written);
    QCOMPARE(std::filesystem::exists("QarnSizer_MAP_Data.xdt"), written);
    if (!written) {
        QVERIFY(w.statusMessages.isEmpty());
        QCOMPARE(int(w.messages.size()), pressMessages);
        return;
    }
    QCOMPARE(w.statusMessages,
             (QStringList{"Details are being writen to a text file, QarnSizer_Data.txt, so you will not forget the "
                          "results!",
                          "A file called QarnSizer_Data.txt has been written to your directory"}));
    QCOMPARE(int(w.messages.size()), pressMessages + 1);
    QCOMPARE(int(w.messages.last().kind), int(Kind::Information));
    QCOMPARE(w.messages.last().caption, QString::fromLatin1(EXIT_CAPTION));
    QVERIFY(w.messages.last().text.startsWith(QStringLiteral("<HTML><p><b>OUTPUT FILES :</b></p>")));
    QVERIFY(w.messages.last().text.contains(QStringLiteral("It hold the values needed to make yoru BMP file.")));
    QCOMPARE(QByteArray::fromStdString(readFile("QarnSizer_MAP_Data.xdt")), mapData);
    const QString report = QString::fromStdString(readFile("QarnSizer_Data.txt"));
    QVERIFY(report.startsWith(QStringLiteral("\n   BMP details for the requested map size\n\n")));
    QVERIFY(report.endsWith(QStringLiteral("\n=============================================\n")));
    for (const QString& part : reportHas)
        QVERIFY2(report.contains(part), qPrintable(part));
}

void SizerWindowTest::exitReportsAFileThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("statusCount");
    QTest::newRow("report") << "QarnSizer_Data.txt" << "QarnSizer_MAP_Data.xdt" << 1;
    QTest::newRow("map data") << "QarnSizer_MAP_Data.xdt" << "QarnSizer_Data.txt" << 2;
}

void SizerWindowTest::exitReportsAFileThatCannotBeWritten()
{
    QFETCH(QString, blocked);
    QFETCH(QString, other);
    QFETCH(int, statusCount);

    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    std::filesystem::create_directory(blocked.toStdString());
    RecordingSizerWindow w;
    choose(w, System);
    press(w, "1000", "800");
    w.statusMessages.clear();
    w.fileExit();

    QCOMPARE(w.messages.size(), 2);
    QCOMPARE(int(w.messages[0].kind), int(Kind::Warning));
    QCOMPARE(w.messages[0].caption, QStringLiteral("File Not Written"));
    QVERIFY2(w.messages[0].text.contains(QStringLiteral("<b>%1</b>").arg(blocked)), qPrintable(w.messages[0].text));
    QVERIFY2(w.messages[0].text.contains(QStringLiteral("Is a directory")), qPrintable(w.messages[0].text));
    QCOMPARE(w.messages[1].caption, QString::fromLatin1(EXIT_CAPTION));
    QCOMPARE(int(w.statusMessages.size()), statusCount); // no "has been written" for a report that was not
    QVERIFY(std::filesystem::is_directory(blocked.toStdString()));
    QVERIFY(std::filesystem::is_regular_file(other.toStdString()));
    QCOMPARE(w.quitStatuses, QList<int>{0});
}

void SizerWindowTest::exitActionRunsTheExit()
{
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    RecordingSizerWindow w;
    w.fileExitAction->trigger();
    QCOMPARE(w.quitStatuses, QList<int>{0});
    QVERIFY(w.messages.isEmpty());
    QVERIFY(std::filesystem::is_empty(dir.path()));
}

void SizerWindowTest::closingTheWindowWritesNothing()
{
    TempDir dir;
    ScopedWorkingDir cd(dir.path());
    RecordingSizerWindow w;
    choose(w, System);
    press(w, "1000", "800");
    w.show();
    QVERIFY(w.close());
    QVERIFY(w.quitStatuses.isEmpty());
    QVERIFY(std::filesystem::is_empty(dir.path()));
}

QTEST_MAIN(SizerWindowTest)
#include "sizer_window_test.moc"
