#include "sizer/ui/sizer_window_base.h"

#include <QCoreApplication>
#include <QStatusBar>

#include "qtsupport/window_support.h"
#include "sizer/sizer_texts.h"
#include "sizer/ui/mime_source_factory.h"

namespace qarn::sizer {

QString formText(const char* text)
{
    return QCoreApplication::translate("SizerWindowBase", text);
}

SizerWindowBase::SizerWindowBase(QWidget* parent, const char* name) : QMainWindow(parent)
{
    // The window keeps its form's size, so its status bar has no size grip.
    statusBar()->setSizeGripEnabled(false);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setupUi(this);
    languageChange(); // also the texts shared with qarn size, which the .ui leaves out
    // Menus, tab titles and status bar in the form's face at 10 pixels; the
    // pages at 9, where every fixed box holds its text whole (at 10 the
    // narrowest, "(10's m)" in 35 pixels, needs 35.75).
    setFont(formFont(font(), 10));
    for (QWidget* page : {DetailTab, ResultsTab})
        page->setFont(formFont(page->font(), 9));
    setWindowIcon(MimeSourceFactory_QarnSizer::defaultFactory().pixmap(QStringLiteral("window_icon.png")));

    connect(helpAboutAction, &QAction::triggered, this, &SizerWindowBase::helpAbout);
    connect(fileExitAction, &QAction::triggered, this, &SizerWindowBase::fileExit);
    connect(SysColourRB, &QRadioButton::clicked, this, &SizerWindowBase::SysColourRB_clicked);
    connect(UserColourRB, &QRadioButton::clicked, this, &SizerWindowBase::UserColourRB_clicked);
    connect(CalculateButton, &QPushButton::clicked, this, &SizerWindowBase::CalculateButton_clicked);
}

SizerWindowBase::~SizerWindowBase() = default;

void SizerWindowBase::languageChange()
{
    retranslateUi(this);
    // The labels that qarn size prints as well take their texts from there.
    using namespace sizer_text;
    for (QLabel* unit : {hsize, wsize, textLabel1, textLabel2_2})
        unit->setText(formText(TENS_OF_METRES_UNIT));
    for (QLabel* unit : {textLabel4_2, textLabel3})
        unit->setText(formText(METRES_UNIT));
    RHeightinLabel->setText(formText(ENTERED_HEIGHT_LABEL));
    RWidthInLabel->setText(formText(ENTERED_WIDTH_LABEL));
    textLabel2->setText(formText(RESULT_HEIGHT_LABEL));
    textLabel4->setText(formText(RESULT_WIDTH_LABEL));
    PixelHeightOutLabel->setText(formText(PIXEL_HEIGHT_LABEL));
    PixelWidthLabel->setText(formText(PIXEL_WIDTH_LABEL));
    PixelHeightOutUColLabel->setText(formText(USER_PIXEL_HEIGHT_LABEL));
    PixelWidthOutUColLabel->setText(formText(USER_PIXEL_WIDTH_LABEL));
}

void SizerWindowBase::fileExit() {}
void SizerWindowBase::helpAbout() {}
void SizerWindowBase::SysColourRB_clicked() {}
void SizerWindowBase::UserColourRB_clicked() {}
void SizerWindowBase::CalculateButton_clicked() {}

} // namespace qarn::sizer
