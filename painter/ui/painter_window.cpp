#include "painter_window.h"

#include "forge/output/grid_files.h"
#ifdef QARN_WITH_GDAL
#include "import_terrain_dialog.h"
#endif

#include "block_canvas.h"
#include "painter_document.h"
#include "preview_view.h"

#include "terrain_view/ui/terrain_view_panel.h"
#include "ui_painter_window.h"

#include "common/map_data_file.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/build_inputs.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/picture_check.h"
#include "forge/extract/result_codes.h"
#include "forge/output/relief_preview.h"
#include "forge/output/save_names.h"
#include "painter/model/map_build.h"
#include "painter/model/map_picture_file.h"
#include "painter/model/picture_rewrite.h"
#include "painter/model/warning_marks.h"
#include "qtsupport/central_share.h"
#include "qtsupport/colours.h"
#include "qtsupport/file_names.h"
#include "qtsupport/write_question.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QComboBox>
#include <QImageReader>
#include <QSpinBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>
#include <QtConcurrent/QtConcurrentRun>

// The built-in pictures live in this static library; the resource must be
// registered by name since nothing else pulls its object file in.
static void initPainterImages()
{
    Q_INIT_RESOURCE(painter_images);
}

namespace qarn::painter {

namespace {

constexpr int kStatusMillis = 4000;
constexpr int kRecentFiles = 8; // File > Open Recent's length
constexpr int kPreviewLongSide = 300; // preview pixels along the map's longer side, at least
constexpr int kReferenceLongSide = 4096; // pixels a reference picture is read at, at most

QSettings settings()
{
    return QSettings(QStringLiteral("Qarn"), QStringLiteral("QarnPainter"));
}

} // namespace

PainterWindow::PainterWindow(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::PainterWindow>()), doc_(new PainterDocument(this)),
      map_(doc_->map()), undoStack_(doc_->undoStack())
{
    initPainterImages();
    ui_->setupUi(this);
    ui_->canvas->setDocument(doc_);
    setWindowIcon(QIcon(QStringLiteral(":/painter/qarnpainter.png")));

    // Edit: undo and redo name the stroke. Ours rather than the stack's
    // ready-made actions, whose prefix is fixed when made and so would not
    // follow a language change.
    undoAction_ = new QAction(this);
    undoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    undoAction_->setEnabled(false);
    redoAction_ = new QAction(this);
    redoAction_->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    // Ctrl+= as well, since "+" needs Shift on many keyboards.
    ui_->actionZoomIn->setShortcuts({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    redoAction_->setEnabled(false);
    // A stroke being drawn is not cut into: undo and redo wait for it to end.
    connect(undoAction_, &QAction::triggered, this, [this] {
        if (!doc_->stroking())
            undoStack_->undo();
    });
    connect(redoAction_, &QAction::triggered, this, [this] {
        if (!doc_->stroking())
            undoStack_->redo();
    });
    connect(undoStack_, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::indexChanged, this, &PainterWindow::updateUndoTexts);
    ui_->menuEdit->addAction(undoAction_);
    ui_->menuEdit->addAction(redoAction_);
    ui_->menuView->addAction(ui_->paletteDock->toggleViewAction());
    ui_->menuView->addAction(ui_->previewDock->toggleViewAction());
    // The 3D view under the preview, fed by the same background preview.
    viewDock_ = new QDockWidget(this);
    viewDock_->setObjectName(QStringLiteral("viewDock"));
    terrainView_ = new qarn::TerrainViewPanel(viewDock_);
    viewDock_->setWidget(terrainView_);
    addDockWidget(Qt::RightDockWidgetArea, viewDock_);
    splitDockWidget(ui_->previewDock, viewDock_, Qt::Vertical);
    ui_->menuView->addAction(viewDock_->toggleViewAction());
    // Whatever the docks take, the canvas keeps half the window.
    keepCentralShare(this);
    connect(terrainView_, &qarn::TerrainViewPanel::exportRequested, this, &PainterWindow::exportView);
    connect(undoStack_, &QUndoStack::cleanChanged, this, &PainterWindow::updateTitle);
    connect(doc_, &PainterDocument::mapReplaced, this, &PainterWindow::mapReplaced);
    connect(doc_, &PainterDocument::blocksChanged, this, &PainterWindow::blocksChanged);
    // File > Open Recent and pictures dropped on the window.
    recentMenu_ = new QMenu(tr("Open &Recent"), this);
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    ui_->menuFile->insertMenu(ui_->actionSave, recentMenu_);
    setAcceptDrops(true);
    connect(doc_, &PainterDocument::checkChanged, this, [this] {
        ui_->canvas->setWarningMarks(doc_->warningMarks());
        walkedTo_ = QPoint(-1, -1);
    });

    // Tools: one at a time; the pencil, raise, lower and the slope brushes take the size.
    tools_ = new QActionGroup(this);
    const std::pair<QAction*, BlockCanvas::Tool> tools[] = {
        {ui_->actionPencil, BlockCanvas::Tool::Pencil}, {ui_->actionRectangle, BlockCanvas::Tool::Rectangle},
        {ui_->actionFill, BlockCanvas::Tool::Fill},     {ui_->actionPicker, BlockCanvas::Tool::Picker},
        {ui_->actionRaise, BlockCanvas::Tool::Raise},   {ui_->actionLower, BlockCanvas::Tool::Lower},
        {ui_->actionSlopeUp, BlockCanvas::Tool::SlopeUp}, {ui_->actionSlopeDown, BlockCanvas::Tool::SlopeDown}};
    for (const auto& [action, tool] : tools) {
        tools_->addAction(action);
        connect(action, &QAction::triggered, this, [this, tool = tool] { ui_->canvas->setTool(tool); });
    }
    ui_->actionPencil->setChecked(true);
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setContentsMargins(6, 0, 4, 0);
    sizeSpin_ = new QSpinBox(this);
    sizeSpin_->setObjectName(QStringLiteral("sizeSpin"));
    sizeSpin_->setRange(1, MAX_BRUSH_SIZE);
    shapeCombo_ = new QComboBox(this);
    shapeCombo_->setObjectName(QStringLiteral("shapeCombo"));
    shapeCombo_->addItem(QString(), static_cast<int>(BrushShape::Square));
    shapeCombo_->addItem(QString(), static_cast<int>(BrushShape::Round));
    ui_->toolBar->addWidget(sizeLabel_);
    ui_->toolBar->addWidget(sizeSpin_);
    ui_->toolBar->addWidget(shapeCombo_);
    connect(sizeSpin_, &QSpinBox::valueChanged, ui_->canvas, &BlockCanvas::setPenSize);
    connect(shapeCombo_, &QComboBox::currentIndexChanged, this, [this] {
        ui_->canvas->setBrushShape(static_cast<BrushShape>(shapeCombo_->currentData().toInt()));
    });
    // [ and ] step the size, by more the larger it is.
    for (const auto& [key, larger] : {std::pair{"[", false}, std::pair{"]", true}}) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(key)));
        connect(action, &QAction::triggered, this,
                [this, larger = larger] { sizeSpin_->setValue(steppedBrushSize(sizeSpin_->value(), larger)); });
        addAction(action);
    }

