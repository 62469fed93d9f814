#pragma once

#include "common/user_message.h"

#include <QFont>
#include <QPoint>
#include <QSize>

class QString;
class QWidget;

namespace qarn {

// Placement, message boxes and the way out that both windows share. Nothing
// here fails or keeps anything; the boxes are modal and gone once answered.

// Where a main window's top-left corner goes: centred across the screen and 25
// pixels above its middle, each half truncated on its own; the screen's origin
// is not added, and a window larger than the screen gets negative coordinates.
inline QPoint centredTopLeft(QSize window, QSize screen)
{
    return {screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2 - 25};
}

// The face both forms were drawn for, Arial, or Liberation Sans, which has its
// metrics and which the set-up installs, at `pixelSize` pixels: the forms place
// every widget in pixels, so their text is sized in pixels too. Other
// attributes come from `base`.
QFont formFont(QFont base, int pixelSize);

// The toolkit's modal box of that kind with the single button Ok, over `parent`
// (null: a box of its own).
void showMessageBox(QWidget* parent, MessageKind kind, const QString& caption, const QString& text);

// Ends the process at once with `status`. The C streams are flushed, but no
// static destructor runs: those would tear Qt down under the live application
// and the slot that called this. Callers close their files first.
[[noreturn]] void leaveProcess(int status);

} // namespace qarn
