#include "painter_window.h"

#ifdef QARN_WITH_GDAL
#include "import_terrain_dialog.h"
#endif

#include "block_canvas.h"
#include "preview_view.h"
#include "ui_painter_window.h"

#include "forge/extract/bmp_image.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "painter/model/map_picture_file.h"
#include "qtsupport/window_support.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr int kStatusMillis = 4000;
constexpr int kPreviewLongSide = 300; // preview pixels along the map's longer side, at least
const int kPenSizes[] = {1, 2, 3, 5, 9};

// Paths go to the core as the file system's 8-bit text.
std::string fileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QSettings settings()
{
    return QSettings(QStringLiteral("Qarn"), QStringLiteral("QarnPainter"));
}

QIcon swatch(Rgb c)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(QColor(c.red, c.green, c.blue));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 23, 23);
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected); // the colour as it is, not tinted by the selection
    return icon;
}

Rgb fromQColor(const QColor& c)
{
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

} // namespace

// The built-in pictures live in this static library; the resource must be
// registered by name since nothing else pulls its object file in.
static void initPainterImages()
{
    Q_INIT_RESOURCE(painter_images);
}

// One stroke as one undo step. The stroke is already on the map when it is
// pushed, so the first redo() (QUndoStack::push calls it) does nothing.
class StrokeCommand : public QUndoCommand {
public:
    StrokeCommand(PainterWindow* window, BlockEdit edit, const QString& text)
        : QUndoCommand(text), window_(window), edit_(std::move(edit))
    {
    }
    void undo() override
    {
        edit_.undo(window_->map_);
        window_->blocksChanged(edit_);
    }
    void redo() override
    {
        if (first_) {
            first_ = false;
            return;
        }
        edit_.redo(window_->map_);
        window_->blocksChanged(edit_);
    }

private:
    PainterWindow* window_;
    BlockEdit edit_;
    bool first_ = true;
};

