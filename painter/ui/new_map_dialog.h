#pragma once

#include "common/block_convention.h"
#include "forge/extract/colour_height_set.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class NewMapDialog;
}

namespace qarn::painter {

// What File > New Map asks for: the size as the calculator takes it (width and
// height in tens of metres, as typed or read from a map data file) and the
// colour set, with a user band's colours lowest height first.
struct NewMapEntries {
    std::string widthText;
    std::string heightText;
    ColourSet colourSet = ColourSet::System;
    std::vector<Rgb> band;
};

// The New Map dialog: collects the entries, the window checks them. A map data
// file that cannot be read is said in the dialog and changes no entry. The
// file and colour dialogs go through protected virtual functions.
class NewMapDialog : public QDialog {
    Q_OBJECT

public:
    explicit NewMapDialog(QWidget* parent = nullptr);
    ~NewMapDialog() override;

    void setEntries(const NewMapEntries& entries);
    NewMapEntries entries() const;

protected:
    void changeEvent(QEvent* event) override;
    // The map data file to read; empty when cancelled.
    virtual QString askMapDataFile();
    // A colour for the band; invalid when cancelled.
    virtual QColor askColour();

private:
    void readMapData();
    void addColour(Rgb colour);
    void moveColour(int by);
    void updateEnabled();

    std::unique_ptr<Ui::NewMapDialog> ui_;
};

} // namespace qarn::painter
