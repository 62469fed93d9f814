#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "common/user_message.h"
#include "qtsupport/dialogs.h"
#include "sizer/map_size_calculation.h"
#include "sizer/run_details_report.h"
#include "sizer/ui/sizer_window_base.h"

namespace qarn::sizer {

// The calculator's main window: the state of one run and the five slots.
// Problems with the entries and with the exit files are told to the user in
// message boxes; nothing is thrown. Message boxes and the end of the process
// go through its Dialogs, which tests replace.
class SizerWindow : public SizerWindowBase {
    Q_OBJECT

public:
    explicit SizerWindow(QWidget* parent = nullptr, const char* name = nullptr);
    ~SizerWindow() override;

    // What the exit would write now.
    const RunDetails& runDetails() const { return details; }

    // Where the boxes and the exit go (the real ones until another is set);
    // the window does not own it.
    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    Dialogs& dialogs() const { return *dialogs_; }

public slots:
    void fileExit() override;
    void helpAbout() override;
    void SysColourRB_clicked() override;
    void UserColourRB_clicked() override;
    void CalculateButton_clicked() override;

protected:
    // A modal box with one OK button: critical boxes have no parent window,
    // the others sit on this window.
    void showMessage(MessageKind kind, const QString& caption, const QString& text);

    Dialogs* dialogs_ = &Dialogs::real();
    std::optional<ColourSet> colourSetChoice; // none until a radio button is pressed
    // The entries of the last press, kept even when the press was rejected,
    // and the results of the last accepted one.
    RunDetails details;
    QString lastHeightText;
    QString lastWidthText;
};

} // namespace qarn::sizer
