// The built-in pictures, the splash and where the window opens.
#include "mime_source_factory_qarnforge.h"
#include "splash.h"

#include "qtsupport/window_support.h"

#include <QPushButton>
#include <QTest>

class ImagesTest : public QObject {
    Q_OBJECT

private slots:
    void picturesResolveByName_data();
    void picturesResolveByName();
    void lookupIsExactAndDecodesOnce();
    void tableEndsWithANullEntry();
    void splashShowsThePictureAndClosesOnClick();
    void windowOpensCentredAboveTheMiddle_data();
    void windowOpensCentredAboveTheMiddle();
};

void ImagesTest::picturesResolveByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    QTest::newRow("fileopen") << "fileopen" << QSize(22, 22) << true;
    QTest::newRow("filesave") << "filesave" << QSize(22, 22) << true;
    QTest::newRow("smallico") << "smallico.bmp" << QSize(32, 32) << false;
    QTest::newRow("splash") << "QarnTD_final.bmp" << QSize(686, 377) << false;
}

void ImagesTest::picturesResolveByName()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);
    const QImage image = MimeSourceFactory_QarnForge::instance().data(name);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    QCOMPARE(image.depth(), 32);
    QCOMPARE(image.hasAlphaChannel(), alpha);
    if (alpha) {
        // The icon's corner is see-through, its middle is drawn.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(11, 12)), 255);
    }
    QCOMPARE(MimeSourceFactory_QarnForge::instance().pixmap(name).size(), size);
}

void ImagesTest::lookupIsExactAndDecodesOnce()
{
    auto& factory = MimeSourceFactory_QarnForge::instance();
    const int before = factory.decodeCount();
    const QImage first = factory.data("filesave");
    const int afterFirst = factory.decodeCount();
    QVERIFY(afterFirst <= before + 1);
    QCOMPARE(factory.data("filesave"), first);
    QCOMPARE(factory.data("filesave"), first);
    QCOMPARE(factory.decodeCount(), afterFirst);

    QVERIFY(factory.data("FileOpen").isNull());
    QVERIFY(factory.data("fileopen ").isNull());
    QVERIFY(factory.data("SMALLICO.BMP").isNull());
    QVERIFY(factory.data("").isNull());
    QVERIFY(factory.data(QString()).isNull());
    QVERIFY(factory.pixmap("nothing").isNull());
    QCOMPARE(factory.decodeCount(), afterFirst);
}

void ImagesTest::tableEndsWithANullEntry()
{
    int count = 0;
    for (const auto* e = MimeSourceFactory_QarnForge::instance().table(); e->name; ++e)
        ++count;
    QCOMPARE(count, 4);
}

void ImagesTest::splashShowsThePictureAndClosesOnClick()
{
    Splash splash;
    QCOMPARE(splash.objectName(), QString("Splash"));
    QCOMPARE(splash.windowTitle(), QString("Qarn Forge"));
    QCOMPARE(splash.size(), QSize(686, 377));
    QCOMPARE(splash.splashButton->geometry(), QRect(0, 0, 686, 377));
    QVERIFY(splash.splashButton->text().isEmpty());
    QVERIFY(!splash.splashButton->icon().isNull());
    QVERIFY(!splash.isModal());
    QCOMPARE(splash.palette().color(QPalette::Window), QColor(191, 0, 0));
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::mouseClick(splash.splashButton, Qt::LeftButton, {}, QPoint(600, 300));
    QVERIFY(!splash.isVisible());
}

void ImagesTest::windowOpensCentredAboveTheMiddle_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("1024x768") << QSize(1024, 768) << QPoint(137, 109);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QPoint(265, 237);
    QTest::newRow("800x600") << QSize(800, 600) << QPoint(25, 25);
    QTest::newRow("odd sizes") << QSize(1025, 769) << QPoint(137, 109);
}

void ImagesTest::windowOpensCentredAboveTheMiddle()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, topLeft);
    QCOMPARE(centredTopLeft(QSize(750, 500), screen), topLeft);
}

QTEST_MAIN(ImagesTest)
#include "images_test.moc"
