#include "qtsupport/dialogs.h"

#include "qtsupport/window_support.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPushButton>

namespace qarn {

Dialogs& Dialogs::real()
{
    static Dialogs dialogs;
    return dialogs;
}

void Dialogs::message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text)
{
    showMessageBox(parent, kind, caption, text);
}

QMessageBox::StandardButton Dialogs::question(QWidget* parent, const QString& caption, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton preset, const ButtonLabels& labels)
{
    QMessageBox box(QMessageBox::Warning, caption, text, buttons, parent);
    box.setDefaultButton(preset);
    for (const auto& [button, label] : labels)
        if (QAbstractButton* b = box.button(button))
            b->setText(label);
    box.exec();
    return box.standardButton(box.clickedButton());
}

int Dialogs::choice(QWidget* parent, const QString& caption, const QString& label, const QStringList& items,
                    int current)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, caption, label, items, current, false, &ok);
    return ok ? int(items.indexOf(chosen)) : -1;
}

QColor Dialogs::colour(QWidget* parent, const QString& caption, const QColor& start)
{
    return QColorDialog::getColor(start, parent, caption);
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter)
{
    QFileDialog dialog(parent, caption, QFileInfo(start).path(), filter);
    dialog.setObjectName(QStringLiteral("save file dialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool Dialogs::run(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

void Dialogs::leave(int status)
{
    leaveProcess(status);
}

} // namespace qarn
