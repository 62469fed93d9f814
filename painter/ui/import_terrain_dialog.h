#pragma once

#include "painter/model/block_map.h"
#include "terrain_import/terrain_import.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class ImportTerrainDialog;
}

class QMenu;
class QAction;

namespace qarn {

// File > Import Real Terrain...: the choices of qarn import (raster, centre,
// size, sea level), a preview of the relief the map will build to, and the
// minimum and interval suggested by the import and editable before the map is
// accepted. The raster is read on Preview; edits of the minimum, interval or
// sea level only re-ladder the heights read. The file dialog goes through a
// protected virtual function.
class ImportTerrainDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImportTerrainDialog(QWidget* parent = nullptr);
    ~ImportTerrainDialog() override;

    void setRasterPath(const QString& path);
    // The map to paint on, with its map data sizes; valid once accepted.
    BlockMap map() const;
    std::int32_t minElevation() const;
    std::int32_t contourInterval() const;

public slots:
    void preview();

protected:
    void changeEvent(QEvent* event) override;
    // The raster to import; empty when cancelled.
    virtual QString askRasterFile();

private:
    void reladder();
    void updateEnabled();

    std::unique_ptr<Ui::ImportTerrainDialog> ui_;
    std::optional<ImportedTerrain> terrain_;
    bool laddering_ = false; // the spin boxes are being set by the dialog, not the user
};

// The one hook a window needs: File > Import Real Terrain... placed in `menu`
// before `before`; on an accepted dialog `install` gets the map and the
// minimum and interval chosen.
QAction* addImportTerrainAction(QWidget* window, QMenu* menu, QAction* before,
                                std::function<void(BlockMap, std::int32_t, std::int32_t)> install);

} // namespace qarn
