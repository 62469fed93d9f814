#include "preview_view.h"

#include <QPainter>

namespace qarn::painter {

PreviewView::PreviewView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(100, 100);
}

void PreviewView::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void PreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (picture_.isNull())
        return;
    QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

} // namespace qarn::painter
