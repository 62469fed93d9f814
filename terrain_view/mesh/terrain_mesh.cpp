#include "terrain_view/mesh/terrain_mesh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "forge/output/relief_preview.h"

namespace qarn {

namespace {

// Above this the 32-bit indices (vertices and their skirt copies) could overflow.
constexpr std::int64_t MAX_CELLS = 200'000'000;

std::uint8_t channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::floor(value + 0.5), 0.0, 255.0));
}

// Sample positions from `first` to `last` every `step`, the last always kept.
void samples(int first, int last, int step, std::vector<int>& out)
{
    out.clear();
    for (int v = first; v < last; v += step)
        out.push_back(v);
    out.push_back(last);
}

class MeshBuilder {
public:
    MeshBuilder(const TerrainHeights& t, double cellSize, TerrainMesh& mesh) : t_(t), mesh_(mesh)
    {
        mesh_.rows = t.rows;
        mesh_.cols = t.cols;
        mesh_.cellSize = cellSize;
    }

    void build()
    {
        measure();
        makeVertices();
        makeSkirtVertices();
        makeChunks();
    }

private:
    std::size_t at(int r, int c) const
    {
        return static_cast<std::size_t>(r) * static_cast<std::size_t>(t_.cols) + static_cast<std::size_t>(c);
    }
    bool outside(int r, int c) const { return !t_.outside.empty() && t_.outside[at(r, c)] != 0; }
    bool flat(int r, int c) const { return !t_.flat.empty() && t_.flat[at(r, c)] != 0; }
    double height(int r, int c) const
    {
        const float h = t_.heights[at(r, c)];
        return std::isfinite(h) ? h : mesh_.lowest;
    }
    // A neighbour's height, the cell's own where the neighbour is off the map or outside it.
    double heightNear(int r, int c, int fromR, int fromC) const
    {
        if (r < 0 || r >= t_.rows || c < 0 || c >= t_.cols || outside(r, c))
            return height(fromR, fromC);
        return height(r, c);
    }

    void measure()
    {
        double lowest = std::numeric_limits<double>::infinity();
        double highest = -lowest;
        for (int r = 0; r < t_.rows; ++r)
            for (int c = 0; c < t_.cols; ++c) {
                const float h = t_.heights[at(r, c)];
                if (std::isfinite(h) && !outside(r, c)) {
                    lowest = std::min(lowest, static_cast<double>(h));
                    highest = std::max(highest, static_cast<double>(h));
                }
            }
        if (!std::isfinite(lowest))
            lowest = highest = 0.0;
        mesh_.lowest = lowest;
        mesh_.span = highest - lowest;
        // Deep enough to cover a seam between levels, and a wall round the map's edge.
        skirtDepth_ = std::max(mesh_.span * 0.08, mesh_.cellSize * 0.25);
    }

    void makeVertices()
    {
        mesh_.vertices.resize(static_cast<std::size_t>(t_.rows) * static_cast<std::size_t>(t_.cols));
        const double twoCells = 2.0 * mesh_.cellSize;
        for (int r = 0; r < t_.rows; ++r)
            for (int c = 0; c < t_.cols; ++c) {
                TerrainVertex& v = mesh_.vertices[at(r, c)];
                const double h = height(r, c);
                const Vec3 p = mesh_.cellPosition(r, c, h);
                v.x = static_cast<float>(p.x);
                v.y = static_cast<float>(p.y);
                v.z = static_cast<float>(p.z);
                const bool water = flat(r, c);
                // Row r - 1 lies north.
                v.slopeEast = water ? 0.0f
                                    : static_cast<float>((heightNear(r, c + 1, r, c) - heightNear(r, c - 1, r, c)) /
                                                         twoCells);
                v.slopeNorth = water ? 0.0f
                                     : static_cast<float>((heightNear(r - 1, c, r, c) - heightNear(r + 1, c, r, c)) /
                                                          twoCells);
                const ReliefColour colour =
                    water ? RELIEF_WATER_COLOUR
                          : reliefHeightColour(mesh_.span > 0.0 ? (h - mesh_.lowest) / mesh_.span : 0.0);
                v.red = channel(colour.red);
                v.green = channel(colour.green);
                v.blue = channel(colour.blue);
                v.water = water ? 255 : 0;
            }
    }

