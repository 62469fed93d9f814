#include "terrain_import/dem_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <new>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdalwarper.h>
#include <ogr_srs_api.h>

#include "common/block_convention.h"
#include "common/regular_file.h"
#include "terrain_import/terrain_import.h"

namespace qarn {

namespace {

// Marks a block the raster says nothing about, in the frame's band.
constexpr float NO_HEIGHT = std::numeric_limits<float>::lowest();
// Points along each edge of the valid data when finding the room in the frame.
constexpr int EDGE_SAMPLES = 64;

// GDAL's messages go to `detail`, not to standard error, while one lives.
struct QuietGdal {
    QuietGdal()
    {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietGdal() { CPLPopErrorHandler(); }
};

std::string gdalSays(const std::string& what)
{
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? what + ": " + message : what;
}

struct SrsDeleter {
    void operator()(OGRSpatialReferenceH srs) const { OSRDestroySpatialReference(srs); }
};
using Srs = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SrsDeleter>;

struct TransformDeleter {
    void operator()(OGRCoordinateTransformationH t) const { OCTDestroyCoordinateTransformation(t); }
};
using Transform = std::unique_ptr<std::remove_pointer_t<OGRCoordinateTransformationH>, TransformDeleter>;

struct DatasetCloser {
    void operator()(GDALDatasetH ds) const { GDALClose(ds); }
};
using Dataset = std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser>;

Srs withGisOrder(OGRSpatialReferenceH srs)
{
    Srs copy(OSRClone(srs));
    OSRSetAxisMappingStrategy(copy.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return copy;
}

Srs wgs84()
{
    Srs srs(OSRNewSpatialReference(nullptr));
    OSRSetWellKnownGeogCS(srs.get(), "WGS84");
    OSRSetAxisMappingStrategy(srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b));
}

} // namespace

struct DemRaster::State {
    Dataset dataset;
    GDALRasterBandH band = nullptr;
    Srs source;     // the raster's system, x east (or longitude) first
    Srs geographic; // WGS 84, longitude first
    Srs frame;      // the map's flat frame
    double geo[6] = {};
    bool pixelForPixel = false;
    // The valid data in raster pixels, end exclusive.
    int validX0 = 0, validY0 = 0, validX1 = 0, validY1 = 0;
    // The centre in the frame's system before it is moved to (0, 0): only
    // the raster's own system keeps an offset.
    double centreX = 0, centreY = 0;

