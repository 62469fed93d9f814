#pragma once

#include <QPoint>
#include <QSize>

// Where the builder's window opens: centred on the screen, 25 pixels above the
// middle, each half truncated on its own; the screen's origin is not added.
// Errors: none; a window larger than the screen gives negative coordinates.
inline QPoint centredTopLeft(QSize window, QSize screen)
{
    return QPoint(screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2 - 25);
}