    // The reference picture: a view of the canvas alone, never part of the map.
    referenceOpacityLabel_ = new QLabel(this);
    referenceOpacityLabel_->setContentsMargins(6, 0, 4, 0);
    referenceOpacity_ = new QSpinBox(this);
    referenceOpacity_->setObjectName(QStringLiteral("referenceOpacity"));
    referenceOpacity_->setRange(0, 100);
    referenceOpacity_->setSingleStep(10);
    referenceOpacity_->setValue(50);
    referenceOpacityLabel_->setBuddy(referenceOpacity_);
    ui_->referenceBar->addWidget(referenceOpacityLabel_);
    ui_->referenceBar->addWidget(referenceOpacity_);
    ui_->referenceBar->addAction(ui_->actionRemoveReference);
    connect(referenceOpacity_, &QSpinBox::valueChanged, this,
            [this](int percent) { ui_->canvas->setReferenceOpacity(percent / 100.0); });
    connect(ui_->actionReferencePicture, &QAction::triggered, this, &PainterWindow::chooseReference);
    connect(ui_->actionShowReference, &QAction::toggled, ui_->canvas, &BlockCanvas::setReferenceShown);
    connect(ui_->actionRemoveReference, &QAction::triggered, this, [this] { showReference(QImage()); });
    showReference(QImage());

