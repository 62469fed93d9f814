// The builder form: widget tree, geometry, texts, actions, menus, translation.
#include "duvavaz_evedaz_form.h"
#include "height_table_model.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

class MarkingTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) == "DuvavazEvedazForm")
            return QStringLiteral("T:") + QString::fromUtf8(source);
        return {};
    }
    bool isEmpty() const override { return false; }
};

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void widgetsSitWhereTheyBelong_data();
    void widgetsSitWhereTheyBelong();
    void texts_data();
    void texts();
    void richTextsAreKeptLetterForLetter();
    void windowIsFixedAt750x500WithInitialDataInFront();
    void radioButtonsStartClearAndExcludeEachOther();
    void actionsCarryTextsShortcutsAndIcons_data();
    void actionsCarryTextsShortcutsAndIcons();
    void menusHoldTheActionsInOrder();
    void everyTextGoesThroughTranslation();
};

void FormTest::widgetsSitWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");

    auto row = [](const char* name, const char* cls, const char* parent, QRect g) {
        QTest::newRow(name) << QString(name) << QString(cls) << QString(parent) << g;
    };
    row("ProcesstabWidget", "QTabWidget", "qt_central_widget", QRect(0, 0, 750, 450));
    row("ColourSetBGp", "QGroupBox", "tab1", QRect(515, 10, 200, 75));
    row("SystemColourRB", "QRadioButton", "ColourSetBGp", QRect(15, 15, 170, 20));
    row("UserColourRB", "QRadioButton", "ColourSetBGp", QRect(15, 45, 170, 20));
    row("MinElevationlineEdit", "QLineEdit", "tab1", QRect(570, 110, 90, 20));
    row("ElevationColSettextLabel", "QLabel", "tab1", QRect(380, 15, 120, 35));
    row("contourtextLabel", "QLabel", "tab1", QRect(380, 180, 160, 35));
    row("MInElevHttextLabel", "QLabel", "tab1", QRect(380, 110, 180, 51));
    row("ContourlineEdit", "QLineEdit", "tab1", QRect(570, 180, 90, 20));
    row("ConfirnDatatextLabel", "QLabel", "tab1", QRect(380, 230, 175, 95));
    row("ConfirmpushButton", "QPushButton", "tab1", QRect(570, 240, 100, 25));
    row("ProcessIttextLabel", "QLabel", "tab1", QRect(380, 330, 180, 85));
    row("ProcessPB", "QPushButton", "tab1", QRect(570, 330, 90, 24));
    row("NotestxBrowser", "QTextBrowser", "tab1", QRect(5, 10, 340, 400));
    row("TableResults", "QTableView", "tab2", QRect(0, 0, 740, 415));
    row("textLabel1", "QLabel", "Tab3", QRect(75, 10, 570, 30));
    row("groupBox2", "QGroupBox", "Tab3", QRect(40, 150, 240, 80));
    row("WidthLabelOut_2", "QLabel", "groupBox2", QRect(150, 20, 60, 20));
    row("HeightLabelOut_2", "QLabel", "groupBox2", QRect(150, 45, 60, 20));
    row("textLabel8_2", "QLabel", "groupBox2", QRect(15, 45, 110, 20));
    row("textLabel6_2", "QLabel", "groupBox2", QRect(15, 20, 110, 20));
    row("groupBox3", "QGroupBox", "Tab3", QRect(43, 245, 240, 80));
    row("textLabel9", "QLabel", "groupBox3", QRect(20, 20, 65, 20));
    row("AlphaLabelOut", "QLabel", "groupBox3", QRect(100, 20, 70, 20));
    row("textLabel11", "QLabel", "groupBox3", QRect(25, 50, 65, 20));
    row("msLabelOut", "QLabel", "groupBox3", QRect(100, 50, 70, 20));
    row("groupBox1", "QGroupBox", "Tab3", QRect(40, 55, 240, 80));
    row("LongLabelOut_2", "QLabel", "groupBox1", QRect(150, 20, 60, 20));
    row("textLabel4_2", "QLabel", "groupBox1", QRect(15, 20, 105, 20));
    row("textLabel2_2", "QLabel", "groupBox1", QRect(20, 45, 105, 20));
    row("LatLabelOut_2", "QLabel", "groupBox1", QRect(150, 45, 60, 20));
    row("textBrowser2", "QTextBrowser", "Tab3", QRect(328, 55, 320, 270));
}

