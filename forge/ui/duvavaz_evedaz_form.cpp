#include "duvavaz_evedaz_form.h"

#include "height_table_model.h"
#include "mime_source_factory_qarnforge.h"

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>

namespace {

const char* const kContext = "DuvavazEvedazForm";

const char* const kConfirmNote =
    "Click on the '<b>CONFIRM DATA</b>' button to continue.\n"
    "Data will be checked before continuing.<br>\n"
    "<i>When input data is checked  the<br> '<b>Build It</b>' button will be enabled.</i>";

const char* const kBuildNote =
    "Click the \"<b>Build It</b>\" button to start the building process.<br>When complete check the "
    "\"<b>Edit Grid</b>\" tab to individyually edit any odd grid values.";

const char* const kInstructions =
    "<p align=\"center\"><b><font color=\"#f10000\">Converting the BMP map.</font></b></p>\n"
    "\n"
    "<p><b>1. Load the map via the FILE->Open menu.</b></p>\n"
    "<p>The map file must be a <b>BMP</b> file. </p>\n"
    "<p>The map size should have been determined with the use of the Qarn Sizer application.<br>\n"
    "If you have used your own Elevation Colour Set it must be in the first 10 pixel rows of the map "
    "graphic. Each colour must be represented as a 10 x10 pixel block and increasing in height "
    "representation left to right. That is lowest height on the left hand side, highest colour on "
    "the right hand side.</p>\n"
    "<p>If the colour set does not fill the top 10 pixel rows the last 10 x 10 pixel blocks of colour "
    "MUST be WHITE.</p>\n"
    "\n"
    "<p><b>2. Select which type of Elevation Colour Set being used for the loaded map. </b></p>\n"
    "<p>The options being System Elevation Colour Set, not included with the map, or User Elevation "
    "Colour Set, included with the map graphic.</p>\n"
    "\n"
    "<p><b>3. Enter the Minimum Elevation Height.</b></p>\n"
    "<p>This is the elevation the user sets for the lowest height being represented by the left most "
    "colour in the utilised colour set.<br> \n"
    "All heights are derived from this entered height in conjunction with the contour interval.</p>\n"
    "\n"
    "<p><b>4. Enter the Contour Interval.</b></p>\n"
    "<p>Enter the contour interval for the map.<br>This is used in conjunction to the Minimum base "
    "elevation to calculate the elevation heights for all colours in the elevation colour set.</p>";

const char* const kProductionNotes =
    "<font color=\"#0000ff\"><p align=\"center\"><b>Map Production Data</b></p></font>\n"
    "\n"
    "<p>The data displayed here is for this map. These are the values needed to be entered into the "
    "\u2018Map production Information\u2019 Dialog in the Tesselkit.</p>\n"
    "\n"
    "<p>Changing these values may lead to odd results in yoru completed map.</p>\n"
    "\n"
    "<p><b>Bottom left Corner values:</b></p>\n"
    "<p>Maps are designed using a Latitude and longitude that is fixed. It has little effect on how "
    "you use the map but more to do with SRTM grid sizes and structures.</p>\n"
    "<p>Longitude: This is set at 9.0 degs E. That is 32400 sec</p>\n"
    "<p>Latitude: This is set at 1.0 degs N. That is 3600 sec.</p>\n"
    "<p>These are not to be altered.</p>\n"
    "\n"
    "<p><b>Dimensions:</b></p>\n"
    "<p>The width and height are expressed in 10\u2019s of meters.<br>These are the values you used "
    "in the Map Size Calculator, QarnSizer. Application.</p>\n"
    "<p>Do not use values greater than these.</p>\n"
    "<p>If you use sizes smaller that these you will truncate the map on the top and right hand "
    "margins only.</p>\n"
    "\n"
    "<p><b>Map Construction:</b></p>\n"
    "<p>The Alpha value is the rotation from TN to GN. It should be zero, but a value of 0.1 is close "
    "enough and works. </p>\n"
    "<p>Do not make this larger else you will have some strange results, (unpleasant).\n"
    "m/s is the meters per arc sec value. For the lat and long of the map this si fixed. It is a value "
    "that changes with Latitude. </p>\n"
    "<p>Do not alter this value.</p>\n"
    "<p></p>\n"
    "<p>All of these data values will be written in a text file.</p>";

QString translated(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

void setBackground(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::ButtonText, colour);
    pal.setColor(QPalette::Text, colour);
    w->setPalette(pal);
}

void setWeight(QWidget* w, QFont::Weight weight)
{
    QFont f = w->font();
    f.setWeight(weight);
    w->setFont(f);
}

QLabel* makeLabel(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, width, height);
    return label;
}

