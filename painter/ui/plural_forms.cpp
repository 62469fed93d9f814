#include "plural_forms.h"

#include <QCoreApplication>
#include <QTranslator>

namespace qarn::painter {

void installPluralForms()
{
    auto* plurals = new QTranslator(QCoreApplication::instance());
    if (plurals->load(QStringLiteral(":/painter/i18n/qarnpainter_en.qm")))
        QCoreApplication::installTranslator(plurals);
    else
        delete plurals; // built without it: the source texts stand
}

} // namespace qarn::painter
