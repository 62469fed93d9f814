// qarn import: importTerrain on small rasters written here through GDAL
// (import_cases.tsv), one case against gdaldem color-relief, and qarn import's
// refusals and files (cli_cases.tsv).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <sstream>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include "painter/model/map_picture_file.h"
#include "painter/model/map_terrain.h"
#include "terrain_import/terrain_import.h"
#include "common/atomic_file.h"
#include "forge/grid/grid_views.h"
#include "forge/output/grid_files.h"
#include "tests/support/support.h"
#include "tests/support/synthetic_dem.h"

using namespace qarn;
using namespace qarn_test;

namespace {

constexpr double CELL = METRES_PER_SRTM_GRID;
constexpr double NODATA = -9999;

// The flat frame of the pixel-for-pixel rasters: a transverse Mercator on 46 N, 7 E.
std::string frameWkt()
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRSetWellKnownGeogCS(srs, "WGS84");
    OSRSetTM(srs, 46, 7, 1, 0, 0);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    std::string text = wkt;
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    return text;
}

// A one-band GeoTIFF of heights(column, row); an empty `crs` leaves it without a coordinate system.
void writeDem(const std::string& path, int width, int height, std::array<double, 6> geo, const std::string& crs,
              const std::function<double(int, int)>& heights)
{
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 1, GDT_Float32, nullptr);
    GDALSetGeoTransform(ds, geo.data());
    if (!crs.empty()) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRSetFromUserInput(srs, crs.c_str());
        GDALSetSpatialRef(ds, srs);
        OSRDestroySpatialReference(srs);
    }
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    GDALSetRasterNoDataValue(band, NODATA);
    std::vector<float> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<float>(heights(x, y));
        EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, y, width, 1, row.data(), width, 1, GDT_Float32, 0, 0), CE_None);
    }
    GDALClose(ds);
}

// Pixel for pixel in the frame, the map's centre on its origin.
void writeFrameDem(const std::string& path, int width, int height, const std::function<double(int, int)>& heights)
{
    writeDem(path, width, height, {-width * CELL / 2, CELL, 0, height * CELL / 2, 0, -CELL}, frameWkt(), heights);
}

// The rasters of the tables, by name.
void demFor(const std::string& kind, const std::string& path)
{
    const auto cheb = [](int x, int y) { return std::max(std::abs(x - 7), std::abs(y - 7)); };
    if (kind == "plane") {
        writeFrameDem(path, 10, 10, [](int x, int y) { return 100 + 10 * (x + y); });
    } else if (kind == "geographic") {
        // The same plane at 1 arc-second, each pixel's height where its centre lies in the frame.
        OGRSpatialReferenceH geo = OSRNewSpatialReference(nullptr), frame = OSRNewSpatialReference(nullptr);
        OSRSetWellKnownGeogCS(geo, "WGS84");
        OSRSetAxisMappingStrategy(geo, OAMS_TRADITIONAL_GIS_ORDER);
        const std::string wkt = frameWkt();
        char* text = const_cast<char*>(wkt.c_str());
        OSRImportFromWkt(frame, &text);
        OSRSetAxisMappingStrategy(frame, OAMS_TRADITIONAL_GIS_ORDER);
        OGRCoordinateTransformationH toFrame = OCTNewCoordinateTransformation(geo, frame);
        const double step = 1 / 3600.0;
        writeDem(path, 120, 80, {7 - 60 * step, step, 0, 46 + 40 * step, 0, -step}, "EPSG:4326", [&](int px, int py) {
            double x = 7 + (px - 59.5) * step, y = 46 - (py - 39.5) * step;
            OCTTransform(toFrame, 1, &x, &y, nullptr);
            // A pixel-sized ripple that only averaging takes out.
            return 100 + 10 * ((x / CELL + 4.5) + (4.5 - y / CELL)) + ((px + py) % 2 ? 20 : -20);
        });
        OCTDestroyCoordinateTransformation(toFrame);
        OSRDestroySpatialReference(geo);
        OSRDestroySpatialReference(frame);
    } else if (kind == "cone") {
        writeFrameDem(path, 15, 15, [](int x, int y) { return 240 - 14 * std::hypot(x - 7, y - 7); });
    } else if (kind == "bowl") {
        writeFrameDem(path, 15, 15, [&](int x, int y) { return 100 + 10 * std::max(0, cheb(x, y) - 1); });
    } else if (kind == "coast") {
        writeFrameDem(path, 10, 10, [](int x, int) { return 50 + 10 * x; });
    } else if (kind == "holes") {
        writeFrameDem(path, 20, 20, [](int x, int y) {
            const bool border = x < 3 || y < 3 || x > 16 || y > 16;
            const bool hole = (x == 10 && y == 10) || (x == 8 && y == 6) || (x == 12 && y == 13) ||
                              (x == 6 && y == 8) || (x == 11 && y == 7);
            return border || hole ? NODATA : 100 + 10 * y;
        });
    } else if (kind == "wide") {
        writeFrameDem(path, 600, 20, [](int, int) { return 300.6; });
    } else if (kind == "nocrs") {
        writeDem(path, 10, 10, {0, CELL, 0, 0, 0, -CELL}, "", [](int, int) { return 1; });
    } else if (kind == "huge") {
        writeFrameDem(path, 10, 10, [](int x, int) { return x == 3 ? 3.0e38 : 100; });
    } else if (kind == "empty") {
        writeFrameDem(path, 10, 10, [](int, int) { return NODATA; });
    } else if (kind == "text") {
        writeFile(path, "not a raster\n");
    } else if (kind == "fifo") {
        ::mkfifo(path.c_str(), 0600);
    }
}

