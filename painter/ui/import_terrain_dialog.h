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
class Dialogs;
}

namespace qarn::painter {

// File > Import Real Terrain...: the choices of qarn import (raster, centre,
// size, sea level), a preview of the relief the map will build to, and the
// minimum and interval suggested by the import and editable before the map is
// accepted. The raster is read on Preview; edits of the minimum, interval or
// sea level only re-ladder the heights read. The file dialog goes through
// the window's Dialogs.
class ImportTerrainDialog : public QDialog {
    Q_OBJECT

public:
    ImportTerrainDialog(Dialogs& dialogs, QWidget* parent = nullptr);
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

private:
    void reladder();
    void updateEnabled();

    // The raster to import; empty when cancelled.
    QString askRasterFile();

    Dialogs& dialogs_;
    std::unique_ptr<Ui::ImportTerrainDialog> ui_;
    std::optional<ImportedTerrain> terrain_;
    bool laddering_ = false; // the spin boxes are being set by the dialog, not the user
};

// The one hook a window needs: File > Import Real Terrain... placed in `menu`
// before `before`; the dialog runs through the window's current Dialogs, and
// on an accepted one `install` gets the map and the minimum and interval chosen.
QAction* addImportTerrainAction(QWidget* window, QMenu* menu, QAction* before, std::function<Dialogs&()> dialogs,
                                std::function<void(BlockMap, std::int32_t, std::int32_t)> install);

} // namespace qarn::painter
