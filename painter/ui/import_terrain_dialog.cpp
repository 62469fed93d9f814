#include "import_terrain_dialog.h"

#include "ui_import_terrain_dialog.h"

#include "painter/model/map_terrain.h"

#include <QEvent>
#include "qtsupport/dialogs.h"
#include <QMenu>
#include <QPushButton>

namespace qarn::painter {

ImportTerrainDialog::ImportTerrainDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), ui_(std::make_unique<Ui::ImportTerrainDialog>())
{
    ui_->setupUi(this);
    connect(ui_->browseButton, &QPushButton::clicked, this, [this] {
        const QString path = askRasterFile();
        if (!path.isEmpty())
            setRasterPath(path);
    });
    connect(ui_->previewButton, &QPushButton::clicked, this, &ImportTerrainDialog::preview);
    // A new raster or area needs a new preview; the ladder and the sea only a new laddering.
    for (QCheckBox* box : {ui_->centreCheck, ui_->sizeCheck})
        connect(box, &QCheckBox::toggled, this, [this] {
            terrain_.reset();
            updateEnabled();
        });
    connect(ui_->rasterEdit, &QLineEdit::textEdited, this, [this] {
        terrain_.reset();
        updateEnabled();
    });
    for (QDoubleSpinBox* spin : {ui_->latSpin, ui_->lonSpin, ui_->widthSpin, ui_->heightSpin})
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] {
            terrain_.reset();
            updateEnabled();
        });
    connect(ui_->minSpin, &QSpinBox::valueChanged, this, &ImportTerrainDialog::reladder);
    connect(ui_->intervalSpin, &QSpinBox::valueChanged, this, &ImportTerrainDialog::reladder);
    connect(ui_->seaCheck, &QCheckBox::toggled, this, &ImportTerrainDialog::reladder);
    connect(ui_->seaSpin, &QDoubleSpinBox::valueChanged, this, &ImportTerrainDialog::reladder);
    updateEnabled();
}

ImportTerrainDialog::~ImportTerrainDialog() = default;

void ImportTerrainDialog::setRasterPath(const QString& path)
{
    ui_->rasterEdit->setText(path);
    terrain_.reset();
    updateEnabled();
}

QString ImportTerrainDialog::askRasterFile()
{
    return dialogs_.openFileName(this, tr("Elevation Raster"), QString(),
                                 tr("Elevation rasters (*.tif *.tiff *.hgt *.asc *.dem *.img);;All files (*)"));
}

void ImportTerrainDialog::preview()
{
    ImportRequest request;
    request.demPath = ui_->rasterEdit->text().toStdString();
    if (ui_->centreCheck->isChecked())
        request.centre = LatLon{ui_->latSpin->value(), ui_->lonSpin->value()};
    if (ui_->sizeCheck->isChecked()) {
        request.widthKm = ui_->widthSpin->value();
        request.heightKm = ui_->heightSpin->value();
    }
    ImportedTerrain terrain;
    std::string detail;
    const ImportResult result = importTerrain(request, terrain, detail);
    terrain_.reset();
    if (result != ImportResult::Ok) {
        // The core's words, as qarn import prints them.
        ui_->statusLabel->setText(tr(describe(result)) + QStringLiteral(": ") + QString::fromStdString(detail));
        ui_->preview->setPicture(QImage());
        updateEnabled();
        return;
    }
    terrain_ = std::move(terrain);
    laddering_ = true;
    ui_->minSpin->setValue(terrain_->ladder.minElevation);
    ui_->intervalSpin->setValue(terrain_->ladder.interval);
    laddering_ = false;
    reladder();
}

void ImportTerrainDialog::reladder()
{
    if (laddering_ || !terrain_) {
        updateEnabled();
        return;
    }
    terrain_->ladder = {minElevation(), contourInterval()};
    terrain_->ladderChosen = false;
    const std::optional<double> sea =
        ui_->seaCheck->isChecked() ? std::optional<double>(ui_->seaSpin->value()) : std::nullopt;
    terrain_->mapping = mapToRungs(terrain_->heights, terrain_->area.rows, terrain_->area.cols, terrain_->ladder, sea);
    const TerrainPreview shown = previewTerrain(importedMap(*terrain_), minElevation(), contourInterval());
    if (shown.result == ExtractResult::Ok)
        ui_->preview->setPicture(QImage(shown.image.rgb.data(), shown.image.width, shown.image.height,
                                        shown.image.width * 3, QImage::Format_RGB888)
                                     .copy());
    else
        ui_->preview->setPicture(QImage());
    ui_->statusLabel->setText(tr("%1 x %2 blocks%3; %4 clamped, %5 filled, %6 flat; rung heights %7 m RMS from the "
                                 "resampled heights")
                                  .arg(terrain_->area.cols)
                                  .arg(terrain_->area.rows)
                                  .arg(terrain_->area.cropped ? tr(" (cropped to the largest map)") : QString())
                                  .arg(terrain_->mapping.clamped)
                                  .arg(terrain_->filled)
                                  .arg(terrain_->mapping.flat)
                                  .arg(terrain_->mapping.rms, 0, 'f', 2));
    updateEnabled();
}

BlockMap ImportTerrainDialog::map() const
{
    return terrain_ ? importedMap(*terrain_) : BlockMap{};
}

std::int32_t ImportTerrainDialog::minElevation() const
{
    return ui_->minSpin->value();
}

std::int32_t ImportTerrainDialog::contourInterval() const
{
    return ui_->intervalSpin->value();
}

void ImportTerrainDialog::updateEnabled()
{
    ui_->latSpin->setEnabled(ui_->centreCheck->isChecked());
    ui_->lonSpin->setEnabled(ui_->centreCheck->isChecked());
    ui_->widthSpin->setEnabled(ui_->sizeCheck->isChecked());
    ui_->heightSpin->setEnabled(ui_->sizeCheck->isChecked());
    ui_->seaSpin->setEnabled(ui_->seaCheck->isChecked());
    ui_->previewButton->setEnabled(!ui_->rasterEdit->text().isEmpty());
    ui_->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(terrain_.has_value());
    if (!terrain_ && !ui_->preview->picture().isNull())
        ui_->preview->setPicture(QImage());
}

void ImportTerrainDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui_->retranslateUi(this);
    QDialog::changeEvent(event);
}

QAction* addImportTerrainAction(QWidget* window, QMenu* menu, QAction* before, std::function<Dialogs&()> dialogs,
                                std::function<void(BlockMap, std::int32_t, std::int32_t)> install)
{
    auto* action = new QAction(ImportTerrainDialog::tr("&Import Real Terrain..."), window);
    action->setObjectName(QStringLiteral("actionImportTerrain"));
    menu->insertAction(before, action);
    QObject::connect(action, &QAction::triggered, window, [window, dialogs, install] {
        ImportTerrainDialog dialog(dialogs(), window);
        if (dialogs().run(dialog))
            install(dialog.map(), dialog.minElevation(), dialog.contourInterval());
    });
    return action;
}

} // namespace qarn::painter
