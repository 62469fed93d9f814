// The ASCII grid writer on a full 1201 x 1201 grid, beside plain fprintf and
// beside GDAL's AAIGrid writer (gdal_translate) for the same grid. After the
// runs the writer's time is compared with GDAL's; it must be a third or less.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "forge/grid/height_rounding.h"
#include "forge/output/ascii_grid_writer.h"
#include "forge/output/output_result.h"

using namespace qarn;

namespace fs = std::filesystem;

namespace {

constexpr int kSide = 1201;

const std::vector<float>& terrain()
{
    static const std::vector<float> heights = [] {
        std::vector<float> h(static_cast<std::size_t>(kSide) * kSide);
        for (int r = 0; r < kSide; ++r)
            for (int c = 0; c < kSide; ++c)
                h[static_cast<std::size_t>(r) * kSide + c] =
                    1500.0f + 1400.0f * std::sin(r * 0.013f) * std::cos(c * 0.021f) + (r * 7 + c * 3) % 97 * 0.37f;
        return h;
    }();
    return heights;
}

const fs::path& workDir()
{
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "qarn-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return fs::path(pattern);
    }();
    return dir;
}

void BM_AsciiGridWriter(benchmark::State& state)
{
    const std::string path = (workDir() / "writer.asc").string();
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "w");
        const bool ok = out && writeHeader(out, AsciiGridHeader{}) == OutputResult::Ok &&
                        writeValues(out, AsciiGridHeader{}, kSide, kSide, terrain().data()) == OutputResult::Ok;
        if (out)
            std::fclose(out);
        if (!ok)
            state.SkipWithError("writing the grid failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_AsciiGridWriter)->Unit(benchmark::kMillisecond)->UseRealTime();

// The straightforward way, one fprintf per value, for reference.
void BM_FprintfPerValue(benchmark::State& state)
{
    const std::string path = (workDir() / "fprintf.asc").string();
    const AsciiGridHeader header;
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "w");
        if (!out) {
            state.SkipWithError("cannot create the file");
            break;
        }
        for (const char* line : {header.ncolsLine, header.nrowsLine, header.xllcornerLine, header.yllcornerLine,
                                 header.cellsizeLine, header.nodataLine})
            std::fprintf(out, "%s\n", line);
        for (int r = 0; r < kSide; ++r) {
            for (int c = 0; c < kSide; ++c)
                std::fprintf(out, " %d", static_cast<int>(roundHeight(terrain()[static_cast<std::size_t>(r) * kSide + c])));
            std::fprintf(out, "\n");
        }
        std::fclose(out);
    }
}
BENCHMARK(BM_FprintfPerValue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GdalAAIGridWriter(benchmark::State& state)
{
    if (std::system("command -v gdal_translate >/dev/null 2>&1") != 0) {
        state.SkipWithError("gdal_translate not installed (package gdal-bin)");
        return;
    }
    const fs::path in = workDir() / "gdal-in.asc";
    std::string error;
    if (saveAsciiGrid(in.string(), AsciiGridHeader{}, kSide, kSide, terrain().data(), error) != OutputResult::Ok) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::string command =
        "gdal_translate -q -of AAIGrid '" + in.string() + "' '" + (workDir() / "gdal-out.asc").string() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("gdal_translate failed");
    }
}
BENCHMARK(BM_GdalAAIGridWriter)->Unit(benchmark::kMillisecond)->UseRealTime();

// Console output as usual, keeping each benchmark's real time for the verdict.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                seconds[run.run_name.function_name] = run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(workDir(), ec);

    const auto ours = reporter.seconds.find("BM_AsciiGridWriter");
    const auto gdal = reporter.seconds.find("BM_GdalAAIGridWriter");
    if (ours == reporter.seconds.end() || gdal == reporter.seconds.end())
        return 0;
    const double ratio = ours->second / gdal->second;
    std::printf("\nASCII grid writer %.1f ms, GDAL AAIGrid %.1f ms: %.2f of GDAL's time (limit 0.33) %s\n",
                ours->second * 1e3, gdal->second * 1e3, ratio, ratio <= 1.0 / 3.0 ? "OK" : "TOO SLOW");
    return ratio <= 1.0 / 3.0 ? 0 : 1;
}
