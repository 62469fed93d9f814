#include "sizer/ui/splash.h"

#include <QCoreApplication>
#include <QPushButton>

#include "sizer/ui/mime_source_factory.h"

namespace qarn::sizer {

namespace {

const QColor SPLASH_RED(170, 0, 0);

void setBackground(QWidget* widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, SPLASH_RED);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Splash::Splash(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setObjectName(QString::fromLatin1(name ? name : "Splash"));
    setModal(modal);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(680, 370);
    setMaximumSize(680, 370);
    setBaseSize(680, 370);
    setBackground(this, QPalette::Window);
    const MimeSourceFactory_QarnSizer& pictures = MimeSourceFactory_QarnSizer::defaultFactory();
    setWindowIcon(pictures.pixmap(QStringLiteral("9pbnIcon.bmp")));

    SplashButton = new QPushButton(this);
    SplashButton->setObjectName(QStringLiteral("SplashButton"));
    SplashButton->setGeometry(-1, -1, 680, 380);
    // Flat, so the style draws no button shading in the rows the picture leaves.
    SplashButton->setFlat(true);
    setBackground(SplashButton, QPalette::Button);
    SplashButton->setIcon(pictures.pixmap(QStringLiteral("splash.bmp")));
    SplashButton->setIconSize(QSize(680, 370));

    languageChange();
    resize(QSize(680, 370).expandedTo(minimumSizeHint()));
    connect(SplashButton, &QPushButton::clicked, this, &Splash::SplashButton_clicked);
}

Splash::~Splash() = default;

void Splash::SplashButton_clicked()
{
    close();
}

void Splash::languageChange()
{
    setWindowTitle(QCoreApplication::translate("Splash", "Qarn Sizer"));
    SplashButton->setText(QString());
}

} // namespace qarn::sizer
