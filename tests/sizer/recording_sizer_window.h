#pragma once

#include <QList>
#include <QStatusBar>
#include <QStringList>

#include "sizer/ui/sizer_window.h"

// A SizerWindow whose message boxes and process end are recorded instead of
// shown, so tests can read every caption and text and keep running.
class RecordingSizerWindow : public SizerWindow {
public:
    struct Message {
        MessageKind kind;
        QString caption;
        QString text;
    };

    RecordingSizerWindow()
    {
        QObject::connect(statusBar(), &QStatusBar::messageChanged, statusBar(), [this](const QString& text) {
            if (!text.isEmpty())
                statusMessages.append(text);
        });
    }

    QList<Message> messages;
    QList<int> quitStatuses;
    QStringList statusMessages;

    using SizerWindow::calculation;
    using SizerWindow::colourSetChoice;
    using SizerWindow::heightMetres;
    using SizerWindow::heightTens;
    using SizerWindow::userPixelHeight;
    using SizerWindow::userPixelWidth;
    using SizerWindow::widthMetres;
    using SizerWindow::widthTens;

protected:
    void showMessage(MessageKind kind, const QString& caption, const QString& text) override
    {
        messages.append({kind, caption, text});
    }
    void quitProcess(int status) override { quitStatuses.append(status); }
};
