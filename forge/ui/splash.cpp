#include "splash.h"

#include "mime_source_factory_qarnforge.h"

#include <QCoreApplication>
#include <QPalette>
#include <QPushButton>

namespace qarn::forge {

namespace {
const int kWidth = 686;
const int kHeight = 377;
}

Splash::Splash(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    setObjectName(QString::fromLatin1(name ? name : "Splash"));
    setModal(modal);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumSize(kWidth, kHeight);
    setBaseSize(kWidth, kHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(191, 0, 0));
    setPalette(pal);
    setAutoFillBackground(true);
    setWindowIcon(QIcon(MimeSourceFactory_QarnForge::instance().pixmap(QStringLiteral("smallico.bmp"))));

    splashButton = new QPushButton(this);
    splashButton->setObjectName(QStringLiteral("splashButton"));
    splashButton->setGeometry(0, 0, kWidth, kHeight);
    splashButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    splashButton->setMinimumSize(kWidth, kHeight);
    splashButton->setMaximumSize(kWidth, kHeight);
    // The picture is the whole button: no bevel, no margins around it.
    splashButton->setFlat(true);
    splashButton->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0px; margin: 0px; }"));
    splashButton->setIcon(QIcon(MimeSourceFactory_QarnForge::instance().pixmap(QStringLiteral("QarnTD_final.bmp"))));
    splashButton->setIconSize(QSize(kWidth, kHeight));

    languageChange();
    resize(QSize(kWidth, kHeight).expandedTo(minimumSizeHint()));

    connect(splashButton, &QPushButton::clicked, this, &Splash::pushButton1_clicked);
}

void Splash::pushButton1_clicked()
{
    close();
}

void Splash::languageChange()
{
    setWindowTitle(QCoreApplication::translate("Splash", "Qarn Forge"));
    splashButton->setText(QString());
}

} // namespace qarn::forge
