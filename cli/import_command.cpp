// qarn import: an elevation raster of a real place made into a map picture,
// its map data file and an import report, ready to paint on or build.
#include "cli/command.h"
#include "cli/exit_status.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#ifdef QARN_WITH_GDAL
#include <cmath>
#include <filesystem>
#include <sstream>
#include <vector>

#include "cli/result_files.h"
#include "common/map_data_file.h"
#include "forge/extract/build_messages.h"
#include "forge/extract/colour_height_set.h"
#include "terrain_import/terrain_import.h"
#endif

namespace qarn {

namespace {

struct ImportOptions {
    std::string dem;
    std::string output;
    std::string centre;
    std::string size;
    std::string min;
    std::string interval;
    std::string seaLevel;
};

#ifdef QARN_WITH_GDAL

Exit refuse(const std::string& why)
{
    std::fprintf(stderr, "qarn import: %s\n", why.c_str());
    return Exit::Usage;
}

// "A,B" as two numbers, nothing else.
std::optional<std::pair<double, double>> numberPair(const std::string& text)
{
    std::istringstream in(text);
    double a = 0, b = 0;
    char comma = 0;
    if (!(in >> a >> comma >> b) || comma != ',' || !(in >> std::ws).eof() || !std::isfinite(a) || !std::isfinite(b))
        return std::nullopt;
    return std::make_pair(a, b);
}

Exit exitFor(ImportResult result)
{
    switch (result) {
    case ImportResult::Ok:
        return Exit::Ok;
    case ImportResult::EntryRefused:
    case ImportResult::AreaTooLarge:
        return Exit::Usage;
    case ImportResult::CannotOpen:
        return Exit::NoPicture;
    case ImportResult::NoMemory:
        return Exit::NoMemory;
    default:
        return Exit::BadPicture;
    }
}

Exit runImport(const ImportOptions& options)
{
    ImportRequest request;
    request.demPath = options.dem;
    if (!options.centre.empty()) {
        const auto centre = numberPair(options.centre);
        if (!centre)
            return refuse("--centre needs LAT,LON in degrees, as 45.83,6.86");
        request.centre = LatLon{centre->first, centre->second};
    }
    if (!options.size.empty()) {
        const auto size = numberPair(options.size);
        if (!size)
            return refuse("--size needs WIDTH_KM,HEIGHT_KM, as 20,15");
        request.widthKm = size->first;
        request.heightKm = size->second;
    }
    if (options.min.empty() != options.interval.empty())
        return refuse("--min and --interval go together");
    if (!options.min.empty()) {
        Ladder ladder;
        if (!confirmEntries(options.min, options.interval, ladder.minElevation, ladder.interval))
            return Exit::Usage;
        if (ladder.minElevation + static_cast<std::int64_t>(IMPORT_RUNGS - 1) * ladder.interval > MAX_EXACT_HEIGHT) {
            printMessage(messageForBuildResult(ExtractResult::HeightsTooLarge, false));
            return Exit::Usage;
        }
        request.ladder = ladder;
    }
    if (!options.seaLevel.empty()) {
        std::istringstream in(options.seaLevel);
        double level = 0;
        if (!(in >> level) || !(in >> std::ws).eof())
            return refuse("--sea-level needs a height in metres");
        request.seaLevel = level;
    }
    if (options.output.empty())
        return refuse("--output names no file");
    if (options.output.back() == '/' || std::filesystem::is_directory(std::filesystem::path(options.output)))
        return refuse("--output names a folder: " + options.output);
    const std::string clash = resultClash({{"elevation raster", options.dem}},
                                          {{"picture", options.output},
                                           {"map data file", mapDataPathFor(options.output)},
                                           {"import report", importReportPathFor(options.output)}});
    if (!clash.empty())
        return refuse(clash);

    ImportedTerrain terrain;
    std::string detail;
    if (const ImportResult result = importTerrain(request, terrain, detail); result != ImportResult::Ok) {
        std::fprintf(stderr, "qarn import: %s: %s\n", describe(result), detail.c_str());
        return exitFor(result);
    }
    std::string error;
    if (saveImportedMap(terrain, options.output, error) != OutputResult::Ok) {
        std::fprintf(stderr, "qarn import: %s\n", error.c_str());
        return Exit::NotWritten;
    }
    const MapArea& area = terrain.area;
    std::printf("Imported %d x %d blocks%s, minimum %d m, interval %d m%s; %zu clamped, %zu filled, "
                "%zu flat; rung heights %.2f m RMS from the resampled heights\n",
                area.cols, area.rows, area.cropped ? " (cropped to the largest map)" : "",
                terrain.ladder.minElevation, terrain.ladder.interval, terrain.ladderChosen ? " (chosen)" : "",
                terrain.mapping.clamped, terrain.filled, terrain.mapping.flat, terrain.mapping.rms);
    std::printf("Wrote %s, %s and %s\n", options.output.c_str(), mapDataPathFor(options.output).c_str(),
                importReportPathFor(options.output).c_str());
    return Exit::Ok;
}

#endif

} // namespace

void addImportCommand(CLI::App& app, Exit* exitStatus)
{
    auto options = std::make_shared<ImportOptions>();
#ifdef QARN_WITH_GDAL
    CLI::App* cmd = app.add_subcommand("import", "Make a map picture of a real place from an elevation raster "
                                                 "(GeoTIFF, SRTM .hgt, ESRI ASCII grid, ... in any coordinate system)");
    cmd->add_option("DEM", options->dem, "The elevation raster: any that GDAL reads, with or without nodata")
        ->required();
    cmd->add_option("--output", options->output,
                    "The map picture to write (24-bit BMP); QarnSizer_MAP_Data.xdt and NAME-Import.txt go "
                    "beside it")
        ->required()
        ->check(NOT_AN_OPTION);
    cmd->add_option("--centre", options->centre, "LAT,LON in degrees: the map's centre (default: the middle of "
                                                 "the valid data)")
        ->check(NOT_AN_OPTION);
    cmd->add_option("--size", options->size,
                    "WIDTH_KM,HEIGHT_KM: the area, at most 50,50, sized as QarnSizer sizes a map (default: the "
                    "valid data around the centre, cropped to 540 x 540 blocks)")
        ->check(NOT_AN_OPTION);
    cmd->add_option("--min", options->min, "Minimum elevation in whole metres: rung 0's height (default: chosen so "
                                           "the heights fill the 18 rungs)")
        ->check(NOT_AN_OPTION);
    cmd->add_option("--interval", options->interval, "Contour interval in whole metres, with --min")
        ->check(NOT_AN_OPTION);
    cmd->add_option("--sea-level", options->seaLevel,
                    "Height in metres: land at or below it joined to the map's edge becomes flat area")
        ->check(NOT_AN_OPTION);
    cmd->footer("Example:\n  qarn import valley.tif --output valley.bmp --centre 45.83,6.86 --size 30,20\n"
                "  writes valley.bmp, QarnSizer_MAP_Data.xdt and valley-Import.txt, all or none, and prints\n"
                "  the minimum elevation and contour interval to build with. Each block is one grid cell of\n"
                "  the builder; rung = round((height - min) / interval), clamped to 0..17. Holes in the data\n"
                "  are filled from their neighbours.\n"
                "Exit status: 0 imported; 2 command line or entry refused (also an area over 50 x 50 km, a\n"
                "  result over an input); 3 raster cannot be opened; 4 raster without an elevation band,\n"
                "  a coordinate system or data in the area; 6 out of memory; 8 a result file not written.");
    cmd->callback([options, exitStatus] { *exitStatus = runImport(*options); });
#else
    CLI::App* cmd = app.add_subcommand("import", "Make a map picture of a real place from an elevation raster "
                                                 "(not available in this build: it was built without GDAL)");
    cmd->allow_extras();
    cmd->footer("Exit status: 9 not available in this build.");
    cmd->callback([exitStatus] {
        std::fputs("qarn import: not available in this build: it was built without GDAL\n", stderr);
        *exitStatus = Exit::Unavailable;
    });
#endif
}

} // namespace qarn
