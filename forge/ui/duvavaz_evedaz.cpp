#include "duvavaz_evedaz.h"

#include "height_table_model.h"
#include "relief_preview_page.h"

#include "terrain_view/ui/terrain_view_panel.h"

#include "common/whole_number.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "forge/grid/grid_views.h"
#include "forge/output/marked_picture.h"
#include "forge/output/output_result.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "forge/output/save_results.h"
#include "qtsupport/file_names.h"
#include "qtsupport/write_question.h"

#include <QAction>
#include <QColor>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

namespace qarn::forge {

namespace {

const int kStatusMillis = 2000;

const char* const kContext = "DuvavazEvedaz";

QString tr8(const std::string& text)
{
    return QCoreApplication::translate(kContext, text.c_str());
}

QString tr8(const char* text)
{
    return QCoreApplication::translate(kContext, text);
}

void paintRed(QWidget* w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    pal.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    w->setPalette(pal);
}

} // namespace

DuvavazEvedaz::DuvavazEvedaz(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : DuvavazEvedazForm(parent, name, fl)
{
    MinElevationlineEdit->setText(QString());
    ContourlineEdit->setText(QString());
    for (QLabel* box : {LongLabelOut_2, LatLabelOut_2, AlphaLabelOut, msLabelOut, WidthLabelOut_2, HeightLabelOut_2})
        box->setText(QString());
    setBuildAvailable(false);
    setSavingAvailable(false);

    // The status bar's text in a label of its own, so a long one wraps
    // instead of running off the window's edge.
    statusLine_ = new QLabel(statusBar());
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setWordWrap(true);
    statusBar()->addWidget(statusLine_, 1);
    statusTimer_ = new QTimer(this);
    statusTimer_->setSingleShot(true);
    connect(statusTimer_, &QTimer::timeout, statusLine_, &QLabel::clear);

    // Undo of table edits: live only while the "Edit Grids" page is in front,
    // and offered again in the table's context menu.
    undoStack_ = new QUndoStack(this);
    TableResultsModel->setUndoStack(undoStack_);
    undoAction_ = new QAction(tr8("Undo"), this);
    undoAction_->setObjectName(QStringLiteral("tableUndoAction"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = new QAction(tr8("Redo"), this);
    redoAction_->setObjectName(QStringLiteral("tableRedoAction"));
    redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QAction* a : {undoAction_, redoAction_}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        TableResults->addAction(a);
    }
    TableResults->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(undoAction_, &QAction::triggered, undoStack_, &QUndoStack::undo);
    connect(redoAction_, &QAction::triggered, undoStack_, &QUndoStack::redo);
    connect(undoStack_, &QUndoStack::indexChanged, this, &DuvavazEvedaz::updateUndoActions);
    connect(undoStack_, &QUndoStack::canUndoChanged, this, &DuvavazEvedaz::updateUndoActions);
    connect(undoStack_, &QUndoStack::canRedoChanged, this, &DuvavazEvedaz::updateUndoActions);
    connect(ProcesstabWidget, &QTabWidget::currentChanged, this, &DuvavazEvedaz::updateUndoActions);
    // The preview page is drawn when it is in front, so table edits on the
    // "Edit Grids" page cost nothing until then.
    previewPage_ = new ReliefPreviewPage(ProcesstabWidget);
    ProcesstabWidget->addTab(previewPage_, tr8("Preview"));
    // The 3D view likewise, built when its page comes to the front.
    viewPage_ = new qarn::TerrainViewPanel(ProcesstabWidget);
    ProcesstabWidget->addTab(viewPage_, tr8("3D View"));
    connect(viewPage_, &qarn::TerrainViewPanel::exportRequested, this, &DuvavazEvedaz::exportView);
    connect(TableResultsModel, &QAbstractItemModel::dataChanged, this, &DuvavazEvedaz::heightsChanged);
    connect(ProcesstabWidget, &QTabWidget::currentChanged, this, [this] {
        if (previewStale_ && ProcesstabWidget->currentWidget() == previewPage_)
            refreshPreview();
        if (viewStale_ && ProcesstabWidget->currentWidget() == viewPage_)
            refreshView();
    });

    connect(TableResultsModel, &HeightTableModel::cellRestored, this, [this](const QModelIndex& at) {
        TableResults->setCurrentIndex(at);
        TableResults->scrollTo(at);
    });
    updateUndoActions();
}

DuvavazEvedaz::~DuvavazEvedaz()
{
    // The history goes first: clearing it reports to widgets that the base
    // class would otherwise have destroyed already.
    TableResultsModel->setUndoStack(nullptr);
    delete undoStack_;
}

void DuvavazEvedaz::updateUndoActions()
{
    const bool tableShown = ProcesstabWidget->currentWidget() == tab2;
    undoAction_->setEnabled(tableShown && undoStack_->canUndo());
    redoAction_->setEnabled(tableShown && undoStack_->canRedo());
}

QString DuvavazEvedaz::saveFailedCaption()
{
    return tr8("Can not save file");
}

bool DuvavazEvedaz::buildAvailable() const
{
    return !ProcessPB->isHidden() && ProcessPB->isEnabled();
}

void DuvavazEvedaz::setBuildAvailable(bool available)
{
    ProcessIttextLabel->setVisible(available);
    ProcessPB->setVisible(available);
    ProcessPB->setEnabled(available);
}

void DuvavazEvedaz::setSavingAvailable(bool available)
{
    fileSaveAction->setEnabled(available);
    fileSaveAsAction->setEnabled(available);
}

void DuvavazEvedaz::fileOpen()
{
    savedOnce = 0;
    const QString name = dialogs().openFileName(this, QString(), QString(), QStringLiteral("Images (*.bmp)"));
    if (name.isEmpty()) {
        showStatus(tr8("Loading aborted"));
        return;
    }
    mapDataPath = name;
    bmpPath = name;
    // The core opens the picture through the C runtime, so it gets the bytes
    // the file system expects.
    bmpFilePath = toFileName(bmpPath);
    proposedSaveName = fromFileName(qarn::proposedSaveName(bmpFilePath));
    showStatus(tr8("Loaded BMP details for ") + bmpPath);
    fileOpenAction->setEnabled(false);
}

void DuvavazEvedaz::showMessage(const UserMessage& message)
{
    QWidget* parent = message.hasParent ? this : nullptr;
    const QString caption = tr8(message.caption);
    const QString text = tr8(message.text);
    dialogs().message(parent, message.kind, caption, text);
    // The line that explains the box stays in the status bar after it.
    if (!message.note.empty())
        setStatusLine(tr8(message.note));
}

void DuvavazEvedaz::ProcessPB_clicked()
{
    setStatusLine(QString()); // what the last build said is over
    buildOk = 1;
    BuildRequest request;
    request.bmpFilePath = bmpFilePath;
    request.minElevation = minElevation;
    request.contourInterval = contourInterval;
    request.colourSet = colourSetChoice.value_or(ColourSet::System);
    // "Clean Run" and the map data warning show as the build reaches them.
    request.onMessage = [this](const UserMessage& message) { showMessage(message); };
    // The results fill the window and their box shows while hightvals.dat is
    // still in the folder.
    request.onBuilt = [this](BuildOutcome& built) {
        takeBuildResults(built);
        showMessage(built.messages.back());
    };
    BuildOutcome outcome = runBuild(request);

    extractionResult = outcome.result;
    buildOk = outcome.built() ? 1 : 0;
    if (outcome.result == ExtractResult::NotBmp)
        fileOpenAction->setEnabled(true);
    if (outcome.built())
        return;
    if (outcome.mapDataChecked)
        takeBuildResults(outcome); // the map data read before the build stopped
    if (!outcome.messages.empty())
        showMessage(outcome.messages.back());
    if (outcome.colourError)
        showColourErrors(outcome.messages.back().note);
}

// The map data the build read, and the grid when it was built.
void DuvavazEvedaz::takeBuildResults(BuildOutcome& outcome)
{
    if (outcome.mapDataChecked) {
        mapDataPresent = outcome.mapDataRead ? 1 : 0;
        if (outcome.mapDataRead)
            mapData = outcome.mapData;
        showDetails();
    }
    if (outcome.built()) {
        previewMarked_ = false;
        grid = std::move(outcome.grid);
        const HeightValuesHeader& h = outcome.heights;
        pixelRows = int(h.pixelRows);
        pixelCols = int(h.pixelCols);
        blockRows = int(h.blockRows);
        blockCols = int(h.blockCols);
        contourInterval = h.contourInterval;
        colourHeights = h.colourHeights;
        colourHeightCount = int(colourHeights.size());
        tableRows = grid.rows();
        tableCols = grid.cols();
        fillTable(truncatedHeights(grid));
        setSavingAvailable(true);
    }
}

void DuvavazEvedaz::showColourErrors(const std::string& note)
{
    const PictureCheck check = checkPicture({.bmpFilePath = bmpFilePath,
                                             .colourSet = colourSetChoice.value_or(ColourSet::System),
                                             .withHeights = true,
                                             .minElevation = minElevation,
                                             .contourInterval = contourInterval,
                                             .scope = CheckScope::ColourErrors,
                                             .drawable = true});
    const std::size_t errors = check.count(Severity::Error);
    if (errors == 0)
        return;
    const QString where = QString::fromStdString(findingText(check.findings.front()));
    const QString located = errors == 1
        ? tr8("Colour error at %1, outlined on the Preview page").arg(where)
        : tr8("Colour error at %1; %2 blocks in all, outlined on the Preview page").arg(where).arg(errors);
    setStatusLine(note.empty() ? located : located + QLatin1Char('\n') + tr8(note));
    previewPage_->showPicture(renderMarkedPicture(check));
    previewMarked_ = true;
}

void DuvavazEvedaz::showDetails()
{
    HeightLabelOut_2->setText(QString::number(mapData.heightTens));
    WidthLabelOut_2->setText(QString::number(mapData.widthTens));
    msLabelOut->setText(QString::number(mapData.metresPerArcSecond, 'f', 3));
    AlphaLabelOut->setText(QString::number(MAP_ALPHA_MILS, 'f', 3));
    LongLabelOut_2->setText(QString::number(MAP_CORNER_LONGITUDE_SECONDS));
    LatLabelOut_2->setText(QString::number(MAP_CORNER_LATITUDE_SECONDS));
}

void DuvavazEvedaz::fillTable(std::vector<int> truncatedHeights)
{
    // A new fill also clears the undo history (the model does that).
    TableResultsModel->setHeights(tableRows, tableCols, std::move(truncatedHeights));
    fitTableColumns();
    heightsChanged();
}

void DuvavazEvedaz::heightsChanged()
{
    // The page in front is redrawn now, the other when it comes to the front.
    previewStale_ = true;
    viewStale_ = true;
    if (ProcesstabWidget->currentWidget() == previewPage_)
        refreshPreview();
    if (ProcesstabWidget->currentWidget() == viewPage_)
        refreshView();
}

std::vector<int> DuvavazEvedaz::tableValues() const
{
    std::vector<int> values;
    values.reserve(std::size_t(tableRows) * std::size_t(tableCols));
    for (int r = 0; r < tableRows; ++r)
        for (int c = 0; c < tableCols; ++c)
            values.push_back(readWholeNumber(TableResultsModel->cellText(r, c).toStdString()).value_or(0));
    return values;
}

void DuvavazEvedaz::copyTableIntoGrid()
{
    applyTableValues(grid, tableValues());
}

void DuvavazEvedaz::refreshPreview()
{
    previewStale_ = false;
    if (previewMarked_)
        return;
    const std::vector<int> values = tableValues();
    previewPage_->showTerrain(tableRows, tableCols, std::vector<float>(values.begin(), values.end()),
                              flatAreaMask(grid));
}

void DuvavazEvedaz::refreshView()
{
    viewStale_ = false;
    qarn::TerrainHeights terrain = qarn::terrainOfGrid(grid);
    const std::vector<int> values = tableValues();
    if (terrain.heights.size() != values.size())
        return;
    std::copy(values.begin(), values.end(), terrain.heights.begin());
    viewPage_->showTerrain(std::move(terrain), METRES_PER_SRTM_GRID);
}

void DuvavazEvedaz::exportView()
{
    const QString name =
        askSaveName(dialogs(), this, tr8("Export 3D View"), QStringLiteral("view.png"), QStringLiteral("*.png"));
    if (name.isEmpty())
        return;
    QString error;
    if (viewPage_->exportPng(name, error))
        showStatus(tr8("3D view saved as %1").arg(name));
    else
        dialogs().message(this, MessageKind::Critical, tr8("Export 3D View"), error.toHtmlEscaped());
}

void DuvavazEvedaz::showSaveFailure(const std::string& error)
{
    dialogs().message(this, MessageKind::Critical, saveFailedCaption(),
                      tr8("<p>The results could not be saved.</p>") + QStringLiteral("<p>") +
                          QString::fromLocal8Bit(error.c_str()).toHtmlEscaped() + QStringLiteral("</p>"));
}

bool DuvavazEvedaz::saveGridAndReportAs()
{
    // Nothing to save before a build: the actions are off then, and the grid is empty.
    if (grid.rows() == 0)
        return false;
    // The grid file and the report, each asked about once under the names really written.
    const QString name =
        askSaveName(dialogs(), this, tr8("Save Elevation Data File"), proposedSaveName, QStringLiteral("*.asc"),
                    [](const QString& chosen) { return fromFileNames(gridAndReportFileNames(toFileName(chosen))); });
    if (name.isEmpty()) {
        showStatus(tr8("Saving aborted"));
        return false;
    }
    copyTableIntoGrid();
    const SaveAsResult saved = saveGridAndReport(grid, toFileName(name), mapDataPresent == 1, mapData);
    // A failed Save As leaves the names a later Save writes to as they were.
    if (saved.result != OutputResult::Ok) {
        showSaveFailure(saved.error);
        return false;
    }
    reportBase = name;
    ascPath = saved.gridPath;
    reportPath = saved.reportPath;
    showStatus(tr8("Data Saved to ") + fromFileName(ascPath));
    return true;
}

void DuvavazEvedaz::fileSaveAs()
{
    saveGridAndReportAs();
}

void DuvavazEvedaz::fileSave()
{
    if (savedOnce == 0) {
        if (saveGridAndReportAs())
            savedOnce = 1;
        return;
    }
    if (grid.rows() == 0)
        return;
    switch (askBeforeWriting(dialogs(), this, tr8("Save Elevation Data File"), {fromFileName(ascPath)},
                             Replacing::Expected)) {
    case WriteAnswer::Write:
        break;
    case WriteAnswer::ChooseAnother:
        saveGridAndReportAs();
        return;
    case WriteAnswer::Cancel:
        showStatus(tr8("Saving aborted"));
        return;
    }
    copyTableIntoGrid();
    std::string error;
    if (saveGridFile(grid, ascPath, error) != OutputResult::Ok)
        showSaveFailure(error);
}

void DuvavazEvedaz::fileExit()
{
    colourHeights.clear();
    dialogs().leave(0);
}

void DuvavazEvedaz::helpAbout()
{
    // The program version comes from the build, after the translated text.
    dialogs().message(this, MessageKind::About, tr8("About Qarn Forge"),
                      tr8("<HTML><p><b>Qarn Forge</b></p><p>This program reads a BMP coloured layer graphic and "
                          "converts it into an 'arcinfo ascii' format.</p><p>The program uses data from the "
                          "application 'Qarn Sizer' the Map Size Calculator.</p></HTML>") +
                          QStringLiteral("<p>Version " QARN_VERSION "</p>"));
}

void DuvavazEvedaz::SystemColourRB_clicked()
{
    colourSetChoice = ColourSet::System;
}

void DuvavazEvedaz::UserColourRB_clicked()
{
    colourSetChoice = ColourSet::User;
}

void DuvavazEvedaz::ConfirmpushButton_clicked()
{
    // A refusal also withdraws "Build It", so no build runs on a refused value.
    // The entry is emptied once its box has been answered.
    setStatusLine(QString());
    auto refuse = [this](const UserMessage& message, QLineEdit* entry) {
        setBuildAvailable(false);
        showMessage(message);
        if (entry)
            entry->setText(QString());
    };

    if (bmpPath.isEmpty()) {
        refuse(noFileLoadedMessage(), nullptr);
        return;
    }
    if (!colourSetChoice) {
        refuse(noColourSetMessage(), nullptr);
        return;
    }
    if (auto refused = checkMinElevation(MinElevationlineEdit->text().toStdString(), minElevation)) {
        refuse(*refused, MinElevationlineEdit);
        return;
    }
    if (auto refused = checkContourInterval(ContourlineEdit->text().toStdString(), contourInterval)) {
        refuse(*refused, ContourlineEdit);
        return;
    }

    paintRed(ProcessIttextLabel);
    paintRed(ProcessPB);
    setBuildAvailable(true);
}

void DuvavazEvedaz::showStatus(const QString& text)
{
    setStatusLine(text, kStatusMillis);
}

void DuvavazEvedaz::setStatusLine(const QString& text, int millis)
{
    statusTimer_->stop();
    statusLine_->setText(text);
    if (millis > 0 && !text.isEmpty())
        statusTimer_->start(millis);
}

QString DuvavazEvedaz::statusLine() const
{
    return statusLine_->text();
}

} // namespace qarn::forge