    // Raster pixel position to the raster's system.
    void toSource(double px, double py, double& x, double& y) const
    {
        x = geo[0] + px * geo[1] + py * geo[2];
        y = geo[3] + px * geo[4] + py * geo[5];
    }
};

DemRaster::DemRaster() : state_(std::make_unique<State>()) {}
DemRaster::~DemRaster() = default;

ImportResult DemRaster::open(const std::string& path, std::string& detail)
{
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    QuietGdal quiet;
    FileResult checked = FileResult::Ok;
    if (!openRegularFile(path, checked)) {
        detail = path + ": " + describe(checked);
        return ImportResult::CannotOpen;
    }
    State& s = *state_;
    s.dataset.reset(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!s.dataset) {
        detail = gdalSays(path + ": not a raster GDAL reads");
        return ImportResult::CannotOpen;
    }
    if (GDALGetRasterCount(s.dataset.get()) < 1) {
        detail = path + ": no raster band";
        return ImportResult::NoElevationBand;
    }
    s.band = GDALGetRasterBand(s.dataset.get(), 1);
    const GDALColorInterp meaning = GDALGetRasterColorInterpretation(s.band);
    if (GDALDataTypeIsComplex(GDALGetRasterDataType(s.band)) || GDALGetRasterColorTable(s.band) ||
        meaning == GCI_PaletteIndex || meaning == GCI_RedBand || meaning == GCI_GreenBand ||
        meaning == GCI_BlueBand || meaning == GCI_AlphaBand) {
        detail = path + ": the first band holds colours, not heights";
        return ImportResult::NoElevationBand;
    }
    const OGRSpatialReferenceH srs = GDALGetSpatialRef(s.dataset.get());
    if (!srs || GDALGetGeoTransform(s.dataset.get(), s.geo) != CE_None) {
        detail = path + ": the raster says nothing of where it lies";
        return ImportResult::NoCoordinates;
    }
    s.source = withGisOrder(srs);
    s.geographic = wgs84();
    s.pixelForPixel = OSRIsProjected(s.source.get()) && near(OSRGetLinearUnits(s.source.get(), nullptr), 1.0) &&
                      s.geo[2] == 0 && s.geo[4] == 0 && near(s.geo[1], METRES_PER_SRTM_GRID) &&
                      near(-s.geo[5], METRES_PER_SRTM_GRID);

    // The valid data: the rows and columns between the first and last valid pixel.
    const int width = GDALGetRasterXSize(s.dataset.get());
    const int height = GDALGetRasterYSize(s.dataset.get());
    s.validX0 = 0, s.validY0 = 0, s.validX1 = width, s.validY1 = height;
    if (!(GDALGetMaskFlags(s.band) & GMF_ALL_VALID)) {
        const GDALRasterBandH mask = GDALGetMaskBand(s.band);
        std::vector<unsigned char> row(static_cast<std::size_t>(width));
        int x0 = width, x1 = 0, y0 = height, y1 = 0;
        for (int y = 0; y < height; ++y) {
            if (GDALRasterIO(mask, GF_Read, 0, y, width, 1, row.data(), width, 1, GDT_Byte, 0, 0) != CE_None) {
                detail = gdalSays(path + ": cannot be read");
                return ImportResult::CannotOpen;
            }
            const auto first = std::find_if(row.begin(), row.end(), [](unsigned char m) { return m != 0; });
            if (first == row.end())
                continue;
            const auto last = std::find_if(row.rbegin(), row.rend(), [](unsigned char m) { return m != 0; });
            x0 = std::min(x0, static_cast<int>(first - row.begin()));
            x1 = std::max(x1, static_cast<int>(row.rend() - last));
            y0 = std::min(y0, y);
            y1 = y + 1;
        }
        if (x0 >= x1) {
            detail = path + ": every pixel is nodata";
            return ImportResult::EmptyArea;
        }
        s.validX0 = x0, s.validY0 = y0, s.validX1 = x1, s.validY1 = y1;
    }
    return ImportResult::Ok;
}

std::string DemRaster::coordinateSystemName() const
{
    const OGRSpatialReferenceH srs = state_->source.get();
    const char* given = OSRGetName(srs);
    std::string name = given && *given && std::string(given) != "unknown" && std::string(given) != "unnamed" ? given : "";
    if (name.empty()) {
        // A system without a name is told by its definition.
        char* proj = nullptr;
        if (OSRExportToProj4(srs, &proj) == OGRERR_NONE && proj)
            name = proj;
        CPLFree(proj);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
    }
    const char* authority = OSRGetAuthorityName(srs, nullptr);
    const char* code = OSRGetAuthorityCode(srs, nullptr);
    if (authority && code)
        name += std::string(" (") + authority + ":" + code + ")";
    return name;
}

bool DemRaster::pixelForPixel() const
{
    return state_->pixelForPixel;
}

ImportResult DemRaster::centreOn(const std::optional<LatLon>& centre, LatLon& chosen, AreaRequest& room,
                                 std::string& detail)
{
    QuietGdal quiet;
    State& s = *state_;
    const Transform toGeographic(OCTNewCoordinateTransformation(s.source.get(), s.geographic.get()));
    const Transform fromGeographic(OCTNewCoordinateTransformation(s.geographic.get(), s.source.get()));
    if (!toGeographic || !fromGeographic) {
        detail = gdalSays("the raster's coordinate system cannot be turned into latitude and longitude");
        return ImportResult::NoCoordinates;
    }
    double x = 0, y = 0;
    if (centre) {
        if (!(std::fabs(centre->lat) < 90) || !(std::fabs(centre->lon) <= 180)) {
            detail = "--centre needs a latitude between -90 and 90 and a longitude between -180 and 180";
            return ImportResult::EntryRefused;
        }
        chosen = *centre;
        x = centre->lon, y = centre->lat;
        if (!OCTTransform(fromGeographic.get(), 1, &x, &y, nullptr)) {
            detail = "the centre lies outside the raster's coordinate system";
            return ImportResult::EntryRefused;
        }
    } else {
        s.toSource((s.validX0 + s.validX1) / 2.0, (s.validY0 + s.validY1) / 2.0, x, y);
        double lon = x, lat = y;
        if (!OCTTransform(toGeographic.get(), 1, &lon, &lat, nullptr)) {
            detail = gdalSays("the raster's middle has no latitude and longitude");
            return ImportResult::NoCoordinates;
        }
        chosen = {lat, lon};
    }

    if (s.pixelForPixel) {
        s.frame = withGisOrder(s.source.get());
        s.centreX = x, s.centreY = y;
    } else {
        s.frame.reset(OSRNewSpatialReference(nullptr));
        OSRSetWellKnownGeogCS(s.frame.get(), "WGS84");
        OSRSetTM(s.frame.get(), chosen.lat, chosen.lon, 1.0, 0.0, 0.0);
        OSRSetAxisMappingStrategy(s.frame.get(), OAMS_TRADITIONAL_GIS_ORDER);
        s.centreX = s.centreY = 0;
    }

    // The valid data's four edges in the frame; the room each way is the
    // nearest point of the edge on that side.
    const Transform toFrame(OCTNewCoordinateTransformation(s.source.get(), s.frame.get()));
    if (!toFrame) {
        detail = gdalSays("the raster cannot be placed in the map's frame");
        return ImportResult::NoCoordinates;
    }
    struct Edge {
        std::vector<double> x, y;
        double meanX = 0, meanY = 0;
    };
    std::array<Edge, 4> edges;
    const double corners[5][2] = {{double(s.validX0), double(s.validY0)}, {double(s.validX1), double(s.validY0)},
                                  {double(s.validX1), double(s.validY1)}, {double(s.validX0), double(s.validY1)},
                                  {double(s.validX0), double(s.validY0)}};
    for (int e = 0; e < 4; ++e) {
        Edge& edge = edges[static_cast<std::size_t>(e)];
        for (int i = 0; i <= EDGE_SAMPLES; ++i) {
            const double t = static_cast<double>(i) / EDGE_SAMPLES;
            double ex = 0, ey = 0;
            s.toSource(corners[e][0] + t * (corners[e + 1][0] - corners[e][0]),
                       corners[e][1] + t * (corners[e + 1][1] - corners[e][1]), ex, ey);
            if (OCTTransform(toFrame.get(), 1, &ex, &ey, nullptr)) {
                edge.x.push_back(ex - s.centreX);
                edge.y.push_back(ey - s.centreY);
            }
        }
        if (edge.x.empty()) {
            detail = "the raster's edges cannot be placed in the map's frame";
            return ImportResult::NoCoordinates;
        }
        for (std::size_t i = 0; i < edge.x.size(); ++i)
            edge.meanX += edge.x[i] / edge.x.size(), edge.meanY += edge.y[i] / edge.y.size();
    }
    const auto by = [&](auto better) {
        return *std::max_element(edges.begin(), edges.end(), [&](const Edge& a, const Edge& b) { return better(b, a); });
    };
    const Edge west = by([](const Edge& a, const Edge& b) { return a.meanX < b.meanX; });
    const Edge east = by([](const Edge& a, const Edge& b) { return a.meanX > b.meanX; });
    const Edge north = by([](const Edge& a, const Edge& b) { return a.meanY > b.meanY; });
    const Edge south = by([](const Edge& a, const Edge& b) { return a.meanY < b.meanY; });
    room.roomWest = -*std::max_element(west.x.begin(), west.x.end());
    room.roomEast = *std::min_element(east.x.begin(), east.x.end());
    room.roomNorth = *std::min_element(north.y.begin(), north.y.end());
    room.roomSouth = -*std::max_element(south.y.begin(), south.y.end());
    return ImportResult::Ok;
}

ImportResult DemRaster::blockHeights(const MapArea& area, std::vector<float>& heights, std::size_t& filled,
                                     std::string& detail)
{
    QuietGdal quiet;
    State& s = *state_;
    const double left = s.centreX - area.cols * METRES_PER_SRTM_GRID / 2;
    const double top = s.centreY + area.rows * METRES_PER_SRTM_GRID / 2;
    try {
        const Dataset blocks(GDALCreate(GDALGetDriverByName("MEM"), "", area.cols, area.rows, 1, GDT_Float32,
                                        nullptr));
        if (!blocks) {
            detail = gdalSays("no room for the map's heights");
            return ImportResult::NoMemory;
        }
        const GDALRasterBandH band = GDALGetRasterBand(blocks.get(), 1);
        GDALSetRasterNoDataValue(band, NO_HEIGHT);
        heights.assign(static_cast<std::size_t>(area.rows) * static_cast<std::size_t>(area.cols), NO_HEIGHT);
        int hasNoData = 0;
        const double noData = GDALGetRasterNoDataValue(s.band, &hasNoData);

        if (s.pixelForPixel) {
            // Block (r, c) is raster pixel (r0 + r, c0 + c); outside the raster stays a hole.
            const auto c0 = static_cast<int>(std::lround((left - s.geo[0]) / s.geo[1]));
            const auto r0 = static_cast<int>(std::lround((top - s.geo[3]) / s.geo[5]));
            const int x0 = std::max(c0, 0), y0 = std::max(r0, 0);
            const int x1 = std::min(c0 + area.cols, GDALGetRasterXSize(s.dataset.get()));
            const int y1 = std::min(r0 + area.rows, GDALGetRasterYSize(s.dataset.get()));
            if (x0 < x1 && y0 < y1) {
                float* first = &heights[static_cast<std::size_t>(y0 - r0) * area.cols + (x0 - c0)];
                if (GDALRasterIO(s.band, GF_Read, x0, y0, x1 - x0, y1 - y0, first, x1 - x0, y1 - y0, GDT_Float32,
                                 sizeof(float), static_cast<GSpacing>(sizeof(float)) * area.cols) != CE_None) {
                    detail = gdalSays("the raster cannot be read");
                    return ImportResult::ResampleFailed;
                }
            }
            if (hasNoData)
                for (float& h : heights)
                    if (h == static_cast<float>(noData))
                        h = NO_HEIGHT;
        } else {
            double frameGeo[6] = {left, METRES_PER_SRTM_GRID, 0, top, 0, -METRES_PER_SRTM_GRID};
            GDALSetGeoTransform(blocks.get(), frameGeo);
            GDALSetSpatialRef(blocks.get(), s.frame.get());
            GDALWarpOptions* options = GDALCreateWarpOptions();
            options->hSrcDS = s.dataset.get();
            options->hDstDS = blocks.get();
            options->nBandCount = 1;
            options->panSrcBands = static_cast<int*>(CPLMalloc(sizeof(int)));
            options->panDstBands = static_cast<int*>(CPLMalloc(sizeof(int)));
            options->panSrcBands[0] = options->panDstBands[0] = 1;
            options->eResampleAlg = GRA_Average;
            options->eWorkingDataType = GDT_Float32;
            if (hasNoData) {
                options->padfSrcNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
                options->padfSrcNoDataReal[0] = noData;
            }
            options->padfDstNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
            options->padfDstNoDataReal[0] = NO_HEIGHT;
            options->papszWarpOptions = CSLSetNameValue(options->papszWarpOptions, "INIT_DEST", "NO_DATA");
            options->pTransformerArg = GDALCreateGenImgProjTransformer2(s.dataset.get(), blocks.get(), nullptr);
            options->pfnTransformer = GDALGenImgProjTransform;
            CPLErr warped = CE_Failure;
            if (options->pTransformerArg) {
                const GDALWarpOperationH warp = GDALCreateWarpOperation(options);
                if (warp) {
                    warped = GDALChunkAndWarpImage(warp, 0, 0, area.cols, area.rows);
                    GDALDestroyWarpOperation(warp);
                }
                GDALDestroyGenImgProjTransformer(options->pTransformerArg);
            }
            GDALDestroyWarpOptions(options);
            if (warped != CE_None ||
                GDALRasterIO(band, GF_Read, 0, 0, area.cols, area.rows, heights.data(), area.cols, area.rows,
                             GDT_Float32, 0, 0) != CE_None) {
                detail = gdalSays("GDAL's warper stopped");
                return ImportResult::ResampleFailed;
            }
        }

        const auto hole = [](float h) { return h == NO_HEIGHT || std::isnan(h); };
        filled = static_cast<std::size_t>(std::count_if(heights.begin(), heights.end(), hole));
        if (filled == heights.size()) {
            detail = "the area lies outside the raster's valid data";
            return ImportResult::EmptyArea;
        }
        if (filled > 0) {
            // As gdal_fillnodata does: each hole from the nearest heights around it, however far.
            for (float& h : heights)
                if (std::isnan(h))
                    h = NO_HEIGHT;
            if (GDALRasterIO(band, GF_Write, 0, 0, area.cols, area.rows, heights.data(), area.cols, area.rows,
                             GDT_Float32, 0, 0) != CE_None ||
                GDALFillNodata(band, nullptr, area.rows + area.cols, 0, 0, nullptr, nullptr, nullptr) != CE_None ||
                GDALRasterIO(band, GF_Read, 0, 0, area.cols, area.rows, heights.data(), area.cols, area.rows,
                             GDT_Float32, 0, 0) != CE_None) {
                detail = gdalSays("the holes could not be filled");
                return ImportResult::ResampleFailed;
            }
        }
    } catch (const std::bad_alloc&) {
        return ImportResult::NoMemory;
    }
    return ImportResult::Ok;
}

std::array<LatLon, 4> DemRaster::corners(const MapArea& area) const
{
    QuietGdal quiet;
    const State& s = *state_;
    const Transform toGeographic(OCTNewCoordinateTransformation(s.frame.get(), s.geographic.get()));
    const double halfWidth = area.cols * METRES_PER_SRTM_GRID / 2;
    const double halfHeight = area.rows * METRES_PER_SRTM_GRID / 2;
    const double sides[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    std::array<LatLon, 4> corners{};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        double x = s.centreX + sides[i][0] * halfWidth, y = s.centreY + sides[i][1] * halfHeight;
        if (toGeographic && OCTTransform(toGeographic.get(), 1, &x, &y, nullptr))
            corners[i] = {y, x};
        else
            corners[i] = {std::nan(""), std::nan("")};
    }
    return corners;
}

} // namespace qarn
