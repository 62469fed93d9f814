#pragma once

#include "duvavaz_evedaz_form.h"

#include "common/map_data_file.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/build_pipeline.h"
#include "forge/extract/colour_height_set.h"
#include "forge/grid/elevation_grid.h"
#include "qtsupport/dialogs.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTimer;
class QUndoStack;

namespace qarn {
class TerrainViewPanel;
}

namespace qarn::forge {

class ReliefPreviewPage;

// The builder's main window: the state of one terrain build and the slots that
// lead the user from File > Open through "CONFIRM DATA" to "Build It" and the
// saves. The build and the files are the core's work; the window shows their
// outcome. Message boxes, file dialogs and the process exit go through its
// Dialogs, so a test can answer them.
// Errors: the slots tell the user through message boxes and the status bar;
// nothing is thrown. The window owns its state, the grid and the undo history
// of table edits; widgets belong to the form.
class DuvavazEvedaz : public DuvavazEvedazForm {
    Q_OBJECT

public:
    explicit DuvavazEvedaz(QWidget* parent = nullptr, const char* name = nullptr,
                           Qt::WindowFlags fl = Qt::WindowFlags());
    ~DuvavazEvedaz() override;

    // State of one build, in the order the window's work fills it.
    int buildOk = 1;                 // 1 while the last build succeeded so far, 0 once it failed
    QString mapDataPath;             // the picture's path, turned into the map data file's by a build
    QString proposedSaveName;        // start name of the Save As dialog
    QString bmpPath;                 // the loaded picture's path; empty means none loaded
    std::string bmpFilePath;         // the same path in the file system's 8-bit encoding
    std::string reportPath;          // build data report of the last Save As
    std::string ascPath;             // grid file chosen by the last Save As; Save rewrites it
    QString reportBase;              // the name chosen in the last Save As
    std::optional<ColourSet> colourSetChoice; // none until a radio button is pressed
    int minElevation = -99;          // as last converted by "CONFIRM DATA"
    int contourInterval = 0;         // as last converted by "CONFIRM DATA"
    ExtractResult extractionResult = ExtractResult::Ok; // of the last extraction
    int pixelRows = 0, blockRows = 0, pixelCols = 0, blockCols = 0;
    int colourHeightCount = 0;
    std::vector<int> colourHeights;  // the colour set's heights read back by the last build
    ElevationGrid grid;              // the grid of the last successful build
    int tableCols = 0, tableRows = 0;
    MapData mapData;                 // values of the map data file last read (zeros before any)
    int savedOnce = 0;               // 1 once Save has gone through Save As since the last Open
    int mapDataPresent = 1;          // 1 when the last build read the map data file

    // Whether "Build It" is on offer (the data have been confirmed).
    bool buildAvailable() const;

    // Save and Save As are offered only once a build has filled the table.
    void setSavingAvailable(bool available);

    // Table edits, undone and redone with Ctrl+Z / Ctrl+Shift+Z on the "Edit
    // Grids" page and from the table's context menu; a build clears them.
    QUndoStack* tableUndoStack() const { return undoStack_; }
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    // The "Preview" page after "Details": the last build as a shaded relief,
    // redrawn from the table's values (as Save would write them) after edits.
    ReliefPreviewPage* previewPage() const { return previewPage_; }
    // The "3D View" page after "Preview": the same values in perspective.
    qarn::TerrainViewPanel* viewPage() const { return viewPage_; }

    // Caption of the box for a grid file or report that could not be written.
    static QString saveFailedCaption();

    // Where the boxes, file dialogs and the exit go (the real ones until
    // another is set); the window does not own it.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    Dialogs& dialogs() const { return *dialogs_; }

    // The status bar's text as shown.
    QString statusLine() const;

public slots:
    void fileOpen() override;
    void fileSave() override;
    void fileSaveAs() override;
    void fileExit() override;
    void helpAbout() override;
    void ProcessPB_clicked() override;
    void ConfirmpushButton_clicked() override;
    void SystemColourRB_clicked() override;
    void UserColourRB_clicked() override;

protected:
    // A short confirmation in the status bar.
    void showStatus(const QString& text);
    // Every status bar text goes through here: shown whole, wrapped when it is
    // longer than the bar, and cleared after `millis` (0: until the next one).
    virtual void setStatusLine(const QString& text, int millis = 0);

private:
    void setBuildAvailable(bool available);
    void showMessage(const UserMessage& message);
    void showDetails();
    void takeBuildResults(BuildOutcome& built);
    void fillTable(std::vector<int> truncatedHeights);
    std::vector<int> tableValues() const; // the table's texts as Save reads them
    void copyTableIntoGrid();
    void refreshPreview();
    // After the colour error box: the first wrong block and the box's note in
    // the status bar, the wrong blocks outlined on the Preview page.
    void showColourErrors(const std::string& note);
    void refreshView();
    void heightsChanged(); // the table's heights changed: the preview and the 3D view follow
    void exportView();
    bool saveGridAndReportAs(); // Save As; true when both files were written
    void showSaveFailure(const std::string& error);
    void updateUndoActions();

    QLabel* statusLine_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    QUndoStack* undoStack_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    ReliefPreviewPage* previewPage_ = nullptr;
    Dialogs* dialogs_ = &Dialogs::real();
    bool previewStale_ = false;
    qarn::TerrainViewPanel* viewPage_ = nullptr;
    bool viewStale_ = false;
    bool previewMarked_ = false; // the Preview page shows the colour errors until a build succeeds
};

} // namespace qarn::forge
