#pragma once

#include <QDialog>

class QPushButton;

namespace qarn::forge {

// The picture shown over the builder's window at start; a click anywhere on it
// closes it. Errors: none (a missing picture leaves the button blank). The
// button belongs to the dialog.
class Splash : public QDialog {
    Q_OBJECT

public:
    explicit Splash(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                    Qt::WindowFlags fl = Qt::WindowFlags());

    QPushButton* splashButton;

public slots:
    virtual void pushButton1_clicked();

protected slots:
    virtual void languageChange();
};

} // namespace qarn::forge