void FormTest::widgetsSitWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);

    DuvavazEvedazForm form;
    auto* w = form.findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString(w->metaObject()->className()), className);
    QCOMPARE(w->geometry(), geometry);
    // Tab pages are re-parented into the tab widget's stack; the page is what counts.
    QWidget* parent = w->parentWidget();
    QVERIFY(parent);
    QCOMPARE(parent->objectName(), parentName);
}

void FormTest::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    auto row = [](const char* name, const char* text) {
        QTest::newRow(name) << QString(name) << QString::fromUtf8(text);
    };
    row("ColourSetBGp", "Select Elevation Colour Set");
    row("SystemColourRB", "System Elevation Colour Set");
    row("UserColourRB", "User Elevation Colour Set");
    row("MinElevationlineEdit", "999999");
    row("ElevationColSettextLabel", "Select Elevation Colour Set for Loaded Map");
    row("contourtextLabel", "Enter the Contour Interval (m)<br>\nThis must be positive number");
    row("MInElevHttextLabel",
        "Enter Minimum Elevation Height (m)<br>\nThe minimum height must be equal <br>\nto or greater than ZERO");
    row("ContourlineEdit", "999999");
    row("ConfirmpushButton", "CONFIRM DATA");
    row("ProcessPB", "Build It");
    row("textLabel1", "Data to be entered in 'Map Production Information' dialog of the Tesselkit");
    row("groupBox2", "Dimensions");
    row("WidthLabelOut_2", "599999");
    row("HeightLabelOut_2", "599999");
    row("textLabel8_2", "Map Height (10's m) :");
    row("textLabel6_2", "Map Width (10's m) :");
    row("groupBox3", "Map Construction");
    row("textLabel9", "Alpha (mils) :");
    row("AlphaLabelOut", "0.9999");
    row("textLabel11", "m/s :");
    row("msLabelOut", "99.99999");
    row("groupBox1", "Bottom Left Corner");
    row("LongLabelOut_2", "121156");
    row("textLabel4_2", "Longitude (seconds) :");
    row("textLabel2_2", "Latitude (seconds) :");
    row("LatLabelOut_2", "12.235");
}

static QString textOf(QWidget* w)
{
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    return {};
}

void FormTest::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    DuvavazEvedazForm form;
    auto* w = form.findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(textOf(w), text);
}

void FormTest::richTextsAreKeptLetterForLetter()
{
    DuvavazEvedazForm form;
    QCOMPARE(form.ConfirnDatatextLabel->text(),
             QString("Click on the '<b>CONFIRM DATA</b>' button to continue.\nData will be checked before "
                     "continuing.<br>\n<i>When input data is checked  the<br> '<b>Build It</b>' button will be "
                     "enabled.</i>"));
    QCOMPARE(form.ProcessIttextLabel->text(),
             QString("Click the \"<b>Build It</b>\" button to start the building process.<br>When complete "
                     "check the \"<b>Edit Grid</b>\" tab to individyually edit any odd grid values."));
    // The browsers turn their text into a document; its plain text keeps the words.
    const QString notes = form.NotestxBrowser->toPlainText();
    QVERIFY(notes.startsWith("Converting the BMP map."));
    QVERIFY(notes.contains("1. Load the map via the FILE->Open menu."));
    QVERIFY(notes.contains("represented as a 10 x10 pixel block"));
    const QString production = form.textBrowser2->toPlainText();
    QVERIFY(production.contains(QString::fromUtf8("the \u2018Map production Information\u2019 Dialog")));
    QVERIFY(production.contains(QString::fromUtf8("expressed in 10\u2019s of meters.")));
    QVERIFY(production.contains("For the lat and long of the map this si fixed."));
}