ImportRequest requestFor(const std::string& path, const std::string& options)
{
    ImportRequest request;
    request.demPath = path;
    std::istringstream in(options);
    char comma = 0;
    for (std::string name; in >> name;) {
        if (name == "--centre")
            request.centre.emplace(), in >> request.centre->lat >> comma >> request.centre->lon;
        else if (name == "--size")
            request.widthKm.emplace(), request.heightKm.emplace(), in >> *request.widthKm >> comma >> *request.heightKm;
        else if (name == "--min")
            request.ladder.emplace(), in >> request.ladder->minElevation;
        else if (name == "--interval")
            in >> request.ladder->interval;
        else if (name == "--sea-level")
            request.seaLevel.emplace(), in >> *request.seaLevel;
    }
    return request;
}

// The rungs as the table writes them.
std::string rungText(const ImportedTerrain& terrain)
{
    std::string text;
    for (std::int32_t r = 0; r < terrain.area.rows; ++r) {
        text += r ? "/" : "";
        for (std::int32_t c = 0; c < terrain.area.cols; ++c) {
            const int rung = terrain.mapping.rungs[static_cast<std::size_t>(r * terrain.area.cols + c)];
            text += rung == FLAT_RUNG ? '~' : "0123456789abcdefgh"[rung];
        }
    }
    return text;
}

// Every block of the saved picture against gdaldem color-relief's nearest
// colour, from a colour file of the 18 rung heights.
void expectGdaldemColours(const TempDir& dir, const ImportedTerrain& terrain)
{
    std::string entries;
    const std::vector<Rgb> rungs = rungColours(blankMap(ColourSet::System, {}, 1, 1));
    for (std::size_t k = 0; k < rungs.size(); ++k)
        entries += std::to_string(terrain.ladder.minElevation + static_cast<int>(k) * terrain.ladder.interval) + " " +
                   std::to_string(rungs[k].red) + " " + std::to_string(rungs[k].green) + " " +
                   std::to_string(rungs[k].blue) + "\n";
    writeFile(dir.file("rungs.txt"), entries);
    ASSERT_EQ(runIn(dir.path(), "gdaldem color-relief -q -nearest_color_entry dem.tif rungs.txt ref.tif").status, 0);
    std::string error;
    ASSERT_EQ(saveImportedMap(terrain, dir.file("map.bmp"), error), OutputResult::Ok) << error;
    BlockMap map;
    ASSERT_EQ(openMapPicture(dir.file("map.bmp"), ColourSet::System, map), ExtractResult::Ok);
    GDALDatasetH ref = GDALOpen(dir.file("ref.tif").c_str(), GA_ReadOnly);
    ASSERT_TRUE(ref);
    for (int b = 0; b < 3; ++b) {
        std::vector<unsigned char> band(map.blocks.size());
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(ref, b + 1), GF_Read, 0, 0, map.cols, map.rows, band.data(), map.cols,
                               map.rows, GDT_Byte, 0, 0),
                  CE_None);
        for (std::size_t i = 0; i < band.size(); ++i) {
            const Rgb& ours = map.blocks[i];
            EXPECT_EQ(band[i], b == 0 ? ours.red : b == 1 ? ours.green : ours.blue) << "block " << i;
        }
    }
    GDALClose(ref);
}

} // namespace

