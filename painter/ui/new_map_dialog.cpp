#include "new_map_dialog.h"

#include "ui_new_map_dialog.h"

#include "common/map_data_file.h"
#include "qtsupport/colours.h"
#include "qtsupport/file_names.h"

#include <QFileInfo>

namespace qarn::painter {

NewMapDialog::NewMapDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), ui_(std::make_unique<Ui::NewMapDialog>())
{
    ui_->setupUi(this);
    connect(ui_->browseButton, &QPushButton::clicked, this, &NewMapDialog::readMapData);
    connect(ui_->fromFileRadio, &QRadioButton::toggled, this, &NewMapDialog::updateEnabled);
    connect(ui_->userRadio, &QRadioButton::toggled, this, &NewMapDialog::updateEnabled);
    connect(ui_->bandList, &QListWidget::currentRowChanged, this, &NewMapDialog::updateEnabled);
    connect(ui_->addButton, &QPushButton::clicked, this, [this] {
        // A grey to start from: white, the picker's usual start, is reserved.
        const QColor colour = dialogs_.colour(this, tr("Band Colour"), QColor(128, 128, 128));
        if (!colour.isValid())
            return;
        // Two rungs cannot share a colour: refused as it is picked, not when the map is made.
        const Rgb rgb = toRgb(colour);
        for (int i = 0; i < ui_->bandList->count(); ++i)
            if (toRgb(ui_->bandList->item(i)->data(Qt::UserRole).value<QColor>()) == rgb) {
                dialogs_.message(this, MessageKind::Warning, tr("Band Colour"),
                                 tr("%1 is colour %2 of the band already; each rung needs a colour of its own.")
                                     .arg(hexName(rgb))
                                     .arg(i + 1));
                return;
            }
        addColour(rgb);
    });
    connect(ui_->removeButton, &QPushButton::clicked, this, [this] {
        delete ui_->bandList->takeItem(ui_->bandList->currentRow());
        updateEnabled();
    });
    connect(ui_->upButton, &QPushButton::clicked, this, [this] { moveColour(-1); });
    connect(ui_->downButton, &QPushButton::clicked, this, [this] { moveColour(1); });
    updateEnabled();
    ui_->widthEdit->setFocus();
}

NewMapDialog::~NewMapDialog() = default;

void NewMapDialog::setEntries(const NewMapEntries& entries)
{
    ui_->widthEdit->setText(QString::fromStdString(entries.widthText));
    ui_->heightEdit->setText(QString::fromStdString(entries.heightText));
    (entries.colourSet == ColourSet::User ? ui_->userRadio : ui_->systemRadio)->setChecked(true);
    ui_->bandList->clear();
    for (const Rgb& colour : entries.band)
        addColour(colour);
    updateEnabled();
}

NewMapEntries NewMapDialog::entries() const
{
    NewMapEntries e;
    e.widthText = ui_->widthEdit->text().toStdString();
    e.heightText = ui_->heightEdit->text().toStdString();
    e.colourSet = ui_->userRadio->isChecked() ? ColourSet::User : ColourSet::System;
    if (e.colourSet == ColourSet::User)
        for (int i = 0; i < ui_->bandList->count(); ++i) {
            e.band.push_back(toRgb(ui_->bandList->item(i)->data(Qt::UserRole).value<QColor>()));
        }
    return e;
}

void NewMapDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui_->retranslateUi(this);
    QDialog::changeEvent(event);
}

void NewMapDialog::readMapData()
{
    const QString path = dialogs_.openFileName(this, tr("Map Data File"), QString(),
                                               tr("Map data files (*.xdt);;All files (*)"));
    if (path.isEmpty())
        return;
    MapData data;
    const FileResult result = readMapDataFile(toFileName(path), data);
    if (result != FileResult::Ok) {
        ui_->mapDataProblem->setText(tr("%1: %2").arg(path, QString::fromUtf8(describe(result))));
        return;
    }
    // The calculator writes exactly 16 bytes; a longer file is something else
    // whose first bytes would give nonsense sizes.
    if (const qint64 size = QFileInfo(path).size(); size != 16) {
        ui_->mapDataProblem->setText(
            tr("%1: not a map data file (%2 bytes; a map data file has 16)").arg(path).arg(size));
        return;
    }
    ui_->mapDataProblem->clear();
    ui_->mapDataEdit->setText(path);
    ui_->widthEdit->setText(QString::number(data.widthTens));
    ui_->heightEdit->setText(QString::number(data.heightTens));
}

void NewMapDialog::addColour(Rgb colour)
{
    auto* item = new QListWidgetItem(swatch(colour, 20), hexName(colour), ui_->bandList);
    item->setData(Qt::UserRole, toQColor(colour));
    ui_->bandList->setCurrentItem(item);
    updateEnabled();
}

void NewMapDialog::moveColour(int by)
{
    const int row = ui_->bandList->currentRow();
    if (row < 0 || row + by < 0 || row + by >= ui_->bandList->count())
        return;
    QListWidgetItem* item = ui_->bandList->takeItem(row);
    ui_->bandList->insertItem(row + by, item);
    ui_->bandList->setCurrentRow(row + by);
}

void NewMapDialog::updateEnabled()
{
    const bool fromFile = ui_->fromFileRadio->isChecked();
    ui_->mapDataEdit->setEnabled(fromFile);
    ui_->browseButton->setEnabled(fromFile);
    ui_->widthEdit->setReadOnly(fromFile);
    ui_->heightEdit->setReadOnly(fromFile);
    const bool user = ui_->userRadio->isChecked();
    ui_->bandGroup->setEnabled(user);
    const int row = ui_->bandList->currentRow();
    ui_->removeButton->setEnabled(row >= 0);
    ui_->upButton->setEnabled(row > 0);
    ui_->downButton->setEnabled(row >= 0 && row + 1 < ui_->bandList->count());
}

} // namespace qarn::painter
