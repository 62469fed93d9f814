#include "duvavaz_evedaz.h"
#include "splash.h"

#include "qtsupport/window_support.h"

#include <QApplication>
#include <QScreen>

using namespace qarn;
using namespace qarn::forge;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Splash splash(nullptr, nullptr, false);
    DuvavazEvedaz window;

    const int w = window.width();
    const int h = window.height();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    window.resize(w, h);
    window.move(centredTopLeft(QSize(w, h), screen));

    window.show();
    splash.show();

    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    return app.exec();
}