TEST(ImportTerrain, EveryCase)
{
    for (const Row& row : readTable("import/import_cases.tsv")) {
        SCOPED_TRACE(row[0]);
        TempDir dir;
        demFor(row[1], dir.file("dem.tif"));
        ImportedTerrain terrain;
        std::string detail;
        ASSERT_EQ(importTerrain(requestFor(dir.file("dem.tif"), row[2]), terrain, detail), ImportResult::Ok) << detail;
        EXPECT_EQ(std::to_string(terrain.area.cols) + "x" + std::to_string(terrain.area.rows), row[3]);
        EXPECT_EQ(std::to_string(terrain.ladder.minElevation) + "/" + std::to_string(terrain.ladder.interval), row[4]);
        EXPECT_EQ(terrain.mapping.clamped, std::stoul(row[5]));
        EXPECT_EQ(terrain.filled, std::stoul(row[6]));
        EXPECT_EQ(terrain.mapping.flat, std::stoul(row[7]));
        EXPECT_EQ(terrain.area.cropped, row[8] == "yes");
        if (row[9] == "gdaldem") {
            expectGdaldemColours(dir, terrain);
        } else if (row[9] != "-") {
            EXPECT_EQ(rungText(terrain), row[9]);
        }
    }
}

TEST(QarnImport, EveryCase)
{
    for (Row row : readTable("import/cli_cases.tsv")) {
        row.resize(7);
        SCOPED_TRACE(row[0]);
        TempDir dir;
        if (row[1] != "-")
            demFor(row[1].substr(0, row[1].find('+')), dir.file("dem.tif"));
        if (row[1].ends_with("+xdtdir"))
            fs::create_directory(dir.path() / "QarnSizer_MAP_Data.xdt");
        const CommandRun run = runIn(dir.path(), "'" QARN_PATH "' import " + row[2]);
        EXPECT_EQ(run.status, std::stoi(row[3])) << run.err;
        EXPECT_EQ(run.out, row[4]);
        EXPECT_EQ(run.err, row[5]);
        std::istringstream pairs(row[6]);
        for (std::string pair; pairs >> pair;) {
            const std::string written = pair.substr(0, pair.find('=')), expected = pair.substr(pair.find('=') + 1);
            if (expected == "-")
                EXPECT_FALSE(fs::exists(dir.path() / written)) << written;
            else
                EXPECT_EQ(readFile(dir.path() / written), readFile(testData(expected))) << written;
        }
    }
}

// A report that cannot be put in place once all three are written takes the
// picture and the map data file with it: the earlier picture is back, no map
// data file is left.
TEST(ImportTerrain, SavesAllOrNone)
{
    TempDir dir;
    writeFile(dir.file("map.bmp"), "earlier");
    AtomicFile picture(dir.file("map.bmp")), mapData(dir.file("QarnSizer_MAP_Data.xdt")),
        report(dir.file("map-Import.txt"));
    for (AtomicFile* file : {&picture, &mapData, &report}) {
        ASSERT_EQ(file->open(), FileResult::Ok);
        std::fputs("new", file->stream());
    }
    fs::create_directories(dir.path() / "map-Import.txt" / "inside");
    EXPECT_EQ(commitAll({&picture, &mapData, &report}), FileResult::CannotReplace);
    EXPECT_EQ(readFile(dir.file("map.bmp")), "earlier");
    EXPECT_EQ(entriesIn(dir.path()), (std::vector<std::string>{"map-Import.txt", "map.bmp"}));
}

// The import's promise: built as qarn build builds it, the map's grid stays
// within half an interval (root mean square) of the resampled heights, and
// the picture check finds no error in it.
TEST(ImportTerrain, BuiltGridStaysWithinHalfAnInterval)
{
    TempDir dir;
    writeFractalTile(dir.file("tile.tif"), 601, 46, 7);
    ImportedTerrain terrain;
    std::string detail;
    ASSERT_EQ(importTerrain(requestFor(dir.file("tile.tif"), ""), terrain, detail), ImportResult::Ok) << detail;
    ASSERT_EQ(saveImportedMap(terrain, dir.file("tile.bmp"), detail), OutputResult::Ok) << detail;
    BuildRequest request;
    request.bmpFilePath = dir.file("tile.bmp");
    request.minElevation = terrain.ladder.minElevation;
    request.contourInterval = terrain.ladder.interval;
    const GridBuild build = buildGridFiles(request, dir.file("tile.asc"));
    ASSERT_TRUE(build.outcome.built());
    const PictureCheck check = checkPicture({.bmpFilePath = request.bmpFilePath,
                                             .colourSet = ColourSet::System,
                                             .withHeights = true,
                                             .minElevation = request.minElevation,
                                             .contourInterval = request.contourInterval,
                                             .scope = CheckScope::Everything,
                                             .drawable = true});
    EXPECT_TRUE(std::none_of(check.findings.begin(), check.findings.end(),
                             [](const Finding& f) { return f.severity == Severity::Error; }));
    const std::vector<float> built = realCellHeights(build.outcome.grid);
    double squares = 0;
    for (std::size_t i = 0; i < built.size(); ++i)
        squares += (built[i] - terrain.heights[i]) * (built[i] - terrain.heights[i]);
    EXPECT_LE(std::sqrt(squares / static_cast<double>(built.size())), terrain.ladder.interval / 2.0);
}
