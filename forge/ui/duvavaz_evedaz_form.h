#pragma once

#include "ui_duvavaz_evedaz_form.h"

#include <QMainWindow>

namespace qarn::forge {

class HeightTableModel;

// The builder's window as drawn in duvavaz_evedaz_form.ui: every widget at a
// fixed place, the texts set in languageChange(), the actions and buttons wired
// to virtual slots that do nothing here; DuvavazEvedaz gives the slots their
// work. The widget pointers come from the form's Ui class.
// Errors: none; the widgets belong to their parents, the actions and the table
// model to the window.
class DuvavazEvedazForm : public QMainWindow, public Ui::DuvavazEvedazForm {
    Q_OBJECT

public:
    explicit DuvavazEvedazForm(QWidget* parent = nullptr, const char* name = nullptr,
                               Qt::WindowFlags fl = Qt::WindowFlags());

    HeightTableModel* TableResultsModel;

    // Fits every column of the results table to its widest text.
    void fitTableColumns();

public slots:
    virtual void fileOpen();
    virtual void fileSave();
    virtual void fileSaveAs();
    virtual void fileExit();
    virtual void helpAbout();
    virtual void ProcessPB_clicked();
    virtual void ConfirmpushButton_clicked();
    virtual void SystemColourRB_clicked();
    virtual void UserColourRB_clicked();

protected slots:
    virtual void languageChange();
};

} // namespace qarn::forge
