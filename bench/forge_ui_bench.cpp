// "Build It" in the builder's window on the largest map, from the press to
// the painted table: 540 x 540 blocks, a 5400 x 5400 24-bit picture in the
// system colours, generated at start. Runs offscreen; boxes are answered at once.
#include "duvavaz_evedaz.h"
#include "height_table_model.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include <cstdlib>
#include <string>

#include "bench/bench_pictures.h"
#include "tests/support/support.h"
#include "tests/windows/support/recording_dialogs.h"

using namespace qarn;
using namespace qarn::forge;

namespace {

constexpr int SIDE_BLOCKS = 540;

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Hills of contour bands with a few lakes in the flat-area colour.
std::string writeLargestMap(const qarn_test::TempDir& dir)
{
    const std::string path = dir.file("largest.bmp");
    qarn_bench::writeBlockPicture(path, SIDE_BLOCKS, SIDE_BLOCKS, [](std::int32_t r, std::int32_t c) {
        const bool lake = (r % 97 > 80) && (c % 113 > 90);
        const int band = ((r / 37) * 3 + (c / 23) * 5 + (r * c) / 9000) % 18;
        return lake ? FLAT_AREA_COLOUR : SYSTEM_COLOUR_SET[std::size_t(band)];
    });
    return path;
}

void BM_BuildAndShowLargestMap(benchmark::State& state)
{
    qarn_test::TempDir dir;
    const std::string picture = writeLargestMap(dir);
    qarn_test::ScopedWorkingDir cd(dir.path());

    // Every box answered at once.
    qarn_test::RecordingDialogs seam;
    seam.fileAnswers = {QString::fromStdString(picture)};
    DuvavazEvedaz w;
    w.setDialogs(&seam);
    w.show();
    w.fileOpen();
    w.SystemColourRB->click();
    w.MinElevationlineEdit->setText("100");
    w.ContourlineEdit->setText("20");
    w.ConfirmpushButton->click();
    w.ProcesstabWidget->setCurrentWidget(w.tab2);
    PaintCounter counter;
    w.TableResults->viewport()->installEventFilter(&counter);
    QApplication::processEvents();

    for (auto _ : state) {
        w.ProcessPB_clicked();
        w.TableResults->viewport()->repaint();
        if (w.buildOk != 1 || w.tableRows != SIDE_BLOCKS || w.tableCols != SIDE_BLOCKS)
            state.SkipWithError("the build failed");
    }
    if (counter.paints < static_cast<int>(state.iterations()))
        state.SkipWithError("the table was not painted");
    state.counters["boxes"] = seam.boxes.size();
}
BENCHMARK(BM_BuildAndShowLargestMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
