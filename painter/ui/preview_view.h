#pragma once

#include <QImage>
#include <QWidget>

namespace qarn::painter {

// The relief preview, scaled to fit the widget with its aspect kept, and an
// overview of the map: the part the canvas shows outlined over it, and a click
// or drag on it asks for the view to be centred there. Plain widget: it owns a
// copy of the picture; a null picture shows an empty area and takes no clicks.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // The part of the map in view, as parts of its width and height (0 to 1 from its top-left corner); an
    // empty or whole area is not outlined.
    void setViewArea(const QRectF& area);
    const QRectF& viewArea() const { return area_; }
    // Where the picture is drawn in the widget.
    QRect pictureRect() const;

    QSize sizeHint() const override { return {300, 300}; }

signals:
    // The point of the map clicked or dragged over, as parts of its width and height.
    void pointChosen(QPointF part);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void choose(QPointF pos);

    QImage picture_;
    QRectF area_;
};

} // namespace qarn::painter
