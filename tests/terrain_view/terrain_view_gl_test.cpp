// The 3D view drawn by Mesa's software OpenGL in an X server without a screen,
// checked by what a person would see in the picture.
#include "terrain_view/ui/terrain_gl_view.h"
#include "terrain_view/ui/terrain_view_panel.h"

#include "common/block_convention.h"
#include "forge/extract/build_pipeline.h"
#include "forge/output/relief_preview.h"

#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace qarn;

namespace {

constexpr QRgb SKY = qRgb(204, 214, 227);
const QRgb WATER = qRgb(62, 120, 196);

// A cone 2000 m tall on a 101 x 101 square, its top on the middle cell.
TerrainHeights cone()
{
    TerrainHeights t{101, 101, {}, {}, {}};
    for (int r = 0; r < 101; ++r)
        for (int c = 0; c < 101; ++c)
            t.heights.push_back(static_cast<float>(std::max(0.0, 2000.0 * (1.0 - std::hypot(r - 50, c - 50) / 50.0))));
    return t;
}

double luminance(QRgb p)
{
    return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p);
}

bool isSky(QRgb p)
{
    return std::abs(qRed(p) - qRed(SKY)) + std::abs(qGreen(p) - qGreen(SKY)) + std::abs(qBlue(p) - qBlue(SKY)) < 6;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 && std::abs(qBlue(a) - qBlue(b)) <= 1;
}

} // namespace

class TerrainViewGlTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TerrainViewPanel> panel_;

    TerrainGlView* show(TerrainHeights terrain)
    {
        QSignalSpy shown(panel_.get(), &TerrainViewPanel::terrainShown);
        panel_->showTerrain(std::move(terrain), METRES_PER_SRTM_GRID);
        if (!shown.wait(20000))
            return nullptr;
        return panel_->view();
    }
    void setControl(const char* name, double value)
    {
        auto* box = panel_->findChild<QAbstractSpinBox*>(QLatin1String(name));
        if (auto* spin = qobject_cast<QSpinBox*>(box))
            spin->setValue(static_cast<int>(value));
        else
            qobject_cast<QDoubleSpinBox*>(box)->setValue(value);
    }

