// QarnPainter's window on the largest map (540 x 540 blocks), offscreen at
// 1280 x 900: one step of a pencil stroke with the canvas repainted (target
// under 16 ms), the relief preview shown after a stroke's end (under 150 ms;
// 250 ms on the largest legal map, 1200 x 1200 blocks), and opening the
// largest 24-bit picture in the window (under 0.5 s). On the largest legal map
// with warnings everywhere: a zoom step repainted (under 50 ms).
#include "block_canvas.h"
#include "painter_document.h"
#include "painter_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <filesystem>

#include "bench/bench_pictures.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::painter;

namespace {

struct Session {
    qarn_test::TempDir dir;
    std::string picture = dir.file("largest.bmp");
    qarn_test::RecordingDialogs seam; // every box answered at once
    PainterWindow window;

    // A map of 541 x 540 blocks, or side x side.
    explicit Session(std::int32_t side = 0)
    {
        window.setDialogs(&seam);
        std::string error;
        if (saveMapPicture(side > 0 ? qarn_bench::paintedMap(side, side) : qarn_bench::paintedMap(541), picture,
                           error) != OutputResult::Ok)
            throw std::runtime_error(error);
        window.resize(1280, 900);
        window.show();
        window.openPicture(QString::fromStdString(picture), ColourSet::System);
        waitForPreview();
    }
    void waitForPreview()
    {
        if (!window.previewRunning())
            return;
        QEventLoop loop;
        QObject::connect(&window, &PainterWindow::previewShown, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

// Made on first use and ended in main() while the application still runs,
// so the windows close and the pictures go before Qt does.
std::unique_ptr<Session> smallSession, largeSession;

Session& session()
{
    if (!smallSession)
        smallSession = std::make_unique<Session>();
    return *smallSession;
}

Session& largestLegalSession()
{
    if (!largeSession)
        largeSession = std::make_unique<Session>(1200);
    return *largeSession;
}

// A pencil of size 3 dragged block by block; each step is painted on screen
// at once. Arg: screen pixels per block (0: fitted to the window).
void BM_CanvasStrokeStep(benchmark::State& state)
{
    BlockCanvas* canvas = session().window.canvas();
    canvas->fitToWindow();
    if (state.range(0) > 0)
        canvas->zoomBy(double(state.range(0)) / canvas->zoom(), QPointF(640, 450));
    canvas->setTool(BlockCanvas::Tool::Pencil);
    canvas->setPenSize(3);
    int col = 100;
    canvas->strokeBegin(200, col);
    for (auto _ : state) {
        col = col < 400 ? col + 1 : 100;
        canvas->strokeMove(200 + col % 7, col);
        canvas->viewport()->repaint();
    }
    canvas->strokeEnd(200, col);
    session().waitForPreview();
}
BENCHMARK(BM_CanvasStrokeStep)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the stroke's end to the new preview on screen. Arg: 540 for the
// 541 x 540 map, 1200 for the largest legal one.
void BM_PreviewShownAfterStroke(benchmark::State& state)
{
    Session& s = state.range(0) == 1200 ? largestLegalSession() : session();
    BlockCanvas* canvas = s.window.canvas();
    canvas->setTool(BlockCanvas::Tool::Pencil);
    canvas->setPenSize(3);
    const std::vector<Rgb> rungs = rungColours(s.window.map());
    for (auto _ : state) {
        state.PauseTiming();
        // The other colour than the last stroke's, so every stroke changes
        // the map, also the first of a run.
        canvas->setColour(s.window.map().at(300, 100) == rungs[5] ? rungs[6] : rungs[5]);
        canvas->strokeBegin(300, 100);
        canvas->strokeMove(330, 199);
        state.ResumeTiming();
        canvas->strokeEnd(330, 199);
        if (!s.window.previewRunning()) {
            state.SkipWithError("the stroke started no preview");
            break;
        }
        s.waitForPreview();
    }
}
BENCHMARK(BM_PreviewShownAfterStroke)->Arg(540)->Arg(1200)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowOpenLargest24Bit(benchmark::State& state)
{
    Session& s = session();
    for (auto _ : state) {
        if (!s.window.openPicture(QString::fromStdString(s.picture), ColourSet::System))
            state.SkipWithError("the picture did not open");
        state.PauseTiming();
        s.waitForPreview();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowOpenLargest24Bit)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1200 x 1200 blocks in a checkerboard of rungs 0 and 5: every block a cliff
// with its four neighbours across, once the window's check is in.
struct WarningSession {
    qarn_test::TempDir dir;
    std::string picture = dir.file("warnings.bmp");
    qarn_test::RecordingDialogs seam;
    PainterWindow window;

    WarningSession()
    {
        window.setDialogs(&seam);
        const BlockMap blank = blankMap(ColourSet::System, {}, 1, 1);
        const std::vector<Rgb> rungs = rungColours(blank);
        qarn_bench::writeBlockPicture(picture, 1200, 1200, [&](std::int32_t r, std::int32_t c) {
            return rungs[(r + c) % 2 == 0 ? 0 : 5];
        });
        window.resize(1280, 900);
        window.show();
        QEventLoop loop;
        QObject::connect(window.document(), &PainterDocument::checkChanged, &loop, [&] {
            if (!window.document()->warningMarks().empty())
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        window.openPicture(QString::fromStdString(picture), ColourSet::System);
        loop.exec();
        if (window.document()->warningMarks().empty())
            throw std::runtime_error("the check did not come in");
        // 432 MB the zoom does not need, gone even if the program ends without its static destructors.
        std::filesystem::remove(picture);
    }
};

// One zoom step in or out about the view's middle, repainted at once. Arg:
// screen pixels per block before the step (0: fitted to the window).
void BM_ZoomRepaintFullOfWarnings(benchmark::State& state)
{
    static WarningSession s;
    BlockCanvas* canvas = s.window.canvas();
    canvas->fitToWindow();
    const QPointF middle = QRectF(canvas->viewport()->rect()).center();
    if (state.range(0) > 0)
        canvas->zoomBy(double(state.range(0)) / canvas->zoom(), middle);
    canvas->viewport()->repaint();
    bool in = true;
    for (auto _ : state) {
        canvas->zoomBy(in ? 1.25 : 0.8, middle);
        in = !in;
        canvas->viewport()->repaint();
    }
}
BENCHMARK(BM_ZoomRepaintFullOfWarnings)->Arg(0)->Arg(2)->Arg(3)->Arg(4)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    smallSession.reset();
    largeSession.reset();
    return 0;
}
