#pragma once

// A stand-in for a real elevation tile: a 1 arc-second geographic GeoTIFF
// (16-bit heights, SRTM's layout) of fractal hills and valleys, written
// through GDAL. Needs GDAL; throws std::runtime_error when it cannot write.

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gdal.h>
#include <ogr_srs_api.h>

namespace qarn_test {

// Smooth noise in 0..1 on a unit lattice.
inline double latticeNoise(double x, double y)
{
    const auto corner = [](std::int64_t i, std::int64_t j) {
        std::uint64_t h = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return static_cast<double>(h % 1000003) / 1000003.0;
    };
    const double fx = std::floor(x), fy = std::floor(y);
    const auto i = static_cast<std::int64_t>(fx), j = static_cast<std::int64_t>(fy);
    const double u = (x - fx) * (x - fx) * (3 - 2 * (x - fx)), v = (y - fy) * (y - fy) * (3 - 2 * (y - fy));
    return (corner(i, j) * (1 - u) + corner(i + 1, j) * u) * (1 - v) +
           (corner(i, j + 1) * (1 - u) + corner(i + 1, j + 1) * u) * v;
}

// Metres above the sea at (x, y) kilometres: ridges some 10 km apart, detail down to 150 m.
inline double fractalHeight(double xKm, double yKm)
{
    double height = 0, amplitude = 1400, frequency = 1 / 12.0;
    for (int octave = 0; octave < 7; ++octave, amplitude *= 0.45, frequency *= 2.1)
        height += amplitude * (1 - std::fabs(2 * latticeNoise(xKm * frequency, yKm * frequency) - 1));
    return height;
}

// A `side` x `side` tile whose south-west pixel centre is at (lat, lon), pixels 1 arc-second.
inline void writeFractalTile(const std::string& path, int side, double lat, double lon)
{
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), side, side, 1, GDT_Int16, nullptr);
    if (!ds)
        throw std::runtime_error("cannot write " + path);
    const double step = 1 / 3600.0;
    double geo[6] = {lon - step / 2, step, 0, lat + (side - 0.5) * step, 0, -step};
    GDALSetGeoTransform(ds, geo);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 4326);
    GDALSetSpatialRef(ds, srs);
    OSRDestroySpatialReference(srs);
    std::vector<std::int16_t> row(static_cast<std::size_t>(side));
    const double kmPerDegree = 111.2;
    for (int y = 0; y < side; ++y) {
        const double latHere = lat + (side - 1 - y) * step;
        for (int x = 0; x < side; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<std::int16_t>(std::lround(fractalHeight(
                x * step * kmPerDegree * std::cos(latHere * M_PI / 180), (side - 1 - y) * step * kmPerDegree)));
        if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, y, side, 1, row.data(), side, 1, GDT_Int16, 0, 0) !=
            CE_None)
            throw std::runtime_error("cannot write " + path);
    }
    GDALClose(ds);
}

} // namespace qarn_test
