#pragma once

#include "new_map_dialog.h"

#include "common/user_message.h"
#include "forge/extract/colour_height_set.h"
#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/map_terrain.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class BlockCanvas;
class PreviewView;
class QActionGroup;
class QComboBox;
class QDockWidget;
class QLabel;
class QUndoStack;

namespace qarn {
class TerrainViewPanel;
}

namespace Ui {
class PainterWindow;
}

// QarnPainter's main window: one map painted on the canvas, its palette and
// its relief preview, with the files it is read from and saved to. The map,
// its check and its terrain are the core model's work; the window shows them.
// Errors reach the user through message boxes; message boxes, file dialogs,
// the New Map and colour-set questions and the save question go through
// protected virtual functions so a test can answer them. The window owns the
// map and the undo history; widgets belong to the form.
class PainterWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PainterWindow(QWidget* parent = nullptr);
    ~PainterWindow() override;

    // Opens a picture painted in `colourSet`; false when it was refused (and said so).
    bool openPicture(const QString& path, ColourSet colourSet);
    // The colour set last chosen for a picture (from the settings at start).
    ColourSet rememberedColourSet() const { return rememberedSet_; }

    const BlockMap& map() const { return map_; }
    bool hasMap() const { return map_.rows > 0 && map_.cols > 0; }
    QString picturePath() const { return path_; }
    BlockCanvas* canvas() const;
    PreviewView* preview() const;
    // The 3D view beside the preview, following the same painted map.
    qarn::TerrainViewPanel* terrainView() const { return terrainView_; }
    QUndoStack* undoStack() const { return undoStack_; }
    // Whether a preview is being drawn in the background.
    bool previewRunning() const { return previewWatcher_.isRunning(); }

public slots:
    void newMap();
    void open();
    bool save();
    bool saveAs();
    void buildGrid();
    void about();

signals:
    // A new preview picture is shown (or the preview was cleared).
    void previewShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

    // A modal box with the single button Ok.
    virtual void showBox(MessageKind kind, const QString& caption, const QString& text);
    // File dialogs; an empty answer means cancelled.
    virtual QString askOpenFileName(const QString& caption, const QString& folder, const QString& filter);
    virtual QString askSaveFileName(const QString& caption, const QString& start, const QString& filter);
    // The colour set of a picture being opened; none when cancelled.
    virtual std::optional<ColourSet> askColourSet(ColourSet preset);
    // The New Map dialog (its colour dialog included); none when cancelled.
    virtual std::optional<NewMapEntries> askNewMap(const NewMapEntries& start);
    // Save, Discard or Cancel before unsaved changes would be lost.
    virtual QMessageBox::StandardButton askSaveChanges();

private:
    friend class StrokeCommand;

    void installMap(BlockMap map, const QString& path);
    bool maybeSave();
    bool writePicture(const QString& path);
    void strokeEnded();
    void blocksChanged(const BlockEdit& edit); // by undo or redo
    void refreshHeights();
    void rebuildPalette();
    void selectColour(Rgb colour);
    void showHover(int row, int col);
    void requestPreview();
    void previewFinished();
    void exportView();
    void startCheck(const QString& path, ColourSet colourSet);
    void checkFinished();
    void updateTitle();
    void updateActions();
    void updateUndoTexts();
    void retranslate();
    void showUserMessage(const UserMessage& message);
    void loadSettings();
    void saveSettings() const;
    std::int32_t minElevation() const;
    std::int32_t contourInterval() const;

    std::unique_ptr<Ui::PainterWindow> ui_;
    QUndoStack* undoStack_ = nullptr;
    QActionGroup* tools_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QComboBox* sizeCombo_ = nullptr;
    QLabel* cursorLabel_ = nullptr;
    QDockWidget* viewDock_ = nullptr;
    qarn::TerrainViewPanel* terrainView_ = nullptr;

    BlockMap map_;
    QString path_;                  // the picture's file; empty until saved
    ColourSet rememberedSet_ = ColourSet::System;
    QString lastFolder_;
    NewMapEntries lastNewMap_;
    MapHeights heights_;            // of the map at the current entries
    std::vector<std::uint8_t> painted_; // blocks painted since the map was opened or made
    QPoint hover_{-1, -1};          // block under the mouse (x column, y row)

    QFutureWatcher<TerrainPreview> previewWatcher_;
    bool previewAgain_ = false; // the map or the entries changed while a preview was drawn

    struct CheckMarks {
        int generation = 0;
        std::vector<std::uint8_t> warnings;
        std::size_t errors = 0, warningCount = 0;
    };
    QFutureWatcher<CheckMarks> checkWatcher_;
    int mapGeneration_ = 0; // counts maps installed, so a late check of an earlier one is dropped
};