PainterWindow::PainterWindow(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::PainterWindow>()), undoStack_(new QUndoStack(this))
{
    initPainterImages();
    ui_->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/painter/qarnpainter.png")));

    // Edit: undo and redo name the stroke. Ours rather than the stack's
    // ready-made actions, whose prefix is fixed when made and so would not
    // follow a language change.
    undoAction_ = new QAction(this);
    undoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    undoAction_->setEnabled(false);
    redoAction_ = new QAction(this);
    redoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    redoAction_->setEnabled(false);
    connect(undoAction_, &QAction::triggered, undoStack_, &QUndoStack::undo);
    connect(redoAction_, &QAction::triggered, undoStack_, &QUndoStack::redo);
    connect(undoStack_, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::indexChanged, this, &PainterWindow::updateUndoTexts);
    ui_->menuEdit->addAction(undoAction_);
    ui_->menuEdit->addAction(redoAction_);
    ui_->menuView->addAction(ui_->paletteDock->toggleViewAction());
    ui_->menuView->addAction(ui_->previewDock->toggleViewAction());
    connect(undoStack_, &QUndoStack::cleanChanged, this, &PainterWindow::updateTitle);

    // Tools: one at a time; the pencil, raise and lower take the size.
    tools_ = new QActionGroup(this);
    const std::pair<QAction*, BlockCanvas::Tool> tools[] = {
        {ui_->actionPencil, BlockCanvas::Tool::Pencil}, {ui_->actionRectangle, BlockCanvas::Tool::Rectangle},
        {ui_->actionFill, BlockCanvas::Tool::Fill},     {ui_->actionPicker, BlockCanvas::Tool::Picker},
        {ui_->actionRaise, BlockCanvas::Tool::Raise},   {ui_->actionLower, BlockCanvas::Tool::Lower}};
    for (const auto& [action, tool] : tools) {
        tools_->addAction(action);
        connect(action, &QAction::triggered, this, [this, tool = tool] { ui_->canvas->setTool(tool); });
    }
    ui_->actionPencil->setChecked(true);
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setContentsMargins(6, 0, 4, 0);
    sizeCombo_ = new QComboBox(this);
    sizeCombo_->setObjectName(QStringLiteral("sizeCombo"));
    for (int size : kPenSizes)
        sizeCombo_->addItem(QStringLiteral("%1 x %1").arg(size), size);
    ui_->toolBar->addWidget(sizeLabel_);
    ui_->toolBar->addWidget(sizeCombo_);
    connect(sizeCombo_, &QComboBox::currentIndexChanged, this,
            [this] { ui_->canvas->setPenSize(sizeCombo_->currentData().toInt()); });

    cursorLabel_ = new QLabel(this);
    cursorLabel_->setObjectName(QStringLiteral("cursorLabel"));
    statusBar()->addPermanentWidget(cursorLabel_);

    connect(ui_->actionNew, &QAction::triggered, this, &PainterWindow::newMap);
    connect(ui_->actionOpen, &QAction::triggered, this, &PainterWindow::open);
#ifdef QARN_WITH_GDAL
    qarn::addImportTerrainAction(this, ui_->menuFile, ui_->actionSave, [this](BlockMap map, std::int32_t min, std::int32_t interval) {
        if (!maybeSave())
            return;
        ui_->minSpin->setValue(min);
        ui_->intervalSpin->setValue(interval);
        installMap(std::move(map), QString());
    });
#endif
    connect(ui_->actionSave, &QAction::triggered, this, &PainterWindow::save);
    connect(ui_->actionSaveAs, &QAction::triggered, this, &PainterWindow::saveAs);
    connect(ui_->actionBuildGrid, &QAction::triggered, this, &PainterWindow::buildGrid);
    connect(ui_->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionAbout, &QAction::triggered, this, &PainterWindow::about);
    connect(ui_->actionZoomIn, &QAction::triggered, ui_->canvas, &BlockCanvas::zoomIn);
    connect(ui_->actionZoomOut, &QAction::triggered, ui_->canvas, &BlockCanvas::zoomOut);
    connect(ui_->actionFitToWindow, &QAction::triggered, ui_->canvas, &BlockCanvas::fitToWindow);
    connect(ui_->actionGridLines, &QAction::toggled, ui_->canvas, &BlockCanvas::setGridLines);

    connect(ui_->canvas, &BlockCanvas::strokeEnded, this, &PainterWindow::strokeEnded);
    connect(ui_->canvas, &BlockCanvas::hoverChanged, this, &PainterWindow::showHover);
    connect(ui_->canvas, &BlockCanvas::colourPicked, this, [this](const QColor& colour) {
        const Rgb c = fromQColor(colour);
        if (rungOf(map_, c) >= 0 || c == FLAT_AREA_COLOUR)
            selectColour(c);
        else
            statusBar()->showMessage(tr("%1 is not a colour of the set").arg(colour.name().toUpper()), kStatusMillis);
    });
    connect(ui_->paletteList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            ui_->canvas->setColour(fromQColor(item->data(Qt::UserRole).value<QColor>()));
    });
    const auto entriesChanged = [this] {
        refreshHeights();
        rebuildPalette();
        showHover(hover_.y(), hover_.x());
        requestPreview();
    };
    connect(ui_->minSpin, &QSpinBox::valueChanged, this, entriesChanged);
    connect(ui_->intervalSpin, &QSpinBox::valueChanged, this, entriesChanged);

    connect(&previewWatcher_, &QFutureWatcher<TerrainPreview>::finished, this, &PainterWindow::previewFinished);
    connect(&checkWatcher_, &QFutureWatcher<CheckMarks>::finished, this, &PainterWindow::checkFinished);

    loadSettings();
    retranslate();
    updateActions();
}

PainterWindow::~PainterWindow()
{
    // The background work holds copies of what it needs; only wait so its
    // watchers are not told after the window has gone.
    previewWatcher_.waitForFinished();
    checkWatcher_.waitForFinished();
    // The stack, a child, empties itself when deleted and says so; by then
    // this is no longer a PainterWindow to tell.
    undoStack_->disconnect(this);
}

BlockCanvas* PainterWindow::canvas() const
{
    return ui_->canvas;
}

PreviewView* PainterWindow::preview() const
{
    return ui_->preview;
}

std::int32_t PainterWindow::minElevation() const
{
    return ui_->minSpin->value();
}

std::int32_t PainterWindow::contourInterval() const
{
    return ui_->intervalSpin->value();
}

// --- seams -------------------------------------------------------------------------

void PainterWindow::showBox(MessageKind kind, const QString& caption, const QString& text)
{
    showMessageBox(this, kind, caption, text);
}

QString PainterWindow::askOpenFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(this, caption, folder, filter);
}

QString PainterWindow::askSaveFileName(const QString& caption, const QString& start, const QString& filter)
{
    return QFileDialog::getSaveFileName(this, caption, start, filter);
}