void FormTest::windowIsFixedAt750x500WithInitialDataInFront()
{
    DuvavazEvedazForm form;
    QCOMPARE(form.objectName(), QString("DuvavazEvedazForm"));
    QCOMPARE(form.windowTitle(), QString("Terrain Builder"));
    QCOMPARE(form.size(), QSize(750, 500));
    QCOMPARE(form.maximumSize(), QSize(750, 500));
    QCOMPARE(form.minimumSize(), QSize(21, 138));
    form.resize(900, 700);
    QCOMPARE(form.size(), QSize(750, 500));
    QCOMPARE(form.ProcesstabWidget->count(), 3);
    QCOMPARE(form.ProcesstabWidget->tabText(0), QString("Initial Data"));
    QCOMPARE(form.ProcesstabWidget->tabText(1), QString("Edit Grids"));
    QCOMPARE(form.ProcesstabWidget->tabText(2), QString("Details"));
    QCOMPARE(form.ProcesstabWidget->currentWidget(), form.tab1);
    QCOMPARE(form.TableResults->model()->rowCount(), 0);
    QCOMPARE(form.TableResults->model()->columnCount(), 0);
    QCOMPARE(form.TableResults->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(194, 236, 197));
    QCOMPARE(form.ColourSetBGp->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(form.SystemColourRB->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(form.groupBox3->palette().color(QPalette::WindowText), QColor(239, 0, 0));
    QVERIFY(form.groupBox3->font().bold());
    QVERIFY(!form.textLabel9->font().bold());
    QCOMPARE(form.msLabelOut->lineWidth(), 2);
    QCOMPARE(form.LatLabelOut_2->palette().color(QPalette::Window), QColor(255, 255, 255));
}

void FormTest::radioButtonsStartClearAndExcludeEachOther()
{
    DuvavazEvedazForm form;
    form.show();
    QVERIFY(!form.SystemColourRB->isChecked());
    QVERIFY(!form.UserColourRB->isChecked());
    form.SystemColourRB->click();
    QVERIFY(form.SystemColourRB->isChecked());
    form.UserColourRB->click();
    QVERIFY(form.UserColourRB->isChecked());
    QVERIFY(!form.SystemColourRB->isChecked());
}

void FormTest::actionsCarryTextsShortcutsAndIcons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("iconText");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("hasIcon");

    QTest::newRow("open") << "fileOpenAction" << "Open" << "&Open..." << QKeySequence("Ctrl+O") << true;
    QTest::newRow("save") << "fileSaveAction" << "Save" << "&Save" << QKeySequence("Ctrl+S") << true;
    QTest::newRow("save as") << "fileSaveAsAction" << "Save As" << "Save &As..." << QKeySequence() << false;
    QTest::newRow("exit") << "fileExitAction" << "Exit" << "E&xit" << QKeySequence() << false;
    QTest::newRow("about") << "helpAboutAction" << "About" << "&About" << QKeySequence() << false;
}

void FormTest::actionsCarryTextsShortcutsAndIcons()
{
    QFETCH(QString, name);
    QFETCH(QString, iconText);
    QFETCH(QString, menuText);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, hasIcon);

    DuvavazEvedazForm form;
    auto* action = form.findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->iconText(), iconText);
    QCOMPARE(action->text(), menuText);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(!action->icon().isNull(), hasIcon);
    QVERIFY(action->isEnabled());
}

void FormTest::menusHoldTheActionsInOrder()
{
    DuvavazEvedazForm form;
    QCOMPARE(form.menuBar()->objectName(), QString("MenuBar"));
    const QList<QAction*> bar = form.menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QString("&File"));
    QCOMPARE(bar[1]->text(), QString("&Help"));

    const QList<QAction*> file = form.fileMenu->actions();
    QCOMPARE(file.size(), 6);
    QCOMPARE(file[0], form.fileOpenAction);
    QCOMPARE(file[1], form.fileSaveAction);
    QCOMPARE(file[2], form.fileSaveAsAction);
    QVERIFY(file[3]->isSeparator());
    QVERIFY(file[4]->isSeparator());
    QCOMPARE(file[5], form.fileExitAction);

    const QList<QAction*> help = form.helpMenu->actions();
    QCOMPARE(help.size(), 2);
    QVERIFY(help[0]->isSeparator());
    QCOMPARE(help[1], form.helpAboutAction);
}

void FormTest::everyTextGoesThroughTranslation()
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    DuvavazEvedazForm form;
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(form.windowTitle(), QString("T:Terrain Builder"));
    QCOMPARE(form.ConfirmpushButton->text(), QString("T:CONFIRM DATA"));
    QCOMPARE(form.ProcesstabWidget->tabText(2), QString("T:Details"));
    QCOMPARE(form.fileOpenAction->text(), QString("T:&Open..."));
    QCOMPARE(form.fileMenu->title(), QString("T:&File"));
    QCOMPARE(form.LatLabelOut_2->text(), QString("T:12.235"));
    QVERIFY(form.textBrowser2->toPlainText().startsWith("T:"));
    const auto labels = form.findChildren<QLabel*>();
    for (QLabel* label : labels)
        QVERIFY2(label->text().startsWith("T:"), qPrintable(label->objectName()));
}

QTEST_MAIN(FormTest)
#include "form_test.moc"