void wrapTop(QLabel* label)
{
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// A read-only field for a number: white, sunken panel, thin line.
QLabel* makeValueBox(QWidget* parent, const char* name, int x, int y, int width, int height,
                     int lineWidth = 1)
{
    QLabel* box = makeLabel(parent, name, x, y, width, height);
    setBackground(box, QColor(255, 255, 255));
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    box->setLineWidth(lineWidth);
    return box;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, width, height);
    return box;
}

QAction* makeAction(QObject* owner, const char* name, const char* icon)
{
    auto* action = new QAction(owner);
    action->setObjectName(QString::fromLatin1(name));
    if (icon)
        action->setIcon(QIcon(MimeSourceFactory_QarnForge::instance().pixmap(QString::fromUtf8(icon))));
    return action;
}

} // namespace

DuvavazEvedazForm::DuvavazEvedazForm(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QMainWindow(parent, fl)
{
    // The window has a fixed size, so its status bar needs no size grip.
    statusBar()->setSizeGripEnabled(false);
    setObjectName(QString::fromLatin1(name ? name : "DuvavazEvedazForm"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(21, 138);
    setMaximumSize(750, 500);
    setBaseSize(750, 500);
    setBackground(this, QColor(194, 236, 197));
    setWindowIcon(QIcon(MimeSourceFactory_QarnForge::instance().pixmap(QStringLiteral("smallico.bmp"))));

    qt_central_widget = new QWidget(this);
    qt_central_widget->setObjectName(QStringLiteral("qt_central_widget"));
    setCentralWidget(qt_central_widget);

    ProcesstabWidget = new QTabWidget(qt_central_widget);
    ProcesstabWidget->setObjectName(QStringLiteral("ProcesstabWidget"));
    ProcesstabWidget->setGeometry(0, 0, 750, 450);
    setBackground(ProcesstabWidget, QColor(236, 233, 216));
    // The pages' widgets have fixed places sized for a small desktop font; the
    // toolkit's family at 7.5 points keeps their texts inside their boxes.
    QFont small = ProcesstabWidget->font();
    small.setPointSizeF(7.5);
    ProcesstabWidget->setFont(small);

    // Page "Initial Data".
    tab1 = new QWidget(ProcesstabWidget);
    tab1->setObjectName(QStringLiteral("tab1"));
    tab1->setAutoFillBackground(true);

    ColourSetBGp = makeGroupBox(tab1, "ColourSetBGp", 515, 10, 200, 75);
    setTextColour(ColourSetBGp, QColor(255, 0, 0));
    ColourSetButtons = new QButtonGroup(ColourSetBGp);
    ColourSetButtons->setObjectName(QStringLiteral("ColourSetButtons"));
    ColourSetButtons->setExclusive(true);

    SystemColourRB = new QRadioButton(ColourSetBGp);
    SystemColourRB->setObjectName(QStringLiteral("SystemColourRB"));
    SystemColourRB->setGeometry(15, 15, 170, 20);
    setTextColour(SystemColourRB, QColor(0, 0, 0));
    ColourSetButtons->addButton(SystemColourRB);

    UserColourRB = new QRadioButton(ColourSetBGp);
    UserColourRB->setObjectName(QStringLiteral("UserColourRB"));
    UserColourRB->setGeometry(15, 45, 170, 20);
    setTextColour(UserColourRB, QColor(0, 0, 0));
    ColourSetButtons->addButton(UserColourRB);

    MinElevationlineEdit = new QLineEdit(tab1);
    MinElevationlineEdit->setObjectName(QStringLiteral("MinElevationlineEdit"));
    MinElevationlineEdit->setGeometry(570, 110, 90, 20);
    MinElevationlineEdit->setFrame(true);

    ElevationColSettextLabel = makeLabel(tab1, "ElevationColSettextLabel", 380, 15, 120, 35);
    wrapTop(ElevationColSettextLabel);
    contourtextLabel = makeLabel(tab1, "contourtextLabel", 380, 180, 160, 35);
    wrapTop(contourtextLabel);
    MInElevHttextLabel = makeLabel(tab1, "MInElevHttextLabel", 380, 110, 180, 51);
    wrapTop(MInElevHttextLabel);

    ContourlineEdit = new QLineEdit(tab1);
    ContourlineEdit->setObjectName(QStringLiteral("ContourlineEdit"));
    ContourlineEdit->setGeometry(570, 180, 90, 20);

    ConfirnDatatextLabel = makeLabel(tab1, "ConfirnDatatextLabel", 380, 230, 175, 95);
    setTextColour(ConfirnDatatextLabel, QColor(0, 0, 0));
    ConfirnDatatextLabel->setFrameShape(QFrame::Panel);
    ConfirnDatatextLabel->setFrameShadow(QFrame::Raised);
    ConfirnDatatextLabel->setWordWrap(true);
    ConfirnDatatextLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ConfirnDatatextLabel->setIndent(4);

    ConfirmpushButton = new QPushButton(tab1);
    ConfirmpushButton->setObjectName(QStringLiteral("ConfirmpushButton"));
    ConfirmpushButton->setGeometry(570, 240, 100, 25);

    ProcessIttextLabel = makeLabel(tab1, "ProcessIttextLabel", 380, 330, 180, 85);
    ProcessIttextLabel->setEnabled(true);
    wrapTop(ProcessIttextLabel);

    ProcessPB = new QPushButton(tab1);
    ProcessPB->setObjectName(QStringLiteral("ProcessPB"));
    ProcessPB->setGeometry(570, 330, 90, 24);
    ProcessPB->setEnabled(true);

    NotestxBrowser = new QTextBrowser(tab1);
    NotestxBrowser->setObjectName(QStringLiteral("NotestxBrowser"));
    NotestxBrowser->setGeometry(5, 10, 340, 400);
    ProcesstabWidget->addTab(tab1, QString());

    // Page "Edit Grids".
    tab2 = new QWidget(ProcesstabWidget);
    tab2->setObjectName(QStringLiteral("tab2"));
    tab2->setAutoFillBackground(true);
    TableResultsModel = new HeightTableModel(this);
    TableResultsModel->setObjectName(QStringLiteral("TableResultsModel"));
    TableResults = new QTableView(tab2);
    TableResults->setObjectName(QStringLiteral("TableResults"));
    TableResults->setGeometry(0, 0, 740, 415);
    TableResults->setModel(TableResultsModel);
    TableResults->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows as high as one line of text, so a screen shows many of them.
    TableResults->verticalHeader()->setDefaultSectionSize(TableResults->fontMetrics().height() + 6);
    TableResults->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    ProcesstabWidget->addTab(tab2, QString());

    // Page "Details".
    Tab3 = new QWidget(ProcesstabWidget);
    Tab3->setObjectName(QStringLiteral("Tab3"));
    Tab3->setAutoFillBackground(true);

    textLabel1 = makeLabel(Tab3, "textLabel1", 75, 10, 570, 30);
    setWeight(textLabel1, QFont::Bold);
    textLabel1->setFrameShape(QFrame::Box);
    textLabel1->setFrameShadow(QFrame::Raised);
    textLabel1->setWordWrap(true);
    textLabel1->setAlignment(Qt::AlignCenter);

    groupBox2 = makeGroupBox(Tab3, "groupBox2", 40, 150, 240, 80);
    setTextColour(groupBox2, QColor(0, 0, 255));
    WidthLabelOut_2 = makeValueBox(groupBox2, "WidthLabelOut_2", 150, 20, 60, 20);
    HeightLabelOut_2 = makeValueBox(groupBox2, "HeightLabelOut_2", 150, 45, 60, 20);
    textLabel8_2 = makeLabel(groupBox2, "textLabel8_2", 15, 45, 110, 20);
    textLabel6_2 = makeLabel(groupBox2, "textLabel6_2", 15, 20, 110, 20);

    groupBox3 = makeGroupBox(Tab3, "groupBox3", 43, 245, 240, 80);
    setTextColour(groupBox3, QColor(239, 0, 0));
    setWeight(groupBox3, QFont::Bold);
    textLabel9 = makeLabel(groupBox3, "textLabel9", 20, 20, 65, 20);
    setWeight(textLabel9, QFont::Normal);
    AlphaLabelOut = makeValueBox(groupBox3, "AlphaLabelOut", 100, 20, 70, 20);
    setWeight(AlphaLabelOut, QFont::Normal);
    textLabel11 = makeLabel(groupBox3, "textLabel11", 25, 50, 65, 20);
    setWeight(textLabel11, QFont::Normal);
    msLabelOut = makeValueBox(groupBox3, "msLabelOut", 100, 50, 70, 20, 2);
    setWeight(msLabelOut, QFont::Normal);

    groupBox1 = makeGroupBox(Tab3, "groupBox1", 40, 55, 240, 80);
    setTextColour(groupBox1, QColor(0, 0, 255));
    LongLabelOut_2 = makeValueBox(groupBox1, "LongLabelOut_2", 150, 20, 60, 20);
    textLabel4_2 = makeLabel(groupBox1, "textLabel4_2", 15, 20, 105, 20);
    textLabel2_2 = makeLabel(groupBox1, "textLabel2_2", 20, 45, 105, 20);
    LatLabelOut_2 = makeValueBox(groupBox1, "LatLabelOut_2", 150, 45, 60, 20);

    textBrowser2 = new QTextBrowser(Tab3);
    textBrowser2->setObjectName(QStringLiteral("textBrowser2"));
    textBrowser2->setGeometry(328, 55, 320, 270);
    ProcesstabWidget->addTab(Tab3, QString());

    // Actions and menus.
    fileOpenAction = makeAction(this, "fileOpenAction", "fileopen");
    fileSaveAction = makeAction(this, "fileSaveAction", "filesave");
    fileSaveAsAction = makeAction(this, "fileSaveAsAction", nullptr);
    fileExitAction = makeAction(this, "fileExitAction", nullptr);
    helpAboutAction = makeAction(this, "helpAboutAction", nullptr);

    menuBar()->setObjectName(QStringLiteral("MenuBar"));
    fileMenu = new QMenu(this);
    fileMenu->setSeparatorsCollapsible(false);
    fileMenu->addAction(fileOpenAction);
    fileMenu->addAction(fileSaveAction);
    fileMenu->addAction(fileSaveAsAction);
    fileMenu->addSeparator();
    fileMenu->addSeparator();
    fileMenu->addAction(fileExitAction);
    menuBar()->addMenu(fileMenu);

    helpMenu = new QMenu(this);
    helpMenu->setSeparatorsCollapsible(false);
    helpMenu->addSeparator();
    helpMenu->addAction(helpAboutAction);
    menuBar()->addMenu(helpMenu);

    languageChange();
    resize(QSize(750, 500).expandedTo(minimumSizeHint()));

    connect(fileOpenAction, &QAction::triggered, this, &DuvavazEvedazForm::fileOpen);
    connect(fileSaveAction, &QAction::triggered, this, &DuvavazEvedazForm::fileSave);
    connect(fileSaveAsAction, &QAction::triggered, this, &DuvavazEvedazForm::fileSaveAs);
    connect(fileExitAction, &QAction::triggered, this, &DuvavazEvedazForm::fileExit);
    connect(helpAboutAction, &QAction::triggered, this, &DuvavazEvedazForm::helpAbout);
    connect(ProcessPB, &QPushButton::clicked, this, &DuvavazEvedazForm::ProcessPB_clicked);
    connect(ConfirmpushButton, &QPushButton::clicked, this, &DuvavazEvedazForm::ConfirmpushButton_clicked);
    connect(SystemColourRB, &QRadioButton::clicked, this, &DuvavazEvedazForm::SystemColourRB_clicked);
    connect(UserColourRB, &QRadioButton::clicked, this, &DuvavazEvedazForm::UserColourRB_clicked);
}

void DuvavazEvedazForm::languageChange()
{
    setWindowTitle(translated("Terrain Builder"));
    ColourSetBGp->setTitle(translated("Select Elevation Colour Set"));
    SystemColourRB->setText(translated("System Elevation Colour Set"));
    UserColourRB->setText(translated("User Elevation Colour Set"));
    MinElevationlineEdit->setText(translated("999999"));
    ElevationColSettextLabel->setText(translated("Select Elevation Colour Set for Loaded Map"));
    contourtextLabel->setText(translated("Enter the Contour Interval (m)<br>\nThis must be positive number"));
    MInElevHttextLabel->setText(translated("Enter Minimum Elevation Height (m)<br>\n"
                                   "The minimum height must be equal <br>\n"
                                   "to or greater than ZERO"));
    ContourlineEdit->setText(translated("999999"));
    ConfirnDatatextLabel->setText(translated(kConfirmNote));
    ConfirmpushButton->setText(translated("CONFIRM DATA"));
    ProcessIttextLabel->setText(translated(kBuildNote));
    ProcessPB->setText(translated("Build It"));
    NotestxBrowser->setText(translated(kInstructions));
    ProcesstabWidget->setTabText(ProcesstabWidget->indexOf(tab1), translated("Initial Data"));
    ProcesstabWidget->setTabText(ProcesstabWidget->indexOf(tab2), translated("Edit Grids"));
    textLabel1->setText(translated("Data to be entered in 'Map Production Information' dialog of the Tesselkit"));
    groupBox2->setTitle(translated("Dimensions"));
    WidthLabelOut_2->setText(translated("599999"));
    HeightLabelOut_2->setText(translated("599999"));
    textLabel8_2->setText(translated("Map Height (10's m) :"));
    textLabel6_2->setText(translated("Map Width (10's m) :"));
    groupBox3->setTitle(translated("Map Construction"));
    textLabel9->setText(translated("Alpha (mils) :"));
    AlphaLabelOut->setText(translated("0.9999"));
    textLabel11->setText(translated("m/s :"));
    msLabelOut->setText(translated("99.99999"));
    groupBox1->setTitle(translated("Bottom Left Corner"));
    LongLabelOut_2->setText(translated("121156"));
    textLabel4_2->setText(translated("Longitude (seconds) :"));
    textLabel2_2->setText(translated("Latitude (seconds) :"));
    LatLabelOut_2->setText(translated("12.235"));
    textBrowser2->setText(translated(kProductionNotes));
    ProcesstabWidget->setTabText(ProcesstabWidget->indexOf(Tab3), translated("Details"));

    // An action's text is what its menu shows; the short form is its icon text.
    fileOpenAction->setIconText(translated("Open"));
    fileOpenAction->setText(translated("&Open..."));
    fileOpenAction->setShortcut(QKeySequence(translated("Ctrl+O")));
    fileSaveAction->setIconText(translated("Save"));
    fileSaveAction->setText(translated("&Save"));
    fileSaveAction->setShortcut(QKeySequence(translated("Ctrl+S")));
    fileSaveAsAction->setIconText(translated("Save As"));
    fileSaveAsAction->setText(translated("Save &As..."));
    fileSaveAsAction->setShortcut(QKeySequence());
    fileExitAction->setIconText(translated("Exit"));
    fileExitAction->setText(translated("E&xit"));
    fileExitAction->setShortcut(QKeySequence());
    helpAboutAction->setIconText(translated("About"));
    helpAboutAction->setText(translated("&About"));
    helpAboutAction->setShortcut(QKeySequence());
    fileMenu->setTitle(translated("&File"));
    helpMenu->setTitle(translated("&Help"));
}

void DuvavazEvedazForm::fitTableColumns()
{
    QHeaderView* header = TableResults->horizontalHeader();
    const int cellPadding = 2 * (TableResults->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
    // Room for the header's margins and its section divider lines.
    const int headerPadding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 6;
    const std::vector<int> widths =
        TableResultsModel->columnWidths(TableResults->font(), header->font(), cellPadding, headerPadding);
    for (std::size_t c = 0; c < widths.size(); ++c)
        header->resizeSection(int(c), widths[c]);
}

void DuvavazEvedazForm::fileOpen() {}
void DuvavazEvedazForm::fileSave() {}
void DuvavazEvedazForm::fileSaveAs() {}
void DuvavazEvedazForm::fileExit() {}
void DuvavazEvedazForm::helpAbout() {}
void DuvavazEvedazForm::ProcessPB_clicked() {}
void DuvavazEvedazForm::ConfirmpushButton_clicked() {}
void DuvavazEvedazForm::SystemColourRB_clicked() {}
void DuvavazEvedazForm::UserColourRB_clicked() {}
