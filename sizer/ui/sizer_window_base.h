#pragma once

#include <QMainWindow>

#include "ui_sizer_window_base.h"

namespace qarn::sizer {

// A text of the calculator's windows through Qt's translation lookup, in the
// form's context "SizerWindowBase".
QString formText(const char* text);

// The calculator's form as drawn in sizer_window_base.ui: every widget at its
// fixed place, the menus and actions, all texts set in languageChange(), and
// the signals wired to virtual slots that do nothing here (SizerWindow gives
// them their work). The widget pointers come from the form's Ui class.
// Widgets belong to the window; nothing here can fail.
class SizerWindowBase : public QMainWindow, public Ui::SizerWindowBase {
    Q_OBJECT

public:
    explicit SizerWindowBase(QWidget* parent = nullptr, const char* name = nullptr);
    ~SizerWindowBase() override;

public slots:
    virtual void fileExit();
    virtual void helpAbout();
    virtual void SysColourRB_clicked();
    virtual void UserColourRB_clicked();
    virtual void CalculateButton_clicked();

protected slots:
    virtual void languageChange();
};

} // namespace qarn::sizer
