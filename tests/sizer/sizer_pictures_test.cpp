#include <QPushButton>
#include <QTest>

#include "qtsupport/window_support.h"

#include "sizer/ui/mime_source_factory.h"
#include "sizer/ui/splash.h"

class SizerPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void builtInPictures_data();
    void builtInPictures();
    void eachPictureIsDecodedOnce();
    void splashIsOneClickablePicture();
    void mainWindowPlacement_data();
    void mainWindowPlacement();
};

void SizerPicturesTest::builtInPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("colourCount");
    QTest::newRow("window icon") << "window_icon.png" << QSize(45, 45) << 32 << 0;
    QTest::newRow("splash icon") << "9pbnIcon.bmp" << QSize(32, 32) << 8 << 256;
    QTest::newRow("splash") << "splash.bmp" << QSize(680, 370) << 32 << 0;
    QTest::newRow("case differs") << "Splash.bmp" << QSize() << 0 << 0;
    QTest::newRow("stored file name is not a name") << "splash.png" << QSize() << 0 << 0;
    QTest::newRow("unknown") << "logo.png" << QSize() << 0 << 0;
    QTest::newRow("empty") << "" << QSize() << 0 << 0;
}

void SizerPicturesTest::builtInPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, depth);
    QFETCH(int, colourCount);
    MimeSourceFactory_QarnSizer factory;
    const QImage image = factory.data(name);
    QCOMPARE(image.isNull(), !size.isValid());
    if (image.isNull())
        return;
    QCOMPARE(image.size(), size);
    QCOMPARE(image.depth(), depth);
    QCOMPARE(int(image.colorCount()), colourCount);
    QVERIFY(!image.hasAlphaChannel());
}

void SizerPicturesTest::eachPictureIsDecodedOnce()
{
    MimeSourceFactory_QarnSizer factory;
    QCOMPARE(factory.decodeCount(), 0);
    const QImage first = factory.data(QStringLiteral("splash.bmp"));
    QCOMPARE(factory.decodeCount(), 1);
    const QImage again = factory.data(QStringLiteral("splash.bmp"));
    QCOMPARE(factory.decodeCount(), 1);
    QCOMPARE(again.cacheKey(), first.cacheKey());
    factory.data(QStringLiteral("9pbnIcon.bmp"));
    factory.data(QStringLiteral("nothing.bmp"));
    QCOMPARE(factory.decodeCount(), 2);
}

void SizerPicturesTest::splashIsOneClickablePicture()
{
    Splash splash;
    QCOMPARE(splash.objectName(), QStringLiteral("Splash"));
    QCOMPARE(splash.windowTitle(), QStringLiteral("Qarn Sizer"));
    QCOMPARE(splash.size(), QSize(680, 370));
    QCOMPARE(splash.maximumSize(), QSize(680, 370));
    QVERIFY(!splash.isModal());
    QVERIFY(!splash.windowIcon().isNull());
    QCOMPARE(splash.palette().color(QPalette::Window), QColor(170, 0, 0));
    QCOMPARE(splash.SplashButton->geometry(), QRect(-1, -1, 680, 380));
    QVERIFY(splash.SplashButton->text().isEmpty());
    QVERIFY(!splash.SplashButton->icon().isNull());
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::mouseClick(splash.SplashButton, Qt::LeftButton, {}, QPoint(600, 300));
    QVERIFY(!splash.isVisible());
}

void SizerPicturesTest::mainWindowPlacement_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QSize(600, 500) << QPoint(340, 237);
    QTest::newRow("1366 x 768") << QSize(1366, 768) << QSize(600, 500) << QPoint(383, 109);
    QTest::newRow("odd sizes halve toward zero") << QSize(1001, 701) << QSize(601, 501) << QPoint(200, 75);
    QTest::newRow("screen smaller than window") << QSize(500, 400) << QSize(600, 500) << QPoint(-50, -75);
}

void SizerPicturesTest::mainWindowPlacement()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, topLeft);
    QCOMPARE(centredTopLeft(window, screen), topLeft);
}

QTEST_MAIN(SizerPicturesTest)
#include "sizer_pictures_test.moc"
