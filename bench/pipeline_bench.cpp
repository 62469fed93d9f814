// End-to-end: `qarn build` and `qarn check` on the largest map the calculator
// allows (5400 x 5410 pixels, 24-bit) beside ImageMagick merely decoding the
// same picture (the check, which reads every pixel, must take less time than
// the decode), and the peak memory (counter peak_MB) of `qarn build` on that
// map, on a 12000 x 12000 1-bit map and on a 24000 x 24000 1-bit picture that
// is refused as too large.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_pictures.h"
#include "tests/support/support.h"

using namespace qarn;

namespace {

// Vertical stripes of two system colours, 10 pixels wide: a valid map of
// side / 10 blocks a side. One row is encoded with its header's height set
// to `side` and then repeated, so the picture is never whole in memory.
void writeStripedOneBitMap(const std::filesystem::path& path, std::int32_t side)
{
    std::string oneRow = qarn_test::encodeBmp(
        side, 1, 1, [](int x, int) { return static_cast<std::uint32_t>((x / 10) % 2); }, {0x008421, 0x63C600});
    for (int i = 0; i < 4; ++i) // the information header's height, at byte 22
        oneRow[22 + i] = static_cast<char>((static_cast<std::uint32_t>(side) >> (8 * i)) & 0xFF);
    const std::size_t rowBytes = (static_cast<std::size_t>(side) + 31) / 32 * 4;
    std::ofstream file(path, std::ios::binary);
    file << oneRow;
    for (std::int32_t y = 1; y < side; ++y)
        file.write(oneRow.data() + oneRow.size() - rowBytes, static_cast<std::streamsize>(rowBytes));
}

qarn_test::TempDir& workDir()
{
    static qarn_test::TempDir dir;
    static const bool made = [] {
        // Bands of the system colours so every block needs a lookup and the
        // smoothing has slopes to work on.
        qarn_bench::writeBlockPicture((dir.path() / "largest.bmp").string(), 541, 540,
                                      [](std::int32_t r, std::int32_t c) {
                                          return SYSTEM_COLOUR_SET[static_cast<std::size_t>((c / 37 + r / 23) % 6)];
                                      });
        writeStripedOneBitMap(dir.path() / "map12000.bmp", 12000);
        writeStripedOneBitMap(dir.path() / "picture24000.bmp", 24000);
        return true;
    }();
    (void)made;
    return dir;
}

// Runs `command` through the shell; false unless it exits with `expectedStatus`.
// `peakKiB` gets the child's peak resident set.
bool runCounted(const std::string& command, int expectedStatus, long& peakKiB)
{
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return false;
    peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus;
}

void runOrSkip(benchmark::State& state, const std::string& command, int expectedStatus = 0)
{
    long peakKiB = 0;
    for (auto _ : state) {
        if (!runCounted(command, expectedStatus, peakKiB)) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peakKiB) / 1024.0;
}

void qarnBuild(benchmark::State& state, const char* picture, int expectedStatus)
{
    runOrSkip(state,
              "cd '" + workDir().path().string() + "' && exec '" QARN_PATH "' build " + picture +
                  " --colour-set system --min 100 --interval 20 --output out.asc > /dev/null 2>&1",
              expectedStatus);
}

void BM_QarnBuildLargestMap(benchmark::State& state)
{
    qarnBuild(state, "largest.bmp", 0);
}

void BM_QarnCheckLargestMap(benchmark::State& state)
{
    runOrSkip(state, "cd '" + workDir().path().string() + "' && exec '" QARN_PATH
                     "' check largest.bmp --colour-set system > /dev/null 2>&1");
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
    runOrSkip(state, "exec " + convert + " '" + (workDir().path() / "largest.bmp").string() + "' ppm:/dev/null");
}

void BM_QarnBuildOneBitMap12000(benchmark::State& state)
{
    qarnBuild(state, "map12000.bmp", 0);
}

// Refused as "Map Too Large" (exit 4) from its header.
void BM_QarnBuildOneBitPicture24000(benchmark::State& state)
{
    qarnBuild(state, "picture24000.bmp", 4);
}

} // namespace

BENCHMARK(BM_QarnBuildLargestMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ImageMagickDecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_QarnCheckLargestMap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_QarnBuildOneBitMap12000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_QarnBuildOneBitPicture24000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
