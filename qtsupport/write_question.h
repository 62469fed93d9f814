#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace qarn {

class Dialogs;

// What the user said before files were written.
enum class WriteAnswer { Write, ChooseAnother, Cancel };

// Whether the files a save will really write may be written, asked once,
// before anything is: a file there that is read-only is refused with a box
// offering another name (Save As); the others that exist are named together
// in one question (Replace, another name, Cancel) unless `replacing` says the
// user is saving over them on purpose (File > Save). Files not there yet pass
// without a word. Nothing is written here.
enum class Replacing { Ask, Expected };
WriteAnswer askBeforeWriting(Dialogs& dialogs, QWidget* parent, const QString& caption, const QStringList& paths,
                             Replacing replacing = Replacing::Ask);

// Asks for a name to save under (the save dialog starting at `start`) until
// the files that name will really write may be written, as askBeforeWriting
// asks: `written` gives those files for a chosen name (by default the name
// itself). Empty when the user cancels either question.
QString askSaveName(Dialogs& dialogs, QWidget* parent, const QString& caption, const QString& start,
                    const QString& filter, const std::function<QStringList(const QString&)>& written = {});

// The question behind it, for a replacement the window words itself: `text`
// with "&Replace", `otherLabel` (another name or folder, the default) and Cancel.
WriteAnswer askReplace(Dialogs& dialogs, QWidget* parent, const QString& caption, const QString& text,
                       const QString& otherLabel);

} // namespace qarn
