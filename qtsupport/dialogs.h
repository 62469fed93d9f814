#pragma once

#include "common/user_message.h"

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace qarn {

// Every modal question a window puts to its user, and its way out of the
// process, behind one set of virtual functions: the windows call these alone,
// so a widget test installs its own Dialogs that records the boxes and answers
// the questions. This class is the real thing: the toolkit's boxes and
// dialogs. A null `parent` gives a box of its own. Nothing here fails; the
// answers say when the user cancelled.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The one shared real implementation (lives as long as the program).
    static Dialogs& real();

    // A box of `kind` with the single button Ok.
    virtual void message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text);
    // A warning question with `buttons`, some of them given other `labels`;
    // `preset` is pressed by Enter. Closing the box answers Cancel (or Escape's button).
    using ButtonLabels = QList<QPair<QMessageBox::StandardButton, QString>>;
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& caption, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton preset, const ButtonLabels& labels = {});
    // One of `items`, `current` chosen first; -1 when cancelled.
    virtual int choice(QWidget* parent, const QString& caption, const QString& label, const QStringList& items,
                       int current);
    // A colour; invalid when cancelled.
    virtual QColor colour(QWidget* parent, const QString& caption, const QColor& start);
    // A file to read or to write; empty when cancelled. `start` is a folder or
    // a file name to begin with. The save dialog does not ask about replacing:
    // the window asks for every file it will write (askBeforeWriting).
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter);
    // Runs a window's own dialog; true when it was accepted.
    virtual bool run(QDialog& dialog);
    // Ends the process at once with `status` (see leaveProcess): callers close their files first.
    virtual void leave(int status);
};

} // namespace qarn
