#include "duvavaz_evedaz_form.h"

#include "height_table_model.h"
#include "mime_source_factory_qarnforge.h"

#include "qtsupport/window_support.h"

#include <QHeaderView>
#include <QStatusBar>
#include <QStyle>

namespace qarn::forge {

DuvavazEvedazForm::DuvavazEvedazForm(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QMainWindow(parent, fl)
{
    // The window has a fixed size, so its status bar needs no size grip.
    statusBar()->setSizeGripEnabled(false);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setupUi(this);
    // The two pop-up menus have never carried object names.
    fileMenu->setObjectName(QString());
    helpMenu->setObjectName(QString());

    const MimeSourceFactory_QarnForge& pictures = MimeSourceFactory_QarnForge::instance();
    setWindowIcon(QIcon(pictures.pixmap(QStringLiteral("smallico.bmp"))));
    fileOpenAction->setIcon(QIcon(pictures.pixmap(QStringLiteral("fileopen"))));
    fileSaveAction->setIcon(QIcon(pictures.pixmap(QStringLiteral("filesave"))));

    // The pages' widgets have fixed places sized for the form's face at 10
    // pixels; menus and status bar keep the desktop's font.
    ProcesstabWidget->setFont(formFont(ProcesstabWidget->font(), 10));

    TableResultsModel = new HeightTableModel(this);
    TableResultsModel->setObjectName(QStringLiteral("TableResultsModel"));
    TableResults->setModel(TableResultsModel);
    // Rows as high as one line of text, so a screen shows many of them.
    TableResults->verticalHeader()->setDefaultSectionSize(TableResults->fontMetrics().height() + 6);

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
    retranslateUi(this);
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

} // namespace qarn::forge
