#pragma once

#include <QDialog>

class QPushButton;

namespace qarn::sizer {

// The start-up picture: one button covering the whole dialog; a click
// anywhere hides it. The dialog owns its button; nothing can fail.
class Splash : public QDialog {
    Q_OBJECT

public:
    explicit Splash(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                    Qt::WindowFlags flags = {});
    ~Splash() override;

    QPushButton* SplashButton;

public slots:
    virtual void SplashButton_clicked();

protected slots:
    virtual void languageChange();
};

} // namespace qarn::sizer