    cursorLabel_ = new QLabel(this);
    cursorLabel_->setObjectName(QStringLiteral("cursorLabel"));
    // A long reason is cut off at the window's edge instead of widening the
    // window past the screen; the canvas's tool tip gives it whole.
    cursorLabel_->setMinimumWidth(1);
    statusBar()->addPermanentWidget(cursorLabel_);
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));
    statusBar()->addPermanentWidget(zoomLabel_);
    connect(ui_->canvas, &BlockCanvas::zoomChanged, this, &PainterWindow::showZoom);
    // The preview doubles as an overview: the canvas's view outlined on it, a click or drag there centres the view.
    connect(ui_->canvas, &BlockCanvas::viewChanged, this, [this] {
        const QRectF seen = ui_->canvas->visibleBlocks();
        ui_->preview->setViewArea(hasMap() ? QRectF(seen.x() / map_.cols, seen.y() / map_.rows,
                                                    seen.width() / map_.cols, seen.height() / map_.rows)
                                           : QRectF());
    });
    connect(ui_->preview, &PreviewView::pointChosen, this, [this](QPointF part) {
        if (hasMap())
            ui_->canvas->centreOnPoint({part.x() * map_.cols, part.y() * map_.rows});
    });

    connect(ui_->actionNew, &QAction::triggered, this, &PainterWindow::newMap);
    connect(ui_->actionOpen, &QAction::triggered, this, &PainterWindow::open);
#ifdef QARN_WITH_GDAL
    addImportTerrainAction(this, ui_->menuFile, ui_->actionSave, [this]() -> Dialogs& { return dialogs(); },
                           [this](BlockMap map, std::int32_t min, std::int32_t interval) {
        if (!maybeSave())
            return;
        ui_->minSpin->setValue(min);
        ui_->intervalSpin->setValue(interval);
        installMap(std::move(map), QString(), false);
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
    connect(ui_->actionShowWarnings, &QAction::toggled, ui_->canvas, &BlockCanvas::setWarningsShown);
    connect(ui_->actionNextProblem, &QAction::triggered, this, [this] { walkProblems(true); });
    connect(ui_->actionPreviousProblem, &QAction::triggered, this, [this] { walkProblems(false); });

    connect(ui_->canvas, &BlockCanvas::strokeEnded, this, &PainterWindow::strokeEnded);
    connect(ui_->canvas, &BlockCanvas::hoverChanged, this, &PainterWindow::showHover);
    connect(ui_->canvas, &BlockCanvas::colourPicked, this, [this](const QColor& colour) {
        const Rgb c = toRgb(colour);
        if (rungOf(map_, c) >= 0 || c == FLAT_AREA_COLOUR)
            selectColour(c);
        else
            statusBar()->showMessage(tr("%1 is not a colour of the set").arg(colour.name().toUpper()), kStatusMillis);
    });
    connect(ui_->paletteList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            ui_->canvas->setColour(toRgb(item->data(Qt::UserRole).value<QColor>()));
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
    ui_->referenceBar->hide(); // whatever the restored state says: no reference at start
    retranslate();
    updateActions();
}

PainterWindow::~PainterWindow()
{
    // The background work holds copies of what it needs; only wait so its
    // watchers are not told after the window has gone.
    previewWatcher_.waitForFinished();
    checkWatcher_.waitForFinished();
    // The document, a child, empties its stack when deleted and says so; by
    // then this is no longer a PainterWindow to tell.
    doc_->disconnect(this);
    undoStack_->disconnect(this);
}

QString PainterWindow::picturePath() const
{
    return doc_->path();
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
    dialogs().message(this, kind, caption, text);
}

std::optional<ColourSet> PainterWindow::askColourSet(ColourSet preset)
{
    const QStringList sets = {tr("System colour set"), tr("User colour set (band in the top rows)")};
    const int chosen =
        dialogs().choice(this, tr("Colour Set"), tr("The picture is painted in the:"), sets, preset == ColourSet::User);
    if (chosen < 0)
        return std::nullopt;
    return chosen == 1 ? ColourSet::User : ColourSet::System;
}

std::optional<NewMapEntries> PainterWindow::askNewMap(const NewMapEntries& start)
{
    NewMapDialog dialog(dialogs(), this);
    dialog.setEntries(start);
    if (!dialogs().run(dialog))
        return std::nullopt;
    return dialog.entries();
}

void PainterWindow::showUserMessage(const UserMessage& message)
{
    // The core's texts go through the translation lookup like the form's.
    showBox(message.kind, tr(message.caption.c_str()), tr(message.text.c_str()));
}

// --- maps in and out -----------------------------------------------------------------

void PainterWindow::installMap(BlockMap map, const QString& path, bool asOpened)
{
    doc_->install(std::move(map), path, asOpened);
}

void PainterWindow::mapReplaced()
{
    ui_->canvas->setMap(&doc_->mapForPainting());
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
        // The last user band for the next New Map, in this run and the next; a system map keeps it.
        if (entries.colourSet == ColourSet::User) {
            QStringList band;
            for (const Rgb& colour : entries.band)
                band << hexName(colour);
            settings().setValue(QStringLiteral("newMapBand"), band);
        } else {
            entries.band = lastNewMap_.band;
        }
        lastNewMap_ = entries;
        installMap(std::move(map), QString(), false);
        statusBar()->showMessage(tr("New map of %1 x %2 blocks").arg(map_.cols).arg(map_.rows), kStatusMillis);
        return;
    }
}

void PainterWindow::open()
{
    if (!maybeSave())
        return;
    const QString path =
        dialogs().openFileName(this, tr("Open Map Picture"), lastFolder_, tr("BMP pictures (*.bmp *.BMP);;All files (*)"));
    if (path.isEmpty())
        return;
    const std::optional<ColourSet> colourSet = askColourSet(rememberedSet_);
    if (colourSet)
        openPicture(path, *colourSet);
}

void PainterWindow::openNamed(const QString& path)
{
    if (!maybeSave())
        return;
    if (const std::optional<ColourSet> colourSet = askColourSet(rememberedSet_))
        openPicture(path, *colourSet);
}

void PainterWindow::rememberRecent(const QString& path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    recentFiles_.removeAll(file);
    recentFiles_.prepend(file);
    while (recentFiles_.size() > kRecentFiles)
        recentFiles_.removeLast();
    // At once, so a second window started later offers it too.
    settings().setValue(QStringLiteral("recentFiles"), recentFiles_);
    rebuildRecentMenu();
}

void PainterWindow::rebuildRecentMenu()
{
    recentMenu_->clear();
    for (const QString& file : recentFiles_) {
        QAction* action = recentMenu_->addAction(QDir::toNativeSeparators(file));
        connect(action, &QAction::triggered, this, [this, file] { openNamed(file); });
    }
    recentMenu_->setEnabled(!recentFiles_.isEmpty());
}

void PainterWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void PainterWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the questions open windows of their own.
    QTimer::singleShot(0, this, [this, path = urls.front().toLocalFile()] { openNamed(path); });
}

