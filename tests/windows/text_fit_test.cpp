// Every label's and button's text fits its box with the fonts the set-up
// installs, and every tab page wears its tab widget's background. Built once
// per form: QARN_FORGE_FORM picks the builder's form, else the calculator's.
#ifdef QARN_FORGE_FORM
#include "duvavaz_evedaz_form.h"
using Form = qarn::forge::DuvavazEvedazForm;
#else
#include "sizer/ui/sizer_window_base.h"
using Form = qarn::sizer::SizerWindowBase;
#endif

#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

namespace {

bool fits(const QLabel* label)
{
    // Frame, margin and indent included; a wrapped text needs its longest word
    // on one line and all its lines within the height.
    const QSize need = label->wordWrap()
                           ? QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()))
                           : label->sizeHint();
    return need.width() <= label->width() && need.height() <= label->height();
}

bool fits(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents =
        qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents;
    const QRect box = button->style()->subElementRect(contents, &option, button);
    const QSize need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return need.width() <= box.width() && need.height() <= box.height();
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyTextFitsItsBox()
    {
        Form form;
        QStringList cut;
        for (const QLabel* label : form.findChildren<QLabel*>())
            if (!label->text().isEmpty() && !fits(label))
                cut << label->objectName();
        for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
            if (!button->text().isEmpty() && !fits(button))
                cut << button->objectName();
        QVERIFY2(cut.isEmpty(), qPrintable("cut: " + cut.join(", ")));
    }

    void tabPagesWearTheTabWidgetsBackground()
    {
        Form form;
        for (const QTabWidget* tabs : form.findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i) {
                QVERIFY2(tabs->widget(i)->autoFillBackground(), qPrintable(tabs->widget(i)->objectName()));
                QCOMPARE(tabs->widget(i)->palette().color(QPalette::Window), tabs->palette().color(QPalette::Window));
            }
    }
};

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
