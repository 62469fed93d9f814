#pragma once

#include "new_map_dialog.h"

#include "common/user_message.h"
#include "forge/extract/colour_height_set.h"
#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/map_terrain.h"
#include "painter/model/problem_list.h"
#include "qtsupport/dialogs.h"
#include "qtsupport/write_question.h"

#include <QFutureWatcher>
#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QActionGroup;
class QComboBox;
class QDockWidget;
class QLabel;
class QSpinBox;
class QUndoStack;

namespace qarn {
class TerrainViewPanel;
}

namespace Ui {
class PainterWindow;
}

namespace qarn::painter {

class BlockCanvas;
class PainterDocument;
class PreviewView;

// QarnPainter's main window: one map painted on the canvas, its palette and
// its relief preview, with the files it is read from and saved to. The map,
// its check and its terrain are the core model's work; the window shows them.
// Errors reach the user through message boxes; message boxes, file dialogs,
// the New Map and colour-set questions and the save question go through its
// Dialogs so a test can answer them. The map, its history and its file are
// the PainterDocument's, which the window owns and its views observe; widgets
// belong to the form.
class PainterWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PainterWindow(QWidget* parent = nullptr);
    ~PainterWindow() override;

    // Opens a picture painted in `colourSet`; false when it was refused (and said so).
    bool openPicture(const QString& path, ColourSet colourSet);
    // The colour set last chosen for a picture (from the settings at start).
    ColourSet rememberedColourSet() const { return rememberedSet_; }

    PainterDocument* document() const { return doc_; }
    const BlockMap& map() const { return map_; }
    bool hasMap() const { return map_.rows > 0 && map_.cols > 0; }
    QString picturePath() const;
    BlockCanvas* canvas() const;
    PreviewView* preview() const;
    // The 3D view beside the preview, following the same painted map.
    qarn::TerrainViewPanel* terrainView() const { return terrainView_; }
    QUndoStack* undoStack() const { return undoStack_; }
    // Whether a preview is being drawn in the background.
    bool previewRunning() const { return previewWatcher_.isRunning(); }

    // Where the boxes, questions and file dialogs go (the real ones until
    // another is set); the window does not own it.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    Dialogs& dialogs() const { return *dialogs_; }

public slots:
    void newMap();
    void open();
    bool save();
    bool saveAs();
    void buildGrid();
    void about();
    // Centres the view on the check's next (or previous) problem and shows its reason.
    void walkProblems(bool forward);
    // View > Reference Picture...: a picture through the file dialog, shown under the blocks.
    void chooseReference();
    // Shows the picture at `path` under the blocks; false when it cannot be read (and said so).
    bool openReference(const QString& path);

signals:
    // A new preview picture is shown (or the preview was cleared).
    void previewShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The colour set of a picture being opened; none when cancelled.
    std::optional<ColourSet> askColourSet(ColourSet preset);
    // The New Map dialog; none when cancelled.
    std::optional<NewMapEntries> askNewMap(const NewMapEntries& start);
    void showBox(MessageKind kind, const QString& caption, const QString& text);

    void installMap(BlockMap map, const QString& path, bool asOpened);
    void mapReplaced(); // shows the document's new map
    bool maybeSave();
    // Whether the map data file a save writes beside `path` may replace one there.
    WriteAnswer askAboutMapData(const QString& path);
    // Whether the first save over an opened picture may change more than the painted blocks.
    WriteAnswer askAboutRewrite();
    bool writePicture(const QString& path);
    void strokeEnded();
    void blocksChanged(const BlockEdit& edit); // by undo or redo
    void refreshHeights();
    void rebuildPalette();
    void selectColour(Rgb colour);
    void showHover(int row, int col);
    // The reference picture on the canvas (null: none) and its controls to match.
    void showReference(const QImage& picture);
    // Open for a picture named already (a recent file, a dropped one): the question about changes, the colour set.
    void openNamed(const QString& path);
    // The picture at `path` first in File > Open Recent, kept in the settings.
    void rememberRecent(const QString& path);
    void rebuildRecentMenu();
    QString problemText(const Problem& problem) const;
    void requestPreview();
    void previewFinished();
    void exportView();
    void startCheck(const QString& path, ColourSet colourSet);
    void checkFinished();
    void updateTitle();
    void showZoom(); // the canvas's zoom in the status bar
    void updateActions();
    void updateUndoTexts();
    void retranslate();
    void showUserMessage(const UserMessage& message);
    void loadSettings();
    void saveSettings() const;
    std::int32_t minElevation() const;
    std::int32_t contourInterval() const;

    std::unique_ptr<Ui::PainterWindow> ui_;
    Dialogs* dialogs_ = &Dialogs::real();
    PainterDocument* doc_;   // the map, its history and its file
    const BlockMap& map_;    // the document's
    QUndoStack* undoStack_;  // the document's
    QActionGroup* tools_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QSpinBox* sizeSpin_ = nullptr;
    QComboBox* shapeCombo_ = nullptr;
    QLabel* referenceOpacityLabel_ = nullptr;
    QSpinBox* referenceOpacity_ = nullptr; // percent
    QLabel* cursorLabel_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QDockWidget* viewDock_ = nullptr;
    qarn::TerrainViewPanel* terrainView_ = nullptr;

    ColourSet rememberedSet_ = ColourSet::System;
    QString lastFolder_;
    NewMapEntries lastNewMap_;
    MapHeights heights_;            // of the map at the current entries
    QPoint hover_{-1, -1};          // block under the mouse (x column, y row)

    ElevationGrid previewGrid_; // the background preview's grid, kept from one preview to the next
    QFutureWatcher<TerrainPreview> previewWatcher_;
    bool previewAgain_ = false; // the map or the entries changed while a preview was drawn

    struct CheckMarks {
        int generation = 0;
        std::vector<std::uint8_t> warnings;
        std::size_t errors = 0, warningCount = 0;
        ProblemList problems;
    };
    QPoint walkedTo_{-1, -1};
    QStringList recentFiles_;     // most recent first
    QMenu* recentMenu_ = nullptr;     // the block the problem walk last showed (x column, y row)
    QFutureWatcher<CheckMarks> checkWatcher_;
};

} // namespace qarn::painter