bool PainterWindow::openPicture(const QString& path, ColourSet colourSet)
{
    BlockMap map;
    const ExtractResult result = openMapPicture(toFileName(path), colourSet, map);
    if (result != ExtractResult::Ok) {
        // Why a file cannot be opened, where the file system says.
        const QFileInfo file(path);
        const QString why = result != ExtractResult::CannotOpenBmp ? tr(describe(result))
                            : !file.exists()                      ? tr("there is no such file")
                            : file.isDir()                        ? tr("it is a folder")
                            : !file.isReadable()                  ? tr("permission denied")
                                                                  : tr(describe(result));
        QString text = tr("<p>%1 cannot be opened: %2.</p>").arg(QDir::toNativeSeparators(path).toHtmlEscaped(), why);
        const std::string refusal = describeBmpRefusal(toFileName(path), result);
        if (!refusal.empty())
            text += QStringLiteral("<p>%1</p>").arg(tr(refusal.c_str()).toHtmlEscaped());
        showBox(MessageKind::Critical, tr("Open"), text);
        return false;
    }
    rememberedSet_ = colourSet;
    lastFolder_ = QFileInfo(path).absolutePath();
    rememberRecent(path);
    installMap(std::move(map), path, true);
    if (heights_.wrongCount > 0)
        statusBar()->showMessage(tr("%1 blocks have a colour that stops a build (outlined in red)")
                                     .arg(heights_.wrongCount));
    startCheck(path, colourSet);
    return true;
}

