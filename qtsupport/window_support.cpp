#include "qtsupport/window_support.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace qarn {

QFont formFont(QFont base, int pixelSize)
{
    base.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    base.setPixelSize(pixelSize);
    return base;
}

void showMessageBox(QWidget* parent, MessageKind kind, const QString& caption, const QString& text)
{
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(parent, caption, text, QMessageBox::Ok);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
        break;
    case MessageKind::Critical:
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
        break;
    case MessageKind::About:
        QMessageBox::about(parent, caption, text);
        break;
    }
}

void leaveProcess(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace qarn
