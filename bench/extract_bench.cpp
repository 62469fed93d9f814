// Extraction of a full-size map picture against Qt's own BMP loading of the
// same files. Pictures are generated into a temporary folder at start.

#include "forge/extract/block_heights.h"
#include "forge/extract/bmp_image.h"
#include "forge/extract/colour_height_set.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#ifdef QARN_BENCH_QIMAGE
#include <QImage>
#include <QString>
#endif

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr std::int32_t WIDTH = 5400;
constexpr std::int32_t HEIGHT = 5410;

struct Pictures {
    qarn_test::TempDir dir;
    std::string depth24;
    std::string depth8;

    Pictures()
    {
        qarn_test::BmpSpec bmpSpec;
        bmpSpec.width = WIDTH;
        bmpSpec.height = HEIGHT;
        bmpSpec.bitCount = 8;
        for (const Rgb& c : SYSTEM_COLOUR_SET)
            bmpSpec.palette.push_back(qarn_test::rgb(c.red, c.green, c.blue));
        bmpSpec.pixels.resize(static_cast<std::size_t>(WIDTH) * HEIGHT);
        for (std::int32_t y = 0; y < HEIGHT; ++y)
            for (std::int32_t x = 0; x < WIDTH; ++x)
                bmpSpec.pixels[static_cast<std::size_t>(y) * WIDTH + x] = static_cast<std::uint32_t>((x / 10 + y / 10) % 18);
        depth8 = dir.file("map8.bmp");
        qarn_test::writeBmp(depth8, bmpSpec);

        for (std::uint32_t& p : bmpSpec.pixels)
            p = bmpSpec.palette[p];
        bmpSpec.bitCount = 24;
        bmpSpec.palette.clear();
        depth24 = dir.file("map24.bmp");
        qarn_test::writeBmp(depth24, bmpSpec);
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
