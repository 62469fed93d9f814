#pragma once

#include <QPoint>
#include <QSize>

// Where the main window's top-left corner goes: centred across the screen and
// 25 pixels above its middle, each half rounded toward zero. Pure; no failures.
inline QPoint centredWindowPosition(const QSize& screen, const QSize& window)
{
    return {screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2 - 25};
}
