#include "qtsupport/colours.h"

#include <QPainter>
#include <QPixmap>

namespace qarn {

QIcon swatch(Rgb c, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(toQColor(c));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, side - 1, side - 1);
    painter.end();
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

} // namespace qarn
