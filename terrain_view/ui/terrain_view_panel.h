#pragma once

#include "terrain_view/mesh/terrain_heights.h"
#include "terrain_view/mesh/terrain_mesh.h"

#include <QFutureWatcher>
#include <QImage>
#include <QWidget>

#include <memory>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qarn {

class TerrainGlView;

// The 3D view with its controls: sun azimuth and elevation, vertical
// exaggeration, Reset view, Top view and Export PNG. The mesh is built off
// the GUI thread; heights arriving while one is built wait for it, only the
// latest kept. Where OpenGL cannot start the panel says so in words instead.
// Export asks no question itself: it tells the window (exportRequested),
// which asks for the file through its own dialogs and calls exportPng.
// Errors: a mesh that cannot be built, and a failed export, come back in
// words. The panel owns its widgets and the meshes it built.
class TerrainViewPanel : public QWidget {
    Q_OBJECT

public:
    explicit TerrainViewPanel(QWidget* parent = nullptr);
    ~TerrainViewPanel() override;

    // Shows these heights, cells `cellSize` metres apart, once their mesh is built.
    void showTerrain(TerrainHeights terrain, double cellSize);
    void clear();

    // The OpenGL view; null when OpenGL could not start.
    TerrainGlView* view() const { return view_; }
    // The words shown instead of the view (empty while the view draws).
    QString fallbackText() const;
    bool building() const { return watcher_.isRunning(); }
    // The picture the view shows now (empty without OpenGL).
    QImage picture();
    // Writes that picture as PNG (atomically); false with the reason in `error`.
    bool exportPng(const QString& path, QString& error);

signals:
    void exportRequested();
    // A new mesh has reached the screen.
    void terrainShown();

protected:
    void changeEvent(QEvent* event) override;

private:
    void startBuild();
    void buildFinished();
    void showFallback(const QString& reason);
    void applyControls();
    void retranslate();

    TerrainGlView* view_ = nullptr;
    QLabel* fallback_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* azimuthLabel_ = nullptr;
    QLabel* elevationLabel_ = nullptr;
    QLabel* exaggerationLabel_ = nullptr;
    QSpinBox* azimuth_ = nullptr;
    QSpinBox* elevation_ = nullptr;
    QDoubleSpinBox* exaggeration_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* topButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QString fallbackReason_;

    QFutureWatcher<std::shared_ptr<const TerrainMesh>> watcher_;
    std::unique_ptr<TerrainHeights> waiting_; // the latest heights that came during a build
    double waitingCellSize_ = 0.0;
    bool cleared_ = false;
};

} // namespace qarn
