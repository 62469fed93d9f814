#include "preview_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace qarn::painter {

PreviewView::PreviewView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(100, 100);
    setCursor(Qt::PointingHandCursor);
}

void PreviewView::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void PreviewView::setViewArea(const QRectF& area)
{
    if (area == area_)
        return;
    area_ = area;
    update();
}

QRect PreviewView::pictureRect() const
{
    if (picture_.isNull())
        return {};
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    return {QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

void PreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (picture_.isNull())
        return;
    const QRect target = pictureRect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
    if (area_.isEmpty() || area_.contains(QRectF(0, 0, 1, 1)))
        return; // the whole map is in view
    // The view's part, in white over black so it shows on any relief, at least a few pixels across.
    QRectF box(target.left() + area_.left() * target.width(), target.top() + area_.top() * target.height(),
               area_.width() * target.width(), area_.height() * target.height());
    box = box.adjusted(0, 0, std::max(0.0, 4 - box.width()), std::max(0.0, 4 - box.height()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(box);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(box);
}

void PreviewView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        choose(event->position());
    event->accept();
}

void PreviewView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        choose(event->position());
    event->accept();
}

void PreviewView::choose(QPointF pos)
{
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    // Kept on the map, so a drag past the picture's edge still moves the view to that edge.
    emit pointChosen({std::clamp((pos.x() - target.left()) / target.width(), 0.0, 1.0),
                      std::clamp((pos.y() - target.top()) / target.height(), 0.0, 1.0)});
}

} // namespace qarn::painter
