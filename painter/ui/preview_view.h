#pragma once

#include <QImage>
#include <QWidget>

namespace qarn::painter {

// The relief preview, scaled to fit the widget with its aspect kept. Plain
// widget: it owns a copy of the picture; a null picture shows an empty area.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    QSize sizeHint() const override { return {300, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace qarn::painter
