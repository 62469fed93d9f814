// Extraction of a full-size map picture against Qt's own BMP loading of the
// same files. Pictures are generated into a temporary folder at start.

#include "forge/extract/block_heights.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifdef QARN_BENCH_QIMAGE
#include <QImage>
#include <QString>
#endif

#include "bench/bench_pictures.h"
#include "tests/support/support.h"

using namespace qarn;

namespace {

constexpr std::int32_t WIDTH = 5400;
constexpr std::int32_t HEIGHT = 5410;

struct Pictures {
    qarn_test::TempDir dir;
    std::string depth24;
    std::string depth8;

    Pictures()
    {
        // The same picture at both depths: blocks of the 18 height colours in diagonal bands.
        const auto rung = [](std::int32_t row, std::int32_t col) { return (col + row) % 18; };
        depth8 = dir.file("map8.bmp");
        std::vector<std::uint32_t> palette;
        for (const Rgb& c : SYSTEM_COLOUR_SET)
            palette.push_back(std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue);
        qarn_test::writeFile(depth8, qarn_test::encodeBmp(
                                         WIDTH, HEIGHT, 8,
                                         [&](int x, int y) { return static_cast<std::uint32_t>(rung(y / 10, x / 10)); },
                                         palette));

        depth24 = dir.file("map24.bmp");
        qarn_bench::writeBlockPicture(depth24, HEIGHT / 10, WIDTH / 10, [&](std::int32_t row, std::int32_t col) {
            return SYSTEM_COLOUR_SET[static_cast<std::size_t>(rung(row, col))];
        });
    }
};

const Pictures& pictures()
{
    static const Pictures instance;
    return instance;
}

const std::string& pathFor(int bits)
{
    return bits == 24 ? pictures().depth24 : pictures().depth8;
}

void BM_ExtractBlockHeights(benchmark::State& state)
{
    const std::string& path = pathFor(static_cast<int>(state.range(0)));
    const std::string out = pictures().dir.file(HEIGHT_VALUES_FILE_NAME);
    for (auto _ : state) {
        std::FILE* heights = std::fopen(out.c_str(), "wt");
        const ExtractionResult r = extractBlockHeights(path, heights, 100, 20, ColourSet::System);
        std::fclose(heights);
        if (r.result != ExtractResult::Ok || r.colourError)
            state.SkipWithError("extraction failed");
    }
}
BENCHMARK(BM_ExtractBlockHeights)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadBmp(benchmark::State& state)
{
    const std::string& path = pathFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        BmpImage image;
        if (loadBmp(f, image) != ExtractResult::Ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(image.pixels.get());
        std::fclose(f);
    }
}
BENCHMARK(BM_LoadBmp)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef QARN_BENCH_QIMAGE
void BM_QImageLoad(benchmark::State& state)
{
    const QString path = QString::fromStdString(pathFor(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        QImage image(path);
        if (image.isNull())
            state.SkipWithError("QImage could not load the picture");
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QImageLoad)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

} // namespace

BENCHMARK_MAIN();