bool PainterWindow::maybeSave()
{
    ui_->canvas->endStroke();
    if (!hasMap() || undoStack_->isClean())
        return true;
    switch (dialogs().question(this, tr("QarnPainter"), tr("The map has changes that are not saved. Save them?"),
                               QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
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
    ui_->canvas->endStroke();
    if (doc_->path().isEmpty())
        return saveAs();
    WriteAnswer answer = askBeforeWriting(dialogs(), this, tr("Save Map Picture"), {doc_->path()}, Replacing::Expected);
    if (answer == WriteAnswer::Write && doc_->pictureAsOpened())
        answer = askAboutRewrite();
    switch (answer) {
    case WriteAnswer::Write:
        return writePicture(doc_->path());
    case WriteAnswer::ChooseAnother:
        return saveAs();
    case WriteAnswer::Cancel:
        break;
    }
    return false;
}

WriteAnswer PainterWindow::askAboutRewrite()
{
    // The painter writes 24-bit pictures of whole one-coloured blocks: the
    // first save over a picture drawn otherwise says what else it changes.
    const PictureRewrite rewrite = describePictureRewrite(toFileName(doc_->path()), map_.colourSet);
    if (!rewrite.changesMore())
        return WriteAnswer::Write;
    QString changes;
    if (rewrite.bitsPerPixel != 24)
        changes += tr("<li>%1 bits per pixel become 24</li>").arg(rewrite.bitsPerPixel);
    if (rewrite.width != rewrite.savedWidth || rewrite.height != rewrite.savedHeight)
        changes += tr("<li>%1 x %2 pixels become %3 x %4, whole blocks only</li>")
                       .arg(rewrite.width)
                       .arg(rewrite.height)
                       .arg(rewrite.savedWidth)
                       .arg(rewrite.savedHeight);
    if (rewrite.mixedBlocks > 0)
        changes += tr("<li>%1 blocks of more than one colour become one colour each</li>").arg(rewrite.mixedBlocks);
    const QString text = tr("<p>Saving over %1 changes more than the painted blocks:</p><ul>%2</ul>"
                            "<p>Save over it, or save under another name?</p>")
                             .arg(QDir::toNativeSeparators(doc_->path()).toHtmlEscaped(), changes);
    switch (dialogs().question(this, tr("Save Map Picture"), text,
                               QMessageBox::Save | QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry,
                               {{QMessageBox::Retry, tr("Save &As...")}})) {
    case QMessageBox::Save:
        return WriteAnswer::Write;
    case QMessageBox::Retry:
        return WriteAnswer::ChooseAnother;
    default:
        return WriteAnswer::Cancel;
    }
}

bool PainterWindow::saveAs()
{
    if (!hasMap())
        return false;
    ui_->canvas->endStroke();
    QString start = doc_->path().isEmpty() ? QDir(lastFolder_).filePath(tr("map.bmp")) : doc_->path();
    for (;;) {
        QString path = dialogs().saveFileName(this, tr("Save Map Picture"), start, tr("BMP pictures (*.bmp)"));
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".bmp");
        start = path;
        WriteAnswer answer = askBeforeWriting(dialogs(), this, tr("Save Map Picture"), {path});
        if (answer == WriteAnswer::Write)
            answer = askAboutMapData(path);
        if (answer == WriteAnswer::Cancel)
            return false;
        if (answer == WriteAnswer::Write)
            return writePicture(path);
    }
}

WriteAnswer PainterWindow::askAboutMapData(const QString& path)
{
    // A folder holds one map data file under a fixed name: one of another map
    // size there must not be replaced without a word.
    if (!map_.mapData)
        return WriteAnswer::Write;
    const std::string dataPath = mapDataPathFor(toFileName(path));
    if (!QFileInfo::exists(fromFileName(dataPath)))
        return WriteAnswer::Write;
    MapData there;
    const FileResult read = readMapDataFile(dataPath, there);
    if (read == FileResult::Ok && encodeMapData(there) == encodeMapData(*map_.mapData))
        return WriteAnswer::Write;
    const QString held = read == FileResult::Ok
                             ? tr("a map of %1 x %2 tens of metres").arg(there.widthTens).arg(there.heightTens)
                             : tr("a map it does not say (%1)").arg(tr(describe(read)));
    const QString text =
        tr("<p>This folder already has a map data file, %1, for %2; this map is %3 x %4 tens of metres.</p>"
           "<p>The file's name is fixed, so a folder holds the map data of one map size: replacing it would give "
           "the other picture there the wrong sizes.</p><p>Save this map in another folder?</p>")
            .arg(QString::fromUtf8(MAP_DATA_FILE_NAME), held)
            .arg(map_.mapData->widthTens)
            .arg(map_.mapData->heightTens);
    return askReplace(dialogs(), this, tr("Save Map Picture"), text, tr("Other &Folder..."));
}

bool PainterWindow::writePicture(const QString& path)
{
    std::string error;
    if (saveMapPicture(map_, toFileName(path), error) != OutputResult::Ok) {
        showBox(MessageKind::Critical, tr("Save"), QString::fromLocal8Bit(error.c_str()).toHtmlEscaped());
        return false;
    }
    doc_->setSaved(path);
    rememberRecent(path);
    lastFolder_ = QFileInfo(path).absolutePath();
    updateTitle();
    statusBar()->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), kStatusMillis);
    return true;
}