    // Copies of the vertices on chunk edges (rows, then columns), lowered to hang the skirts.
    void makeSkirtVertices()
    {
        rowLine_.assign(static_cast<std::size_t>(t_.rows), -1);
        colLine_.assign(static_cast<std::size_t>(t_.cols), -1);
        int rowLines = 0, colLines = 0;
        for (int r = 0; r < t_.rows; ++r)
            if (r % MESH_CHUNK_CELLS == 0 || r == t_.rows - 1)
                rowLine_[static_cast<std::size_t>(r)] = rowLines++;
        for (int c = 0; c < t_.cols; ++c)
            if (c % MESH_CHUNK_CELLS == 0 || c == t_.cols - 1)
                colLine_[static_cast<std::size_t>(c)] = colLines++;
        rowSkirts_ = mesh_.vertices.size();
        colSkirts_ = rowSkirts_ + static_cast<std::size_t>(rowLines) * static_cast<std::size_t>(t_.cols);
        mesh_.vertices.reserve(colSkirts_ + static_cast<std::size_t>(colLines) * static_cast<std::size_t>(t_.rows));
        for (int r = 0; r < t_.rows; ++r)
            if (rowLine_[static_cast<std::size_t>(r)] >= 0)
                for (int c = 0; c < t_.cols; ++c)
                    pushLowered(r, c);
        for (int c = 0; c < t_.cols; ++c)
            if (colLine_[static_cast<std::size_t>(c)] >= 0)
                for (int r = 0; r < t_.rows; ++r)
                    pushLowered(r, c);
    }

    void pushLowered(int r, int c)
    {
        TerrainVertex v = mesh_.vertices[at(r, c)];
        v.z -= static_cast<float>(skirtDepth_);
        mesh_.vertices.push_back(v);
    }

    std::uint32_t vertex(int r, int c) const { return static_cast<std::uint32_t>(at(r, c)); }
    std::uint32_t rowSkirt(int r, int c) const
    {
        return static_cast<std::uint32_t>(rowSkirts_ +
                                          static_cast<std::size_t>(rowLine_[static_cast<std::size_t>(r)]) * t_.cols + c);
    }
    std::uint32_t colSkirt(int r, int c) const
    {
        return static_cast<std::uint32_t>(colSkirts_ +
                                          static_cast<std::size_t>(colLine_[static_cast<std::size_t>(c)]) * t_.rows + r);
    }

    void quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
    {
        // a b / d c, two triangles.
        std::vector<std::uint32_t>& out = mesh_.indices;
        out.push_back(a);
        out.push_back(b);
        out.push_back(c);
        out.push_back(a);
        out.push_back(c);
        out.push_back(d);
    }

    void makeChunks()
    {
        if (t_.rows < 2 || t_.cols < 2)
            return;
        mesh_.indices.reserve(static_cast<std::size_t>(t_.rows) * static_cast<std::size_t>(t_.cols) * 8);
        std::vector<int> rs, cs;
        for (int r0 = 0; r0 < t_.rows - 1; r0 += MESH_CHUNK_CELLS)
            for (int c0 = 0; c0 < t_.cols - 1; c0 += MESH_CHUNK_CELLS) {
                const int r1 = std::min(r0 + MESH_CHUNK_CELLS, t_.rows - 1);
                const int c1 = std::min(c0 + MESH_CHUNK_CELLS, t_.cols - 1);
                MeshChunk chunk = bounds(r0, r1, c0, c1);
                for (int level = 0; level < MESH_LEVELS; ++level) {
                    chunk.levels[static_cast<std::size_t>(level)].first =
                        static_cast<std::uint32_t>(mesh_.indices.size());
                    samples(r0, r1, 1 << level, rs);
                    samples(c0, c1, 1 << level, cs);
                    surface(rs, cs);
                    skirts(rs, cs);
                    chunk.levels[static_cast<std::size_t>(level)].count = static_cast<std::uint32_t>(
                        mesh_.indices.size() - chunk.levels[static_cast<std::size_t>(level)].first);
                }
                mesh_.chunks.push_back(chunk);
            }
    }

