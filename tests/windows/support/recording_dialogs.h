// The windows' Dialogs for widget tests: boxes, questions and file dialogs are
// recorded and answered from queues (an empty queue cancels), and leaving the
// process is recorded instead of done.
#pragma once

#include "qtsupport/dialogs.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

#include "tests/support/support.h"

namespace qarn_test {

class RecordingDialogs : public qarn::Dialogs {
public:
    QStringList boxes;         // "kind|parent|caption|text", as box() makes them
    QStringList questions;     // "caption|text" of questions and choices
    QStringList fileDialogs;   // "caption|start|filter"
    std::deque<QString> fileAnswers;
    std::deque<QMessageBox::StandardButton> questionAnswers;
    std::deque<int> choiceAnswers;
    std::deque<QColor> colourAnswers;
    std::deque<std::function<bool(QDialog&)>> dialogAnswers; // fill the dialog, say whether it was accepted
    QList<int> leaveStatuses;

    void message(QWidget* parent, qarn::MessageKind kind, const QString& caption, const QString& text) override
    {
        using qarn::MessageKind;
        const char* name = kind == MessageKind::Critical      ? "critical"
                           : kind == MessageKind::Warning     ? "warning"
                           : kind == MessageKind::Information ? "information"
                                                              : "about";
        boxes << QStringList{name, parent ? "parent" : "no parent", caption, text}.join('|');
    }
    QMessageBox::StandardButton question(QWidget*, const QString& caption, const QString& text,
                                         QMessageBox::StandardButtons, QMessageBox::StandardButton,
                                         const ButtonLabels&) override
    {
        questions << caption + "|" + text;
        return next(questionAnswers, QMessageBox::Cancel);
    }
    int choice(QWidget*, const QString& caption, const QString& label, const QStringList&, int) override
    {
        questions << caption + "|" + label;
        return next(choiceAnswers, -1);
    }
    QColor colour(QWidget*, const QString&, const QColor&) override { return next(colourAnswers, QColor()); }
    QString openFileName(QWidget*, const QString& caption, const QString& start, const QString& filter) override
    {
        fileDialogs << QStringList{caption, start, filter}.join('|');
        return next(fileAnswers, QString());
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& start, const QString& filter) override
    {
        fileDialogs << QStringList{caption, start, filter}.join('|');
        return next(fileAnswers, QString());
    }
    bool run(QDialog& dialog) override { return !dialogAnswers.empty() && next(dialogAnswers, {})(dialog); }
    void leave(int status) override { leaveStatuses << status; }

private:
    template <class T> static T next(std::deque<T>& answers, T none)
    {
        if (answers.empty())
            return none;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

// A box of the catalogue tests/messages.tsv as RecordingDialogs records it,
// its %1 and %2 filled when given.
inline QString box(const std::string& key, const QString& arg1 = {}, const QString& arg2 = {})
{
    static const std::map<std::string, CatalogueEntry> catalogue = messageCatalogue();
    const CatalogueEntry& e = catalogue.at(key);
    const QString text = QString::fromStdString(e.text);
    return QStringList{QString::fromStdString(e.kind), e.hasParent ? "parent" : "no parent",
                       QString::fromStdString(e.caption), arg1.isEmpty() ? text : text.arg(arg1, arg2)}
        .join('|');
}

} // namespace qarn_test