std::optional<ColourSet> PainterWindow::askColourSet(ColourSet preset)
{
    const QStringList sets = {tr("System colour set"), tr("User colour set (band in the top rows)")};
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, tr("Colour Set"), tr("The picture is painted in the:"), sets,
                                                 preset == ColourSet::User ? 1 : 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return chosen == sets[1] ? ColourSet::User : ColourSet::System;
}

std::optional<NewMapEntries> PainterWindow::askNewMap(const NewMapEntries& start)
{
    NewMapDialog dialog(this);
    dialog.setEntries(start);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.entries();
}

QMessageBox::StandardButton PainterWindow::askSaveChanges()
{
    return QMessageBox::warning(this, tr("QarnPainter"), tr("The map has changes that are not saved. Save them?"),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

void PainterWindow::showUserMessage(const UserMessage& message)
{
    // The core's texts go through the translation lookup like the form's.
    showBox(message.kind, tr(message.caption.c_str()), tr(message.text.c_str()));
}

// --- maps in and out -----------------------------------------------------------------

void PainterWindow::installMap(BlockMap map, const QString& path)
{
    map_ = std::move(map);
    path_ = path;
    ++mapGeneration_;
    undoStack_->clear();
    undoStack_->setClean();
    painted_.assign(map_.blocks.size(), 0);
    ui_->canvas->setMap(&map_);
    refreshHeights();
    rebuildPalette();
    if (ui_->paletteList->count() > 0)
        ui_->paletteList->setCurrentRow(0); // the lowest rung
    updateTitle();
    updateActions();
    requestPreview();
}

void PainterWindow::newMap()
{
    if (!maybeSave())
        return;
    NewMapEntries entries = lastNewMap_;
    while (const std::optional<NewMapEntries> answer = askNewMap(entries)) {
        entries = *answer;
        BlockMap map;
        const SizeCheck check =
            newMapFromSizes(entries.widthText, entries.heightText, entries.colourSet, entries.band, map);
        if (check != SizeCheck::Passed) {
            // The calculator's own box.
            const SizeCheckMessage message = sizeCheckMessage(check);
            showBox(MessageKind::Critical, tr(message.caption), tr(message.text));
            continue;
        }
        if (entries.colourSet == ColourSet::User) {
            const std::string problem = bandProblem(entries.band, map.cols);
            if (!problem.empty()) {
                showBox(MessageKind::Critical, tr("New Map"), tr(problem.c_str()));
                continue;
            }
        }
        lastNewMap_ = entries;
        installMap(std::move(map), QString());
        statusBar()->showMessage(tr("New map of %1 x %2 blocks").arg(map_.cols).arg(map_.rows), kStatusMillis);
        return;
    }
}

void PainterWindow::open()
{
    if (!maybeSave())
        return;
    const QString path =
        askOpenFileName(tr("Open Map Picture"), lastFolder_, tr("BMP pictures (*.bmp *.BMP);;All files (*)"));
    if (path.isEmpty())
        return;
    const std::optional<ColourSet> colourSet = askColourSet(rememberedSet_);
    if (colourSet)
        openPicture(path, *colourSet);
}

bool PainterWindow::openPicture(const QString& path, ColourSet colourSet)
{
    BlockMap map;
    const ExtractResult result = openMapPicture(fileName(path), colourSet, map);
    if (result != ExtractResult::Ok) {
        QString text = tr("<p>%1 cannot be opened: %2.</p>")
                           .arg(QDir::toNativeSeparators(path).toHtmlEscaped(), tr(describe(result)));
        const std::string refusal = describeBmpRefusal(fileName(path), result);
        if (!refusal.empty())
            text += QStringLiteral("<p>%1</p>").arg(tr(refusal.c_str()).toHtmlEscaped());
        showBox(MessageKind::Critical, tr("Open"), text);
        return false;
    }
    rememberedSet_ = colourSet;
    lastFolder_ = QFileInfo(path).absolutePath();
    installMap(std::move(map), path);
    if (heights_.wrongCount > 0)
        statusBar()->showMessage(tr("%1 blocks have a colour that stops a build (outlined in red)")
                                     .arg(heights_.wrongCount));
    startCheck(path, colourSet);
    return true;
}

bool PainterWindow::maybeSave()
{
    if (!hasMap() || undoStack_->isClean())
        return true;
    switch (askSaveChanges()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool PainterWindow::save()
{
    if (!hasMap())
        return false;
    return path_.isEmpty() ? saveAs() : writePicture(path_);
}

bool PainterWindow::saveAs()
{
    if (!hasMap())
        return false;
    const QString start = path_.isEmpty() ? QDir(lastFolder_).filePath(tr("map.bmp")) : path_;
    QString path = askSaveFileName(tr("Save Map Picture"), start, tr("BMP pictures (*.bmp)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".bmp");
    return writePicture(path);
}

bool PainterWindow::writePicture(const QString& path)
{
    std::string error;
    if (saveMapPicture(map_, fileName(path), error) != OutputResult::Ok) {
        showBox(MessageKind::Critical, tr("Save"), QString::fromLocal8Bit(error.c_str()).toHtmlEscaped());
        return false;
    }
    path_ = path;
    lastFolder_ = QFileInfo(path).absolutePath();
    undoStack_->setClean();
    updateTitle();
    statusBar()->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), kStatusMillis);
    return true;
}

void PainterWindow::buildGrid()
{
    if (!hasMap())
        return;
    // The entries as "CONFIRM DATA" checks them, before anything is written.
    std::int32_t min = 0, interval = 0;
    if (const auto refused = checkMinElevation(std::to_string(minElevation()), min)) {
        showUserMessage(*refused);
        return;
    }
    if (const auto refused = checkContourInterval(std::to_string(contourInterval()), interval)) {
        showUserMessage(*refused);
        return;
    }
    // Rungs beyond what the grid holds exactly are refused before any file is asked for.
    if (heights_.result != ExtractResult::Ok) {
        showUserMessage(messageForBuildResult(heights_.result, false));
        return;
    }
    // The grid is built from the picture on disk, so the picture is saved first.
    if (path_.isEmpty() && !save())
        return;
    const QString chosen =
        askSaveFileName(tr("Build Grid"), QString::fromLocal8Bit(proposedSaveName(fileName(path_)).c_str()),
                        tr("ASCII grids (*.asc);;All files (*)"));
    if (chosen.isEmpty())
        return;
    if (!undoStack_->isClean() && !save())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const GridBuild build = buildGridFiles(fileName(path_), map_.colourSet, min, interval, fileName(chosen));
    QApplication::restoreOverrideCursor();
    if (!build.outcome.built()) {
        if (!build.outcome.messages.empty())
            showUserMessage(build.outcome.messages.back());
        return;
    }
    if (build.saved.result != OutputResult::Ok) {
        showBox(MessageKind::Critical, tr("Build Grid"), QString::fromLocal8Bit(build.saved.error.c_str()).toHtmlEscaped());
        return;
    }
    statusBar()->showMessage(tr("Wrote %1 and %2")
                                 .arg(QDir::toNativeSeparators(QString::fromLocal8Bit(build.saved.gridPath.c_str())),
                                      QDir::toNativeSeparators(QString::fromLocal8Bit(build.saved.reportPath.c_str()))));
}

void PainterWindow::about()
{
    showBox(MessageKind::About, tr("About QarnPainter"),
            tr("<p><b>QarnPainter</b></p><p>Paints terrain maps in blocks of the elevation colours, "
               "shows the relief as it grows and saves the picture QarnForge builds.</p>") +
                QStringLiteral("<p>Version " QARN_VERSION "</p>"));
}

// --- painting --------------------------------------------------------------------------

void PainterWindow::strokeEnded()
{
    BlockEdit edit = ui_->canvas->takeStroke();
    if (edit.empty())
        return;
    for (const BlockChange& change : edit.changes())
        painted_[change.index] = 1;
    const QString name = tools_->checkedAction() ? tools_->checkedAction()->text().remove(QLatin1Char('&')) : QString();
    undoStack_->push(new StrokeCommand(this, std::move(edit), name));
    requestPreview();
}

void PainterWindow::blocksChanged(const BlockEdit& edit)
{
    ui_->canvas->refreshBlocks(edit);
    refreshHeights(); // an undo may bring back a colour that stops a build
    showHover(hover_.y(), hover_.x());
    requestPreview();
}

void PainterWindow::refreshHeights()
{
    if (!hasMap())
        return;
    heights_ = mapHeights(map_, minElevation(), contourInterval());
    ui_->canvas->setWrongMarks(heights_.result == ExtractResult::Ok ? heights_.wrong : std::vector<std::uint8_t>());
}

void PainterWindow::rebuildPalette()
{
    const Rgb current = ui_->canvas->colour();
    QSignalBlocker block(ui_->paletteList);
    ui_->paletteList->clear();
    if (!hasMap())
        return;
    const auto heightOf = [this](Rgb c) -> std::optional<std::int32_t> {
        for (const ColourHeightEntry& e : heights_.set.entries)
            if (e.red == c.red && e.green == c.green && e.blue == c.blue)
                return e.height;
        return std::nullopt;
    };
    const std::vector<Rgb> rungs = rungColours(map_);
    const auto add = [this](Rgb c, const QString& text) {
        auto* item = new QListWidgetItem(swatch(c), text, ui_->paletteList);
        item->setData(Qt::UserRole, QColor(c.red, c.green, c.blue));
    };
    for (std::size_t k = 0; k < rungs.size(); ++k) {
        const std::optional<std::int32_t> height =
            heights_.result == ExtractResult::Ok ? heightOf(rungs[k]) : std::nullopt;
        add(rungs[k], height ? tr("rung %1: %2 m").arg(k).arg(*height) : tr("rung %1").arg(k));
    }
    add(FLAT_AREA_COLOUR, tr("Flat area (lake)"));
    if (heights_.result != ExtractResult::Ok)
        statusBar()->showMessage(tr("No heights: %1").arg(tr(describe(heights_.result))), kStatusMillis);
    selectColour(current);
}

void PainterWindow::selectColour(Rgb colour)
{
    for (int i = 0; i < ui_->paletteList->count(); ++i)
        if (fromQColor(ui_->paletteList->item(i)->data(Qt::UserRole).value<QColor>()) == colour) {
            ui_->paletteList->setCurrentRow(i);
            ui_->canvas->setColour(colour);
            return;
        }
}

void PainterWindow::showHover(int row, int col)
{
    hover_ = QPoint(col, row);
    if (!hasMap() || !map_.contains(row, col)) {
        cursorLabel_->clear();
        return;
    }
    const Rgb colour = map_.at(row, col);
    const QString at = tr("Row %1, column %2").arg(row + 1).arg(col + 1);
    const int rung = rungOf(map_, colour);
    if (rung >= 0) {
        for (const ColourHeightEntry& e : heights_.set.entries)
            if (heights_.result == ExtractResult::Ok && e.red == colour.red && e.green == colour.green &&
                e.blue == colour.blue) {
                cursorLabel_->setText(tr("%1, rung %2, height %3 m").arg(at).arg(rung).arg(e.height));
                return;
            }
        cursorLabel_->setText(tr("%1, rung %2").arg(at).arg(rung));
    } else if (colour == FLAT_AREA_COLOUR) {
        cursorLabel_->setText(tr("%1, flat area").arg(at));
    } else {
        cursorLabel_->setText(tr("%1, not in the colour set").arg(at));
    }
}

// --- background work ----------------------------------------------------------------------

void PainterWindow::requestPreview()
{
    if (!hasMap())
        return;
    if (previewWatcher_.isRunning()) {
        previewAgain_ = true; // one more run once this one ends, however many requests come
        return;
    }
    previewAgain_ = false;
    const int pixelsPerCell = previewPixelsPerCell(map_.rows, map_.cols, kPreviewLongSide);
    previewWatcher_.setFuture(
        QtConcurrent::run([map = map_, min = minElevation(), interval = contourInterval(), pixelsPerCell] {
            return previewTerrain(map, min, interval, pixelsPerCell);
        }));
}

void PainterWindow::previewFinished()
{
    const TerrainPreview preview = previewWatcher_.result();
    if (preview.result == ExtractResult::Ok && !preview.image.empty())
        ui_->preview->setPicture(QImage(preview.image.rgb.data(), preview.image.width, preview.image.height,
                                        preview.image.width * 3, QImage::Format_RGB888)
                                     .copy());
    else
        ui_->preview->setPicture(QImage());
    if (previewAgain_)
        requestPreview();
    emit previewShown();
}

void PainterWindow::startCheck(const QString& path, ColourSet colourSet)
{
    PictureCheckRequest request;
    request.bmpFilePath = fileName(path);
    request.colourSet = colourSet;
    checkWatcher_.setFuture(QtConcurrent::run(
        [request, generation = mapGeneration_, rows = map_.rows, cols = map_.cols] {
            const PictureCheck check = checkPicture(request);
            CheckMarks marks;
            marks.generation = generation;
            if (check.result != ExtractResult::Ok)
                return marks;
            marks.warnings = blockMarks(check, rows, cols);
            for (std::uint8_t& mark : marks.warnings)
                mark = mark == 1 + static_cast<int>(Severity::Warning) ? 1 : 0; // errors show in red already
            marks.errors = check.count(Severity::Error);
            marks.warningCount = check.count(Severity::Warning);
            return marks;
        }));
}

void PainterWindow::checkFinished()
{
    CheckMarks marks = checkWatcher_.result();
    if (marks.generation != mapGeneration_ || marks.warnings.size() != painted_.size())
        return; // a check of an earlier map
    for (std::size_t i = 0; i < marks.warnings.size(); ++i)
        if (painted_[i])
            marks.warnings[i] = 0; // painted while the check ran
    ui_->canvas->setWarningMarks(std::move(marks.warnings));
    if (marks.errors + marks.warningCount > 0)
        statusBar()->showMessage(tr("The picture check found %1 errors (red) and %2 warnings (blue)")
                                     .arg(marks.errors)
                                     .arg(marks.warningCount));
}

// --- window ------------------------------------------------------------------------------------

void PainterWindow::updateTitle()
{
    if (!hasMap()) {
        setWindowTitle(tr("QarnPainter"));
        return;
    }
    const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
    setWindowTitle(tr("%1[*] - QarnPainter").arg(name));
    setWindowModified(!undoStack_->isClean());
}

void PainterWindow::updateActions()
{
    const bool on = hasMap();
    for (QAction* action : {ui_->actionSave, ui_->actionSaveAs, ui_->actionBuildGrid, ui_->actionZoomIn,
                             ui_->actionZoomOut, ui_->actionFitToWindow})
        action->setEnabled(on);
    tools_->setEnabled(on);
}

void PainterWindow::updateUndoTexts()
{
    const QString undo = undoStack_->undoText();
    const QString redo = undoStack_->redoText();
    undoAction_->setText(undo.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo));
    redoAction_->setText(redo.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redo));
}

void PainterWindow::retranslate()
{
    sizeLabel_->setText(tr("Size (blocks):"));
    updateUndoTexts();
    rebuildPalette();
    updateTitle();
    showHover(hover_.y(), hover_.x());
}

void PainterWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui_->retranslateUi(this);
        retranslate();
    }
    QMainWindow::changeEvent(event);
}