private slots:
    void init()
    {
        panel_ = std::make_unique<TerrainViewPanel>();
        panel_->resize(480, 400);
        panel_->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel_.get()));
        QVERIFY2(panel_->view(), qPrintable(panel_->fallbackText()));
    }
    void cleanup() { panel_.reset(); }

    // From above, a cone's flank facing the sun is the bright one, and the
    // picture is its own mirror across the line toward the sun.
    void coneFromAboveIsLitFromTheSun_data()
    {
        QTest::addColumn<int>("azimuth");
        QTest::newRow("east") << 90;
        QTest::newRow("north") << 0;
        QTest::newRow("west") << 270;
    }
    void coneFromAboveIsLitFromTheSun()
    {
        QFETCH(int, azimuth);
        setControl("sunAzimuth", azimuth);
        setControl("sunElevation", 40);
        TerrainGlView* view = show(cone());
        QVERIFY(view);
        view->topView();
        const QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        const Vec3 centre = view->camera().toPixels({0.0, 0.0, 2000.0});
        const Vec3 sunward = view->camera().toPixels(Vec3{0.0, 0.0, 0.0} + sunDirection(azimuth, 0.0) * 2000.0);
        const double ux = (sunward.x - centre.x), uy = (sunward.y - centre.y);
        double towardSun = 0.0, away = 0.0, asymmetry = 0.0;
        int counted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (isSky(p))
                    continue;
                const double dx = x + 0.5 - centre.x, dy = y + 0.5 - centre.y;
                (dx * ux + dy * uy > 0 ? towardSun : away) += luminance(p);
                // The mirror image across the sun's line through the top.
                const double along = (dx * ux + dy * uy) / (ux * ux + uy * uy);
                const int mx = static_cast<int>(std::floor(centre.x + 2 * along * ux - dx));
                const int my = static_cast<int>(std::floor(centre.y + 2 * along * uy - dy));
                if (image.rect().contains(mx, my)) {
                    asymmetry += std::abs(luminance(p) - luminance(image.pixel(mx, my)));
                    ++counted;
                }
            }
        QVERIFY2(towardSun > 1.3 * away, qPrintable(QStringLiteral("%1 against %2").arg(towardSun).arg(away)));
        QVERIFY2(asymmetry / counted < 2.5, qPrintable(QString::number(asymmetry / counted)));
    }

    // Every pixel over a lake is the water colour itself: flat, whatever the
    // sun, also where it replaces a map of the same size that had the lake's
    // cells outside.
    void lakeIsFlatWater_data()
    {
        QTest::addColumn<bool>("replacing");
        QTest::newRow("first map") << false;
        QTest::newRow("replacing a map") << true;
    }
    void lakeIsFlatWater()
    {
        QFETCH(bool, replacing);
        TerrainHeights t{60, 60, {}, {}, {}}, before{60, 60, {}, {}, {}};
        for (int r = 0; r < 60; ++r)
            for (int c = 0; c < 60; ++c) {
                const bool lake = r >= 20 && r < 40 && c >= 15 && c < 45;
                t.heights.push_back(lake ? 300.0f : static_cast<float>(300 + 15 * c + 5 * r));
                t.flat.push_back(lake ? 1 : 0);
                before.heights.push_back(static_cast<float>(300 + 15 * c + 5 * r));
                before.outside.push_back(lake ? 1 : 0);
            }
        setControl("exaggeration", 3.0);
        TerrainGlView* view = show(replacing ? before : t);
        QVERIFY(view);
        if (replacing)
            QVERIFY(show(t));
        view->topView();
        const QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        const TerrainMesh& mesh = *view->mesh();
        int water = 0, land = 0;
        for (int r = 0; r < 60; ++r)
            for (int c = 0; c < 60; ++c) {
                const Vec3 ground = mesh.cellPosition(r, c, t.heights[r * 60 + c]);
                const Vec3 p = view->camera().toPixels({ground.x, ground.y, ground.z * 3.0});
                const QRgb pixel = image.pixel(static_cast<int>(p.x), static_cast<int>(p.y));
                if (r >= 21 && r < 39 && c >= 16 && c < 44) {
                    QVERIFY2(near(pixel, WATER), qPrintable(QStringLiteral("lake cell %1,%2: %3")
                                                                .arg(r).arg(c).arg(QColor(pixel).name())));
                    ++water;
                } else if (r < 19 || r > 40 || c < 14 || c > 45) {
                    land += near(pixel, WATER) ? 0 : 1;
                }
            }
        QVERIFY(water > 400);
        QVERIFY(land > 1500);
    }

    // Twice the exaggeration lifts the top of a cone seen from low down to
    // where the camera puts a point twice as high.
    void exaggerationLiftsThePeak()
    {
        setControl("sunAzimuth", 315);
        TerrainGlView* view = show(cone());
        QVERIFY(view);
        view->camera().setPitch(12.0);
        double tops[2];
        for (int times : {1, 2}) {
            setControl("exaggeration", times);
            const QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
            const Vec3 expected = view->camera().toPixels({0.0, 0.0, 2000.0 * times});
            int top = image.height();
            for (int x = static_cast<int>(expected.x) - 3; x <= static_cast<int>(expected.x) + 3; ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (!isSky(image.pixel(x, y))) {
                        top = std::min(top, y);
                        break;
                    }
            QVERIFY2(std::abs(top - expected.y) <= 2.0,
                     qPrintable(QStringLiteral("x%1: top at %2, expected %3").arg(times).arg(top).arg(expected.y)));
            tops[times - 1] = top;
        }
        QVERIFY(tops[0] - tops[1] > 30);
    }

    // The bundled sample from above: water exactly over its lake and its bay.
    void sampleMapShowsItsWaters()
    {
        QTemporaryDir dir;
        BuildRequest request;
        request.bmpFilePath = QARN_SOURCE_DIR "/examples/sample-map.bmp";
        request.minElevation = 100;
        request.contourInterval = 20;
        request.heightsFilePath = dir.filePath(QStringLiteral("hightvals.dat")).toStdString();
        const BuildOutcome outcome = runBuild(request);
        QVERIFY(outcome.built());
        const TerrainHeights t = terrainOfGrid(outcome.grid);
        TerrainGlView* view = show(t);
        QVERIFY(view);
        view->topView();
        const QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        const auto flat = [&](int r, int c) { return r >= 0 && c >= 0 && r < t.rows && c < t.cols && t.flat[r * t.cols + c]; };
        int lakeCells = 0, wetLand = 0;
        for (int r = 0; r < t.rows; ++r)
            for (int c = 0; c < t.cols; ++c) {
                const Vec3 p = view->camera().toPixels(view->mesh()->cellPosition(r, c, t.heights[r * t.cols + c]));
                const bool water = near(image.pixel(static_cast<int>(p.x), static_cast<int>(p.y)), WATER);
                bool inner = true, dry = true;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        inner = inner && flat(r + dr, c + dc);
                        dry = dry && !flat(r + dr, c + dc);
                    }
                if (inner) {
                    QVERIFY2(water, qPrintable(QStringLiteral("flat cell %1,%2").arg(r).arg(c)));
                    ++lakeCells;
                }
                wetLand += dry && water ? 1 : 0;
            }
        QVERIFY(lakeCells > 20);
        QCOMPARE(wetLand, 0);
    }

    // Export writes the picture on the screen; new heights of the same map keep the camera.
    void exportWritesWhatIsShown()
    {
        TerrainGlView* view = show(cone());
        QVERIFY(view);
        view->camera().orbit(40, -20);
        const double heading = view->camera().heading();
        QVERIFY(show(cone()));
        QCOMPARE(view->camera().heading(), heading);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("view.png"));
        QString error;
        QVERIFY2(panel_->exportPng(path, error), qPrintable(error));
        const QImage shown = panel_->picture().convertToFormat(QImage::Format_RGB888);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB888), shown);
        QVERIFY(!panel_->exportPng(dir.filePath(QStringLiteral("no/such/folder/view.png")), error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TerrainViewGlTest)
#include "terrain_view_gl_test.moc"
