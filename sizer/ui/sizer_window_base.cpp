#include "sizer/ui/sizer_window_base.h"

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>

#include "sizer/sizer_texts.h"
#include "sizer/ui/mime_source_factory.h"

namespace {

// The form's rich texts.
const char* const T1 = QT_TRANSLATE_NOOP("SizerWindowBase", "<b><p align=\"center\">GET RESULTS</p></b>\n<p>\nPress the “Get Results” button to calculate the necessary detail for the BMP graphic.\n</p><p>\nIt will also provide details needed to place into the Korvel/Dravel Tesselkit’s 'Map Production Information' dialog.</p>");
const char* const T2 = QT_TRANSLATE_NOOP("SizerWindowBase", "<b><p align=\"center\">HEIGHT AND WIDTH ENTRY<p align=\"center\"></p></b>\n<p>Enter Height and width in METERS, to the nearest 10 meters.</p>\n<p>The values entered here are the SAME as the ones that will be used in the Korvel/Dravel Tesselkit’s 'Map Production Information' dialog.</p>\n<p>These values are used to determine how many SRTM grids are needed to represent the map defined by Width and Height.</p>\n<p>A SRTM grid is a square approximately 92m per side.</p>\n<p>The resulting calculated map will be slightly bigger than needed. SRTM GRIDS must be full grids. </p>");
const char* const T3 = QT_TRANSLATE_NOOP("SizerWindowBase", "<p><p align=\"center\"><b>ELEVATION COLOUR SET</b></p></p>\n<p>Select either</p>\n<p>1. System Elevation Colour Set<br>\nOR<br>\n2. User Elevation Colour Set</p>\n<p>The users may define their own colour sets with some restrictions on allowed colours.</p>\n<p>The use of User Elevation Colour Sets affects the over size of the required BMP as this colour set id included with in the BMP file.</p>");
const char* const T4 = QT_TRANSLATE_NOOP("SizerWindowBase", "<p><b><p align=\"center\">MAP NOTES</p></b></p>\n<p>The map is drawn on a grid of 10 x 10 pixels.</p>\n<p>Each 10 x 10 block represents the average height of that square which represents approximately 92m x 92m.<br>\n3 arc sec SRTM data is based on this square.</p>\n\n<p>A map has a meter arc sec value of:<br>\n30.922 m/arc sec</p>\n<p>Maps are based, that is the Lower left Hand Corner has the following values:<p></p>\nLatitude: 0.0 N degrees<br>\nLongatude: 0.0 E degrees<br>\nAlpha vale = 0 mils</p>\n<p>Width and Height are the values entered on the first tab, labeled \"Enter Details\".</p>\n<p>The UTM and Grid Zone Designators are what the user wants to use. They will not affect the map or its operation.</p>");
const char* const T5 = QT_TRANSLATE_NOOP("SizerWindowBase", "<p>Map Pixel Size with <b>NO</b> user colour set</p>\n<p>Use these values if <b>ONLY</b> using the System Elevation Colour Set</p>");
const char* const T6 = QT_TRANSLATE_NOOP("SizerWindowBase", "<b><p><p align=\"center\">MAP PIXEL SIZES</p></p></b>\n\n<p>The number of pixels for Width and Height are those needed to DRAW the Map ONLY. The values here DO NOT include a user defined elevation colour set</p>\n\n<p>The designed map must fill this rectangle. </p>\n<p>The map is drawn in 10 x 10 pixel blocks. Each block represents ONE SRTM grid. Each grid is the average of heights within that grid.</p>\n\n<p>REMEMBER a map for Korvel/Dravel starts from the bottom left corner.</p>\n\n<p>The Top and Right hand margins will be CUT when passed through the map through the Korvel/Dravel Tesselkit’s Map Production process.</p>");
const char* const T7 = QT_TRANSLATE_NOOP("SizerWindowBase", "<p>Map Pixel Size with <b>FOR</b> User Colour Set</p>\n<p>Use these values ONLY if intending to use your own<br>Elevation Colour Set</p>");

const QColor BLACK(0, 0, 0);
const QColor BLUE(0, 0, 255);
const QColor RED(255, 0, 0);
const QColor WHITE(255, 255, 255);
const QColor TAB_BACKGROUND(236, 235, 216);

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new QLabel(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

// A label that shows a result: white, in a sunken line-edit panel.
QLabel* valueBox(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    QLabel* widget = label(parent, name, x, y, w, h);
    setBackground(widget, WHITE);
    widget->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return widget;
}

QLabel* notePanel(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    QLabel* widget = label(parent, name, x, y, w, h);
    widget->setFrameStyle(QFrame::Panel | QFrame::Raised);
    widget->setWordWrap(true);
    widget->setAlignment(Qt::AlignCenter);
    return widget;
}

QTextBrowser* browser(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new QTextBrowser(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLineEdit* entry(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new QLineEdit(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

void setBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

} // namespace

QString formText(const char* text)
{
    return QCoreApplication::translate("SizerWindowBase", text);
}

SizerWindowBase::SizerWindowBase(QWidget* parent, const char* name) : QMainWindow(parent)
{
    setObjectName(QString::fromLatin1(name ? name : "SizerWindowBase"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(21, 138);
    setMaximumSize(600, 500);
    setBaseSize(600, 500);
    setBackground(this, QColor(175, 236, 158));
    // The fixed widget sizes were laid out for a small sans-serif face; a
    // narrow one keeps every label whole.
    QFont formFont = font();
    formFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                          QStringLiteral("Helvetica")});
    formFont.setPixelSize(10);
    setFont(formFont);
    setWindowIcon(MimeSourceFactory_QarnSizer::defaultFactory().pixmap(QStringLiteral("window_icon.png")));
    statusBar();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("qt_central_widget"));
    setCentralWidget(central);

    tabWidgetbase = new QTabWidget(central);
    tabWidgetbase->setObjectName(QStringLiteral("tabWidgetbase"));
    tabWidgetbase->setGeometry(0, 0, 600, 450);
    setBackground(tabWidgetbase, TAB_BACKGROUND);

    DetailTab = new QWidget(tabWidgetbase);
    DetailTab->setObjectName(QStringLiteral("DetailTab"));

    ColourSelect = new QGroupBox(DetailTab);
    ColourSelect->setObjectName(QStringLiteral("ColourSelect"));
    ColourSelect->setGeometry(290, 5, 280, 90);
    ColourSelectGroup = new QButtonGroup(ColourSelect);
    ColourSelectGroup->setObjectName(QStringLiteral("ColourSelectGroup"));
    ColourSelectGroup->setExclusive(true);

    SysColourRB = new QRadioButton(ColourSelect);
    SysColourRB->setObjectName(QStringLiteral("SysColourRB"));
    SysColourRB->setGeometry(20, 20, 190, 20);
    ColourSelectGroup->addButton(SysColourRB);

    UserColourRB = new QRadioButton(ColourSelect);
    UserColourRB->setObjectName(QStringLiteral("UserColourRB"));
    UserColourRB->setGeometry(20, 50, 190, 20);
    ColourSelectGroup->addButton(UserColourRB);

    WidthIn = entry(DetailTab, "WidthIn", 390, 190, 80, 22);
    hsize = label(DetailTab, "hsize", 480, 150, 49, 20);
    wsize = label(DetailTab, "wsize", 480, 190, 49, 20);
    setBackground(wsize, TAB_BACKGROUND);
    HeightLabel = label(DetailTab, "HeightLabel", 290, 150, 95, 20);
    WidthLable = label(DetailTab, "WidthLable", 290, 190, 95, 20);

    CalculateButton = new QPushButton(DetailTab);
    CalculateButton->setObjectName(QStringLiteral("CalculateButton"));
    CalculateButton->setGeometry(350, 320, 130, 24);
    setBold(CalculateButton);

    HeightIn = entry(DetailTab, "HeightIn", 390, 150, 80, 22);
    getResultsNote = browser(DetailTab, "getResultsNote", 5, 290, 260, 110);
    setTextColour(getResultsNote, BLUE);
    HeightWidthNote = browser(DetailTab, "HeightWidthNote", 5, 150, 260, 115);
    setTextColour(HeightWidthNote, BLUE);
    ColourNote = browser(DetailTab, "ColourNote", 5, 5, 260, 115);
    setTextColour(ColourNote, BLUE);
    tabWidgetbase->addTab(DetailTab, QString());

    ResultsTab = new QWidget(tabWidgetbase);
    ResultsTab->setObjectName(QStringLiteral("ResultsTab"));

    RWidthInLabel = label(ResultsTab, "RWidthInLabel", 290, 10, 130, 20);
    RWidthIn = valueBox(ResultsTab, "RWidthIn", 435, 10, 80, 20);
    DisplayHeightOutLabel = valueBox(ResultsTab, "DisplayHeightOutLabel", 440, 175, 80, 20);
    textBrowser5 = browser(ResultsTab, "textBrowser5", 5, 235, 240, 170);
    DisplayHeightOutULabel = valueBox(ResultsTab, "DisplayHeightOutULabel", 500, 320, 80, 20);
    PixelHeightOutLabel = label(ResultsTab, "PixelHeightOutLabel", 310, 175, 125, 20);
    DisplayWidthOutLabel = valueBox(ResultsTab, "DisplayWidthOutLabel", 440, 200, 80, 20);
    PixelHeightOutUColLabel = label(ResultsTab, "PixelHeightOutUColLabel", 270, 320, 225, 20);
    PixelWidthOutUColLabel = label(ResultsTab, "PixelWidthOutUColLabel", 270, 345, 225, 20);
    DisplayWidthOutULabel = valueBox(ResultsTab, "DisplayWidthOutULabel", 500, 345, 80, 20);
    SizeNoteLabel = notePanel(ResultsTab, "SizeNoteLabel", 305, 100, 220, 70);
    HeightWidthOutNote = browser(ResultsTab, "HeightWidthOutNote", 5, 100, 260, 125);
    setTextColour(HeightWidthOutNote, BLUE);
    SizeNoteLabel_2 = notePanel(ResultsTab, "SizeNoteLabel_2", 270, 240, 310, 70);
    PixelWidthLabel = label(ResultsTab, "PixelWidthLabel", 310, 200, 125, 20);
    RHeightinLabel = label(ResultsTab, "RHeightinLabel", 5, 10, 130, 20);
    RheightIn = valueBox(ResultsTab, "RheightIn", 150, 10, 80, 20);
    textLabel1 = label(ResultsTab, "textLabel1", 235, 10, 35, 16);
    textLabel2_2 = label(ResultsTab, "textLabel2_2", 520, 10, 40, 16);

    groupBox1 = new QGroupBox(ResultsTab);
    groupBox1->setObjectName(QStringLiteral("groupBox1"));
    groupBox1->setGeometry(5, 35, 580, 55);
    setTextColour(groupBox1, RED);
    textLabel4 = label(groupBox1, "textLabel4", 290, 20, 175, 20);
    setTextColour(textLabel4, BLACK);
    textLabel2 = label(groupBox1, "textLabel2", 15, 20, 175, 20);
    setTextColour(textLabel2, BLACK);
    ResMapHeight = label(groupBox1, "ResMapHeight", 200, 20, 55, 20);
    setTextColour(ResMapHeight, BLACK);
    ResMapHeight->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ResMapWidth = label(groupBox1, "ResMapWidth", 475, 20, 55, 20);
    setTextColour(ResMapWidth, BLACK);
    ResMapWidth->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    textLabel4_2 = label(groupBox1, "textLabel4_2", 533, 20, 20, 16);
    setBold(textLabel4_2);
    textLabel3 = label(groupBox1, "textLabel3", 258, 20, 20, 16);
    setBold(textLabel3);
    tabWidgetbase->addTab(ResultsTab, QString());

    fileExitAction = new QAction(this);
    fileExitAction->setObjectName(QStringLiteral("fileExitAction"));
    helpAboutAction = new QAction(this);
    helpAboutAction->setObjectName(QStringLiteral("helpAboutAction"));

    MenuBar = menuBar();
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    fileMenu = new QMenu(this);
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    fileMenu->setSeparatorsCollapsible(false);
    fileMenu->addSeparator();
    fileMenu->addSeparator();
    fileMenu->addAction(fileExitAction);
    MenuBar->addMenu(fileMenu);
    helpMenu = new QMenu(this);
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpMenu->setSeparatorsCollapsible(false);
    helpMenu->addSeparator();
    helpMenu->addAction(helpAboutAction);
    MenuBar->addMenu(helpMenu);

    languageChange();
    resize(QSize(600, 500).expandedTo(minimumSizeHint()));

    connect(helpAboutAction, &QAction::triggered, this, &SizerWindowBase::helpAbout);
    connect(fileExitAction, &QAction::triggered, this, &SizerWindowBase::fileExit);
    connect(SysColourRB, &QRadioButton::clicked, this, &SizerWindowBase::SysColourRB_clicked);
    connect(UserColourRB, &QRadioButton::clicked, this, &SizerWindowBase::UserColourRB_clicked);
    connect(CalculateButton, &QPushButton::clicked, this, &SizerWindowBase::CalculateButton_clicked);
}

SizerWindowBase::~SizerWindowBase() = default;

void SizerWindowBase::languageChange()
{
    using namespace sizer_text;
    setWindowTitle(formText("Qarn Sizer"));
    ColourSelect->setTitle(formText("Select Colour Elevation Set"));
    SysColourRB->setText(formText("System Elevation Colour Set"));
    UserColourRB->setText(formText("User Elevation Colour Set"));
    WidthIn->setText(formText("999999"));
    hsize->setText(formText(TENS_OF_METRES_UNIT));
    wsize->setText(formText(TENS_OF_METRES_UNIT));
    HeightLabel->setText(formText("Enter Map Height: "));
    WidthLable->setText(formText("Enter Map Width :"));
    CalculateButton->setText(formText("Get Results"));
    HeightIn->setText(formText("999999"));
    getResultsNote->setText(formText(T1));
    HeightWidthNote->setText(formText(T2));
    ColourNote->setText(formText(T3));
    tabWidgetbase->setTabText(tabWidgetbase->indexOf(DetailTab), formText("Enter Details"));
    RWidthInLabel->setText(formText(ENTERED_WIDTH_LABEL));
    RWidthIn->setText(formText("999999"));
    DisplayHeightOutLabel->setText(formText("999999"));
    textBrowser5->setText(formText(T4));
    DisplayHeightOutULabel->setText(formText("999999"));
    PixelHeightOutLabel->setText(formText(PIXEL_HEIGHT_LABEL));
    DisplayWidthOutLabel->setText(formText("999999"));
    PixelHeightOutUColLabel->setText(formText(USER_PIXEL_HEIGHT_LABEL));
    PixelWidthOutUColLabel->setText(formText(USER_PIXEL_WIDTH_LABEL));
    DisplayWidthOutULabel->setText(formText("999999"));
    SizeNoteLabel->setText(formText(T5));
    HeightWidthOutNote->setText(formText(T6));
    SizeNoteLabel_2->setText(formText(T7));
    PixelWidthLabel->setText(formText(PIXEL_WIDTH_LABEL));
    RHeightinLabel->setText(formText(ENTERED_HEIGHT_LABEL));
    RheightIn->setText(formText("999999"));
    textLabel1->setText(formText(TENS_OF_METRES_UNIT));
    textLabel2_2->setText(formText(TENS_OF_METRES_UNIT));
    groupBox1->setTitle(formText("Resulting Map Values Approximates ONLY"));
    textLabel4->setText(formText(RESULT_WIDTH_LABEL));
    textLabel2->setText(formText(RESULT_HEIGHT_LABEL));
    ResMapHeight->setText(formText("999999"));
    ResMapWidth->setText(formText("999999"));
    textLabel4_2->setText(formText(METRES_UNIT));
    textLabel3->setText(formText(METRES_UNIT));
    tabWidgetbase->setTabText(tabWidgetbase->indexOf(ResultsTab), formText("Results"));
    fileExitAction->setIconText(formText("Exit"));
    fileExitAction->setText(formText("E&xit"));
    helpAboutAction->setIconText(formText("About"));
    helpAboutAction->setText(formText("&About"));
    fileMenu->setTitle(formText("&File"));
    helpMenu->setTitle(formText("&Help"));
}

void SizerWindowBase::fileExit() {}
void SizerWindowBase::helpAbout() {}
void SizerWindowBase::SysColourRB_clicked() {}
void SizerWindowBase::UserColourRB_clicked() {}
void SizerWindowBase::CalculateButton_clicked() {}