void PainterWindow::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    saveSettings();
    event->accept();
}

void PainterWindow::loadSettings()
{
    const QSettings s = settings();
    restoreGeometry(s.value(QStringLiteral("geometry")).toByteArray());
    restoreState(s.value(QStringLiteral("windowState")).toByteArray());
    lastFolder_ = s.value(QStringLiteral("lastFolder"), QDir::homePath()).toString();
    ui_->minSpin->setValue(s.value(QStringLiteral("minElevation"), 100).toInt());
    ui_->intervalSpin->setValue(s.value(QStringLiteral("contourInterval"), 20).toInt());
    rememberedSet_ = s.value(QStringLiteral("colourSet")).toString() == QLatin1String("user") ? ColourSet::User
                                                                                              : ColourSet::System;
    const int size = sizeCombo_->findData(s.value(QStringLiteral("pencilSize"), 1).toInt());
    sizeCombo_->setCurrentIndex(size < 0 ? 0 : size);
    ui_->canvas->setPenSize(sizeCombo_->currentData().toInt());
    ui_->actionGridLines->setChecked(s.value(QStringLiteral("gridLines"), true).toBool());
    ui_->canvas->setGridLines(ui_->actionGridLines->isChecked());
}

void PainterWindow::saveSettings() const
{
    QSettings s = settings();
    s.setValue(QStringLiteral("geometry"), saveGeometry());
    s.setValue(QStringLiteral("windowState"), saveState());
    s.setValue(QStringLiteral("lastFolder"), lastFolder_);
    s.setValue(QStringLiteral("minElevation"), minElevation());
    s.setValue(QStringLiteral("contourInterval"), contourInterval());
    s.setValue(QStringLiteral("colourSet"),
               rememberedSet_ == ColourSet::User ? QStringLiteral("user") : QStringLiteral("system"));
    s.setValue(QStringLiteral("pencilSize"), sizeCombo_->currentData().toInt());
    s.setValue(QStringLiteral("gridLines"), ui_->actionGridLines->isChecked());
}