void PainterWindow::buildGrid()
{
    if (!hasMap())
        return;
    ui_->canvas->endStroke();
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
    // The grid file and the report, each asked about once under the names really written.
    const QString picture = doc_->path().isEmpty() ? QDir(lastFolder_).filePath(tr("map.bmp")) : doc_->path();
    const QString chosen =
        askSaveName(dialogs(), this, tr("Build Grid"), fromFileName(proposedSaveName(toFileName(picture))),
                    tr("ASCII grids (*.asc);;All files (*)"),
                    [](const QString& name) { return fromFileNames(gridAndReportFileNames(toFileName(name))); });
    if (chosen.isEmpty())
        return;

    // Built from the map on screen, so the picture's file is not saved behind
    // the user's back; the map data file is the map's own or the one beside its picture.
    std::optional<MapData> mapData = map_.mapData;
    if (!mapData && !doc_->path().isEmpty()) {
        MapData beside;
        if (readMapDataFile(mapDataPathFor(toFileName(doc_->path())), beside) == FileResult::Ok)
            mapData = beside;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BuildRequest request;
    request.minElevation = min;
    request.contourInterval = interval;
    const GridBuild build = buildGridFromMap(map_, mapData, request, toFileName(chosen));
    QApplication::restoreOverrideCursor();
    // The build's warnings as qarn build prints them, then what ended it.
    const std::vector<UserMessage>& messages = build.outcome.messages;
    for (std::size_t i = 0; i < messages.size(); ++i)
        if (messages[i].kind != MessageKind::Information || (i + 1 == messages.size() && !build.outcome.built()))
            showUserMessage(messages[i]);
    if (!build.outcome.built())
        return;
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

// --- reference picture -----------------------------------------------------------------

void PainterWindow::chooseReference()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString path = dialogs().openFileName(this, tr("Reference Picture"), lastFolder_,
                                                tr("Pictures (%1);;All files (*)").arg(patterns.join(QLatin1Char(' '))));
    if (!path.isEmpty())
        openReference(path);
}

bool PainterWindow::openReference(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // A large scan is read smaller: it is stretched over the map, whose blocks are coarser anyway.
    if (const QSize size = reader.size(); size.isValid() && std::max(size.width(), size.height()) > kReferenceLongSide)
        reader.setScaledSize(size.scaled(kReferenceLongSide, kReferenceLongSide, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        const QFileInfo file(path);
        const QString why = !file.exists()     ? tr("there is no such file")
                            : file.isDir()     ? tr("it is a folder")
                            : !file.isReadable() ? tr("permission denied")
                            : reader.error() == QImageReader::UnsupportedFormatError
                                ? tr("it is not a picture in a format QarnPainter reads")
                                : tr("its picture data cannot be read (%1)").arg(reader.errorString());
        showBox(MessageKind::Critical, tr("Reference Picture"),
                tr("<p>%1 cannot be shown as the reference picture: %2.</p>")
                    .arg(QDir::toNativeSeparators(path).toHtmlEscaped(), why.toHtmlEscaped()));
        return false;
    }
    showReference(picture);
    statusBar()->showMessage(tr("Reference picture %1, stretched over the map").arg(QDir::toNativeSeparators(path)),
                             kStatusMillis);
    return true;
}

void PainterWindow::showReference(const QImage& picture)
{
    ui_->canvas->setReference(picture);
    const bool shown = !picture.isNull();
    ui_->actionShowReference->setChecked(shown);
    for (QAction* action : {ui_->actionShowReference, ui_->actionRemoveReference})
        action->setEnabled(shown);
    // Its controls are there while there is a reference: the tools' row keeps its room otherwise.
    ui_->referenceBar->setVisible(shown);
}

// --- painting --------------------------------------------------------------------------

void PainterWindow::strokeEnded()
{
    const bool changed = !doc_->stroke().empty();
    const QString name = tools_->checkedAction() ? tools_->checkedAction()->text().remove(QLatin1Char('&')) : QString();
    doc_->endStroke(name);
    if (changed)
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
        auto* item = new QListWidgetItem(swatch(c, 24), text, ui_->paletteList);
        item->setData(Qt::UserRole, toQColor(c));
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
        if (toRgb(ui_->paletteList->item(i)->data(Qt::UserRole).value<QColor>()) == colour) {
            ui_->paletteList->setCurrentRow(i);
            ui_->canvas->setColour(colour);
            return;
        }
}

QString PainterWindow::problemText(const Problem& problem) const
{
    // As qarn check prints it.
    return (problem.severity == Severity::Error ? tr("error: %1") : tr("warning: %1"))
        .arg(tr(problem.text.c_str()));
}

void PainterWindow::walkProblems(bool forward)
{
    const bool warnings = ui_->actionShowWarnings->isChecked();
    const std::ptrdiff_t k = doc_->problems().step(walkedTo_.y(), walkedTo_.x(), forward, warnings);
    if (k < 0) {
        statusBar()->showMessage(warnings ? tr("The picture check found no problems")
                                          : tr("The picture check found no errors"),
                                 kStatusMillis);
        return;
    }
    const Problem& problem = doc_->problems().problems[static_cast<std::size_t>(k)];
    walkedTo_ = QPoint(problem.col, problem.row);
    ui_->canvas->centreOn(problem.row, problem.col);
    statusBar()->showMessage(problemText(problem));
}

void PainterWindow::showHover(int row, int col)
{
    hover_ = QPoint(col, row);
    if (!hasMap() || !map_.contains(row, col)) {
        cursorLabel_->clear();
        ui_->canvas->setToolTip({});
        return;
    }
    const Rgb colour = map_.at(row, col);
    const QString at = tr("Row %1, column %2").arg(row + 1).arg(col + 1);
    // The reason of the check's problem at the block, unless painted since or a hidden warning.
    QString reason;
    const std::size_t i = map_.index(row, col);
    if (i < doc_->problems().atBlock.size() && doc_->problems().atBlock[i] > 0 && !doc_->painted()[i]) {
        const Problem& problem = doc_->problems().problems[static_cast<std::size_t>(doc_->problems().atBlock[i] - 1)];
        if (problem.severity == Severity::Error || ui_->actionShowWarnings->isChecked())
            reason = problemText(problem);
    }
    ui_->canvas->setToolTip(reason);
    const auto show = [&](const QString& text) {
        cursorLabel_->setText(reason.isEmpty() ? text : tr("%1; %2").arg(text, reason));
    };
    const int rung = rungOf(map_, colour);
    if (rung >= 0) {
        for (const ColourHeightEntry& e : heights_.set.entries)
            if (heights_.result == ExtractResult::Ok && e.red == colour.red && e.green == colour.green &&
                e.blue == colour.blue) {
                show(tr("%1, rung %2, height %3 m").arg(at).arg(rung).arg(e.height));
                return;
            }
        show(tr("%1, rung %2").arg(at).arg(rung));
    } else if (colour == FLAT_AREA_COLOUR) {
        show(tr("%1, flat area").arg(at));
    } else {
        show(tr("%1, not in the colour set").arg(at));
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
    const int cellsPerPixel = previewCellsPerPixel(map_.rows, map_.cols, kPreviewLongSide);
    // One preview runs at a time, so each builds in the last one's grid.
    previewWatcher_.setFuture(QtConcurrent::run(
        [map = map_, min = minElevation(), interval = contourInterval(), pixelsPerCell, cellsPerPixel,
         grid = &previewGrid_] { return previewTerrain(map, min, interval, pixelsPerCell, cellsPerPixel, grid); }));
}

void PainterWindow::previewFinished()
{
    TerrainPreview preview = previewWatcher_.result();
    // A newer map is waiting: its run starts now, and the 3D view, whose
    // frame takes the GUI thread longest, waits for it.
    const bool outOfDate = previewAgain_;
    if (outOfDate)
        requestPreview();
    if (preview.result == ExtractResult::Ok && !preview.image.empty())
        ui_->preview->setPicture(QImage(preview.image.rgb.data(), preview.image.width, preview.image.height,
                                        preview.image.width * 3, QImage::Format_RGB888)
                                     .copy());
    else
        ui_->preview->setPicture(QImage());
    if (preview.result != ExtractResult::Ok || preview.terrain.rows == 0)
        terrainView_->clear();
    else if (!outOfDate)
        terrainView_->showTerrain(std::move(preview.terrain), METRES_PER_SRTM_GRID);
    emit previewShown();
}

void PainterWindow::exportView()
{
    const QString path =
        askSaveName(dialogs(), this, tr("Export 3D View"), lastFolder_, tr("PNG pictures (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!terrainView_->exportPng(path, error))
        showBox(MessageKind::Critical, tr("Export 3D View"), error.toHtmlEscaped());
}

void PainterWindow::startCheck(const QString& path, ColourSet colourSet)
{
    PictureCheckRequest request;
    request.bmpFilePath = toFileName(path);
    request.colourSet = colourSet;
    request.drawable = false; // read in bands: the window draws its own marks
    checkWatcher_.setFuture(QtConcurrent::run(
        [request, generation = doc_->generation(), rows = map_.rows, cols = map_.cols] {
            const PictureCheck check = checkPicture(request);
            CheckMarks marks;
            marks.generation = generation;
            if (check.result != ExtractResult::Ok)
                return marks;
            marks.warnings = warningMarks(check, rows, cols);
            const ProblemCount count = problemCount(check);
            marks.errors = count.errors;
            marks.warningCount = count.warnings;
            marks.problems = problemList(check, rows, cols);
            return marks;
        }));
}

void PainterWindow::checkFinished()
{
    CheckMarks marks = checkWatcher_.result();
    if (!doc_->setCheck(marks.generation, std::move(marks.problems), std::move(marks.warnings)))
        return;
    if (marks.errors + marks.warningCount > 0)
        statusBar()->showMessage(tr("The picture check found %1 (red) and %2 (blue)")
                                     .arg(tr("%n error(s)", nullptr, static_cast<int>(marks.errors)),
                                          tr("%n warning(s)", nullptr, static_cast<int>(marks.warningCount))));
}

// --- window ------------------------------------------------------------------------------------

void PainterWindow::updateTitle()
{
    if (!hasMap()) {
        setWindowTitle(tr("QarnPainter"));
        return;
    }
    const QString name = doc_->path().isEmpty() ? tr("Untitled") : QFileInfo(doc_->path()).fileName();
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
    shapeCombo_->setItemText(0, tr("Square"));
    shapeCombo_->setItemText(1, tr("Round"));
    referenceOpacityLabel_->setText(tr("&Opacity:"));
    referenceOpacity_->setSuffix(tr(" %"));
    recentMenu_->setTitle(tr("Open &Recent"));
    viewDock_->setWindowTitle(tr("3D View"));
    updateUndoTexts();
    rebuildPalette();
    updateTitle();
    showHover(hover_.y(), hover_.x());
    showZoom();
}

void PainterWindow::showZoom()
{
    if (hasMap())
        zoomLabel_->setText(tr("Zoom %1 %").arg(std::lround(ui_->canvas->zoom() * 100)));
    else
        zoomLabel_->clear();
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
    sizeSpin_->setValue(s.value(QStringLiteral("pencilSize"), 1).toInt());
    ui_->canvas->setPenSize(sizeSpin_->value());
    shapeCombo_->setCurrentIndex(s.value(QStringLiteral("brushShape")).toString() == QLatin1String("round") ? 1 : 0);
    referenceOpacity_->setValue(s.value(QStringLiteral("referenceOpacity"), 50).toInt());
    ui_->actionGridLines->setChecked(s.value(QStringLiteral("gridLines"), true).toBool());
    ui_->canvas->setGridLines(ui_->actionGridLines->isChecked());
    recentFiles_ = s.value(QStringLiteral("recentFiles")).toStringList().mid(0, kRecentFiles);
    for (const QString& name : s.value(QStringLiteral("newMapBand")).toStringList())
        if (const QColor colour(name); colour.isValid())
            lastNewMap_.band.push_back(toRgb(colour));
    rebuildRecentMenu();
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
    s.setValue(QStringLiteral("pencilSize"), sizeSpin_->value());
    s.setValue(QStringLiteral("brushShape"), shapeCombo_->currentIndex() == 1 ? QStringLiteral("round")
                                                                               : QStringLiteral("square"));
    s.setValue(QStringLiteral("referenceOpacity"), referenceOpacity_->value());
    s.setValue(QStringLiteral("gridLines"), ui_->actionGridLines->isChecked());
}

} // namespace qarn::painter
