// End-to-end: `qarn build` and `qarn check` on the largest map the calculator
// allows (5400 x 5410 pixels, 24-bit) beside ImageMagick merely decoding the
// same picture. The check, which reads every pixel, must take less time than
// the decode.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/bmp_writer.h"
#include "tests/support/temp_dir.h"

namespace {

qarn_test::TempDir& workDir()
{
    static qarn_test::TempDir dir;
    static const bool made = [] {
        // Bands of the system colours so every block needs a lookup and the
        // smoothing has slopes to work on.
        static const std::uint32_t rungs[] = {0x008421, 0x63C600, 0x42E700, 0xA5E742, 0xA5C600, 0xA5A500};
        qarn_test::BmpSpec bmpSpec;
        bmpSpec.width = 5400;
        bmpSpec.height = 5410;
        bmpSpec.pixels.resize(static_cast<std::size_t>(bmpSpec.width) * static_cast<std::size_t>(bmpSpec.height));
        for (int y = 0; y < bmpSpec.height; ++y)
            for (int x = 0; x < bmpSpec.width; ++x)
                bmpSpec.pixels[static_cast<std::size_t>(y) * bmpSpec.width + x] = rungs[((x / 10) / 37 + (y / 10) / 23) % 6];
        qarn_test::writeBmp(dir.path() / "largest.bmp", bmpSpec);
        return true;
    }();
    (void)made;
    return dir;
}

void runOrSkip(benchmark::State& state, const std::string& command)
{
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
    }
}

void BM_QarnBuildLargestMap(benchmark::State& state)
{
    const auto& dir = workDir().path();
    runOrSkip(state, "cd '" + dir.string() + "' && '" QARN_PATH "' build largest.bmp --colour-set system --min 100 "
                     "--interval 20 --output out.asc > /dev/null 2>&1");
}

void BM_QarnCheckLargestMap(benchmark::State& state)
{
    const auto& dir = workDir().path();
    runOrSkip(state, "cd '" + dir.string() + "' && '" QARN_PATH "' check largest.bmp --colour-set system "
                     "> /dev/null 2>&1");
}

void BM_ImageMagickDecodeOnly(benchmark::State& state)
{
    // The distribution's program when it is there: a wrapper script earlier in
    // PATH would add its own start-up to the figure.
    const std::string convert = std::system("test -x /usr/bin/convert") == 0 ? "/usr/bin/convert" : "convert";
    if (std::system(("command -v " + convert + " > /dev/null 2>&1").c_str()) != 0) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    runOrSkip(state, convert + " '" + (workDir().path() / "largest.bmp").string() + "' ppm:/dev/null");
}

} // namespace

BENCHMARK(BM_QarnBuildLargestMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_QarnCheckLargestMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ImageMagickDecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
