#include "opengl_probe.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace qarn {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("TerrainViewPanel", text);
}

} // namespace

QString openGlProblem()
{
    const QString platform = QGuiApplication::platformName();
    // These platforms draw into memory only; a view there would stay blank.
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return tr("the %1 platform has no OpenGL").arg(platform);
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create())
        return tr("no OpenGL driver could be started");
    const auto [major, minor] = context.format().version();
    if (major < 3 || (major == 3 && minor < 3))
        return tr("the OpenGL driver offers version %1.%2, and 3.3 is needed").arg(major).arg(minor);
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return tr("the OpenGL driver cannot draw");
    context.doneCurrent();
    return QString();
}

} // namespace qarn
