// QarnSizer: works out how large the picture of a planned terrain map must be.
#include <QApplication>
#include <QScreen>

#include "qtsupport/window_support.h"
#include "sizer/ui/mime_source_factory.h"
#include "sizer/ui/sizer_window.h"
#include "sizer/ui/splash.h"

using namespace qarn;
using namespace qarn::sizer;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QarnSizer"));
    QApplication::setApplicationVersion(QStringLiteral(QARN_VERSION));
    MimeSourceFactory_QarnSizer::defaultFactory();

    Splash splash;
    SizerWindow window;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    window.move(centredTopLeft(window.size(), screen));
    window.show();
    splash.show();

    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    return app.exec();
}
