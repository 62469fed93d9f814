// The 3D view on the largest map (540 x 540 cells), drawn by Mesa's software
// OpenGL under Xvfb (run it as `xvfb-run -a -s "-screen 0 1280x1024x24"
// build/bench/terrain_view_bench`): the first frame after opening the view
// (target 300 ms), one frame while orbiting at 1024 x 768 (target 30 a
// second), and in QarnPainter the view redrawn after a stroke's end (100 ms).
#include "painter_window.h"
#include "block_canvas.h"

#include "terrain_view/ui/terrain_gl_view.h"
#include "terrain_view/ui/terrain_view_panel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "bench/bench_pictures.h"
#include "painter/model/map_terrain.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::painter;

namespace {

const TerrainHeights& largestTerrain()
{
    static const TerrainHeights terrain = previewTerrain(qarn_bench::paintedMap(540), 100, 20).terrain;
    return terrain;
}

// Runs the event loop until `signal` of `sender` comes (or 10 s pass).
template <typename Sender, typename Signal>
bool waitFor(Sender* sender, Signal signal)
{
    QEventLoop loop;
    bool came = false;
    QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return came;
}

// The panel sized so that its view is 1024 x 768.
std::unique_ptr<TerrainViewPanel> openPanel()
{
    auto panel = std::make_unique<TerrainViewPanel>();
    panel->resize(1024 + 8, 768 + 100);
    panel->show();
    if (panel->view())
        panel->resize(panel->size() + QSize(1024, 768) - panel->view()->size());
    return panel;
}

// From opening the view to its first frame with the map: the OpenGL context,
// the shaders, the mesh built and uploaded.
void BM_FirstFrame(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TerrainViewPanel> panel = openPanel();
        if (!panel->view()) {
            state.SkipWithError(qPrintable(panel->fallbackText()));
            return;
        }
        panel->showTerrain(largestTerrain(), METRES_PER_SRTM_GRID);
        if (!waitFor(panel.get(), &TerrainViewPanel::terrainShown))
            state.SkipWithError("no frame came");
        state.PauseTiming();
        panel.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// One frame while the camera orbits, from the move to the frame on screen.
void BM_OrbitFrame(benchmark::State& state)
{
    std::unique_ptr<TerrainViewPanel> panel = openPanel();
    if (!panel->view()) {
        state.SkipWithError(qPrintable(panel->fallbackText()));
        return;
    }
    panel->showTerrain(state.range(0) > 0 ? largestTerrain() : TerrainHeights{2, 2, {1, 2, 3, 4}, {}, {}},
                       METRES_PER_SRTM_GRID);
    waitFor(panel.get(), &TerrainViewPanel::terrainShown);
    TerrainGlView* view = panel->view();
    view->setExaggeration(std::max(1.0, static_cast<double>(state.range(0))));
    std::size_t drawn = 0;
    for (auto _ : state) {
        view->orbit(4.0, 0.0);
        if (!waitFor(view, &QOpenGLWidget::frameSwapped))
            state.SkipWithError("no frame came");
        drawn += view->trianglesDrawn();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = static_cast<double>(drawn) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OrbitFrame)->Arg(0)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The mesh alone, on one core.
void BM_MeshBuild(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(buildTerrainMesh(largestTerrain(), METRES_PER_SRTM_GRID));
}
BENCHMARK(BM_MeshBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every box answered at once.
struct QuietWindow : PainterWindow {
    QuietWindow() { setDialogs(&seam); }
    qarn_test::RecordingDialogs seam;
};

// QarnPainter with the 3D view floating at 1024 x 768: from a stroke's end
// to the new mesh on screen (the preview's grid build, the mesh, the frame).
void BM_ViewShownAfterStroke(benchmark::State& state)
{
    qarn_test::TempDir dir;
    const std::string picture = dir.file("largest.bmp");
    std::string error;
    if (saveMapPicture(qarn_bench::paintedMap(540), picture, error) != OutputResult::Ok) {
        state.SkipWithError(error.c_str());
        return;
    }
    QuietWindow window;
    window.resize(1280, 900);
    window.show();
    TerrainViewPanel* panel = window.terrainView();
    auto* dock = qobject_cast<QDockWidget*>(panel->parentWidget());
    dock->setFloating(true);
    dock->show();
    if (!panel->view()) {
        state.SkipWithError(qPrintable(panel->fallbackText()));
        return;
    }
    dock->resize(dock->size() + QSize(1024, 768) - panel->view()->size());
    window.openPicture(QString::fromStdString(picture), ColourSet::System);
    waitFor(panel, &TerrainViewPanel::terrainShown);
    BlockCanvas* canvas = window.canvas();
    canvas->setTool(BlockCanvas::Tool::Pencil);
    canvas->setPenSize(3);
    const std::vector<Rgb> rungs = rungColours(window.map());
    // Of each run, the part until the relief preview is shown (the grid built).
    QElapsedTimer clock;
    double previewMillis = 0.0;
    QObject::connect(&window, &PainterWindow::previewShown, [&] { previewMillis += clock.nsecsElapsed() / 1e6; });
    for (auto _ : state) {
        state.PauseTiming();
        // The other colour than the map holds there, so every stroke changes it, also the first of a run.
        canvas->setColour(window.map().at(300, 100) == rungs[5] ? rungs[6] : rungs[5]);
        canvas->strokeBegin(300, 100);
        canvas->strokeMove(330, 199);
        state.ResumeTiming();
        clock.start();
        canvas->strokeEnd(330, 199);
        if (!waitFor(panel, &TerrainViewPanel::terrainShown))
            state.SkipWithError("the view was not redrawn");
    }
    state.counters["preview_ms"] = previewMillis / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ViewShownAfterStroke)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
