// askBeforeWriting, the question every window asks before a save writes its
// files: which files it names, its texts, and what each answer means.
#include "qtsupport/write_question.h"

#include <QTest>

#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn_test;

class WriteQuestionTest : public QObject {
    Q_OBJECT

private slots:
    void asksOnceForTheFilesThere()
    {
        TempDir dir;
        const QString a = QString::fromStdString(dir.file("a.asc")), b = QString::fromStdString(dir.file("b.txt"));
        const QString readOnly = QString::fromStdString(dir.file("ro.bmp"));
        writeFile(dir.file("a.asc"), "a");
        writeFile(dir.file("b.txt"), "b");
        writeFile(dir.file("ro.bmp"), "r");
        fs::permissions(dir.file("ro.bmp"), fs::perms::owner_read | fs::perms::group_read);
        const QString one = "Save|<p>" + a + " already exists.</p><p>Do you want to replace it?</p>";
        const QString two = "Save|<p>These files already exist:</p><p>" + a + "<br>" + b +
                            "</p><p>Do you want to replace them?</p>";
        const QString refused = "Save|<p>" + readOnly + " is read-only, so it is not replaced.</p>"
                                                        "<p>Save under another name?</p>";
        const struct {
            QStringList paths;
            Replacing replacing;
            QMessageBox::StandardButton answer;
            QStringList questions;
            WriteAnswer expected;
        } cases[] = {
            {{a + ".new", b + ".new"}, Replacing::Ask, QMessageBox::Cancel, {}, WriteAnswer::Write},
            {{a, b + ".new"}, Replacing::Ask, QMessageBox::Yes, {one}, WriteAnswer::Write},
            {{a, b}, Replacing::Ask, QMessageBox::Retry, {two}, WriteAnswer::ChooseAnother},
            {{a, b}, Replacing::Ask, QMessageBox::Cancel, {two}, WriteAnswer::Cancel},
            {{a}, Replacing::Expected, QMessageBox::Cancel, {}, WriteAnswer::Write},
            {{a, readOnly}, Replacing::Expected, QMessageBox::Save, {refused}, WriteAnswer::ChooseAnother},
            {{readOnly}, Replacing::Ask, QMessageBox::Cancel, {refused}, WriteAnswer::Cancel},
        };
        for (const auto& c : cases) {
            RecordingDialogs seam;
            seam.questionAnswers = {c.answer};
            QCOMPARE(askBeforeWriting(seam, nullptr, "Save", c.paths, c.replacing), c.expected);
            QCOMPARE(seam.questions, c.questions);
        }
    }
};

QTEST_MAIN(WriteQuestionTest)
#include "write_question_test.moc"
