#include "qtsupport/write_question.h"

#include "qtsupport/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace qarn {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("WriteQuestion", text);
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path).toHtmlEscaped();
}

} // namespace

WriteAnswer askBeforeWriting(Dialogs& dialogs, QWidget* parent, const QString& caption, const QStringList& paths,
                             Replacing replacing)
{
    QStringList existing;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!file.exists())
            continue;
        // The write bits as well: a privileged user may write anything, but a
        // file marked read-only is still not to be replaced.
        const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!file.isWritable() || !(file.permissions() & write)) {
            const QMessageBox::StandardButton answer = dialogs.question(
                parent, caption,
                tr("<p>%1 is read-only, so it is not replaced.</p><p>Save under another name?</p>").arg(shown(path)),
                QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save, {{QMessageBox::Save, tr("Save &As...")}});
            return answer == QMessageBox::Save ? WriteAnswer::ChooseAnother : WriteAnswer::Cancel;
        }
        existing << shown(path);
    }
    if (existing.isEmpty() || replacing == Replacing::Expected)
        return WriteAnswer::Write;
    const QString text =
        existing.size() == 1
            ? tr("<p>%1 already exists.</p><p>Do you want to replace it?</p>").arg(existing.front())
            : tr("<p>These files already exist:</p><p>%1</p><p>Do you want to replace them?</p>")
                  .arg(existing.join(QStringLiteral("<br>")));
    return askReplace(dialogs, parent, caption, text, tr("&Other Name..."));
}

QString askSaveName(Dialogs& dialogs, QWidget* parent, const QString& caption, const QString& start,
                    const QString& filter, const std::function<QStringList(const QString&)>& written)
{
    QString name = start;
    for (WriteAnswer answer = WriteAnswer::ChooseAnother; answer != WriteAnswer::Write;) {
        name = dialogs.saveFileName(parent, caption, name, filter);
        if (name.isEmpty())
            return {};
        answer = askBeforeWriting(dialogs, parent, caption, written ? written(name) : QStringList{name});
        if (answer == WriteAnswer::Cancel)
            return {};
    }
    return name;
}

WriteAnswer askReplace(Dialogs& dialogs, QWidget* parent, const QString& caption, const QString& text,
                       const QString& otherLabel)
{
    switch (dialogs.question(parent, caption, text, QMessageBox::Yes | QMessageBox::Retry | QMessageBox::Cancel,
                             QMessageBox::Retry, {{QMessageBox::Yes, tr("&Replace")}, {QMessageBox::Retry, otherLabel}})) {
    case QMessageBox::Yes:
        return WriteAnswer::Write;
    case QMessageBox::Retry:
        return WriteAnswer::ChooseAnother;
    default:
        return WriteAnswer::Cancel;
    }
}

} // namespace qarn