    MeshChunk bounds(int r0, int r1, int c0, int c1) const
    {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                low = std::min(low, static_cast<double>(mesh_.vertices[at(r, c)].z));
                high = std::max(high, static_cast<double>(mesh_.vertices[at(r, c)].z));
            }
        MeshChunk chunk;
        const Vec3 a = mesh_.cellPosition(r0, c0, mesh_.lowest);
        const Vec3 b = mesh_.cellPosition(r1, c1, mesh_.lowest);
        chunk.centre = {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (low + high) / 2.0};
        chunk.halfWidth = length(Vec3{b.x - a.x, b.y - a.y, 0.0}) / 2.0;
        chunk.halfHeight = (high - low) / 2.0 + skirtDepth_;
        return chunk;
    }

    void surface(const std::vector<int>& rs, const std::vector<int>& cs)
    {
        for (std::size_t i = 0; i + 1 < rs.size(); ++i)
            for (std::size_t j = 0; j + 1 < cs.size(); ++j) {
                const int r = rs[i], rn = rs[i + 1], c = cs[j], cn = cs[j + 1];
                if (outside(r, c) || outside(r, cn) || outside(rn, cn) || outside(rn, c))
                    continue;
                quad(vertex(r, c), vertex(r, cn), vertex(rn, cn), vertex(rn, c));
            }
    }

    void skirts(const std::vector<int>& rs, const std::vector<int>& cs)
    {
        for (const int r : {rs.front(), rs.back()})
            for (std::size_t j = 0; j + 1 < cs.size(); ++j) {
                const int c = cs[j], cn = cs[j + 1];
                if (!outside(r, c) && !outside(r, cn))
                    quad(vertex(r, c), vertex(r, cn), rowSkirt(r, cn), rowSkirt(r, c));
            }
        for (const int c : {cs.front(), cs.back()})
            for (std::size_t i = 0; i + 1 < rs.size(); ++i) {
                const int r = rs[i], rn = rs[i + 1];
                if (!outside(r, c) && !outside(rn, c))
                    quad(vertex(r, c), vertex(rn, c), colSkirt(rn, c), colSkirt(r, c));
            }
    }

    const TerrainHeights& t_;
    TerrainMesh& mesh_;
    double skirtDepth_ = 0.0;
    std::vector<int> rowLine_, colLine_;
    std::size_t rowSkirts_ = 0, colSkirts_ = 0;
};

} // namespace

const char* describe(MeshResult result)
{
    switch (result) {
    case MeshResult::Ok:
        return "the view is ready";
    case MeshResult::NoCells:
        return "there are no heights to show";
    case MeshResult::TooLarge:
        return "the map is too large to show";
    case MeshResult::NoMemory:
        return "there is not enough memory to show the map";
    }
    return "unknown result";
}

Vec3 TerrainMesh::cellPosition(int row, int col, double height) const
{
    return {(col - (cols - 1) / 2.0) * cellSize, ((rows - 1) / 2.0 - row) * cellSize, height - lowest};
}

TerrainMesh buildTerrainMesh(const TerrainHeights& terrain, double cellSize)
{
    TerrainMesh mesh;
    const std::int64_t cells = std::int64_t{terrain.rows} * terrain.cols;
    if (cells > MAX_CELLS) {
        mesh.result = MeshResult::TooLarge;
        return mesh;
    }
    if (terrain.rows < 1 || terrain.cols < 1 || terrain.heights.size() < static_cast<std::size_t>(cells) ||
        (!terrain.flat.empty() && terrain.flat.size() < static_cast<std::size_t>(cells)) ||
        (!terrain.outside.empty() && terrain.outside.size() < static_cast<std::size_t>(cells)) || !(cellSize > 0.0))
        return mesh;
    try {
        MeshBuilder(terrain, cellSize, mesh).build();
    } catch (const std::bad_alloc&) {
        mesh = TerrainMesh{};
        mesh.result = MeshResult::NoMemory;
        return mesh;
    }
    mesh.result = MeshResult::Ok;
    return mesh;
}

int chooseLevel(const MeshChunk& chunk, const Vec3& eye, double pixelsPerRadian, double cellSize, double exaggeration)
{
    const Vec3 centre{chunk.centre.x, chunk.centre.y, chunk.centre.z * exaggeration};
    const double radius = std::hypot(chunk.halfWidth, chunk.halfHeight * exaggeration);
    const double distance = std::max(length(eye - centre) - radius, cellSize);
    const double cellPixels = cellSize / distance * pixelsPerRadian;
    int level = 0;
    while (level + 1 < MESH_LEVELS && cellPixels * (1 << (level + 1)) <= MESH_TRIANGLE_PIXELS)
        ++level;
    return level;
}

} // namespace qarn
