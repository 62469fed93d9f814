#pragma once

#include "common/block_convention.h"
#include "forge/extract/colour_height_set.h"
#include "qtsupport/dialogs.h"

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
// file and colour dialogs go through the window's Dialogs.
class NewMapDialog : public QDialog {
    Q_OBJECT

public:
    explicit NewMapDialog(Dialogs& dialogs, QWidget* parent = nullptr);
    ~NewMapDialog() override;

    void setEntries(const NewMapEntries& entries);
    NewMapEntries entries() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void readMapData();
    void addColour(Rgb colour);
    void moveColour(int by);
    void updateEnabled();

    Dialogs& dialogs_;
    std::unique_ptr<Ui::NewMapDialog> ui_;
};

} // namespace qarn::painter
