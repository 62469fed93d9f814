#include "painter_window.h"
#include "plural_forms.h"

#include <QApplication>

using namespace qarn;
using namespace qarn::painter;

// QarnPainter [MAP.bmp]: a picture named on the command line is opened in the
// colour set last chosen.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QarnPainter"));
    QApplication::setApplicationVersion(QStringLiteral(QARN_VERSION));
    installPluralForms();
    PainterWindow window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openPicture(arguments.at(1), window.rememberedColourSet());
    return app.exec();
}
