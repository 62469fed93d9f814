#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "terrain_view/mesh/terrain_heights.h"
#include "terrain_view/mesh/view_maths.h"

namespace qarn {

// The 3D view's mesh of a height field: one vertex a cell centre, in square
// chunks that each carry triangle lists at several levels of detail (every
// cell, every second, fourth ... cell), so far chunks draw fewer triangles.
// Chunk edges hang a skirt down, hiding the seams where two levels meet.
// Errors: building returns a MeshResult and an empty mesh; nothing is thrown.
// The mesh owns its buffers.

enum class MeshResult {
    Ok,
    NoCells,  // no rows or columns, or fewer heights than cells
    TooLarge, // more cells than the mesh can index
    NoMemory,
};

// Plain words for a code.
const char* describe(MeshResult result);

// 24 bytes, as the GPU reads it: position in metres (x east, y north, z up,
// z measured from the map's lowest cell), the surface's slope (dz/dx, dz/dy)
// for lighting at any exaggeration, colour, and 255 for water or 0 for land.
struct TerrainVertex {
    float x, y, z;
    float slopeEast, slopeNorth;
    std::uint8_t red, green, blue, water;
};

inline constexpr int MESH_CHUNK_CELLS = 32;
inline constexpr int MESH_LEVELS = 5; // cell steps 1, 2, 4, 8, 16
// Triangles are made about this many pixels across on the screen.
inline constexpr double MESH_TRIANGLE_PIXELS = 8.0;

struct IndexRange {
    std::uint32_t first = 0; // into TerrainMesh::indices
    std::uint32_t count = 0;
};

struct MeshChunk {
    Vec3 centre;          // of its bounds, z unexaggerated
    double halfWidth = 0; // horizontal half-diagonal, metres
    double halfHeight = 0;
    std::array<IndexRange, MESH_LEVELS> levels;
};

struct TerrainMesh {
    MeshResult result = MeshResult::NoCells;
    int rows = 0, cols = 0;
    double cellSize = 0.0; // metres between neighbouring cells
    double lowest = 0.0;   // metres: the height z = 0 stands for
    double span = 0.0;     // metres from the lowest to the highest cell
    std::vector<TerrainVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<MeshChunk> chunks;

    double width() const { return cols > 1 ? (cols - 1) * cellSize : 0.0; }
    double depth() const { return rows > 1 ? (rows - 1) * cellSize : 0.0; }
    // Where cell (row, col) stands in the mesh's coordinates.
    Vec3 cellPosition(int row, int col, double height) const;
};

// The mesh of the heights, cells `cellSize` metres apart: coloured by height
// as the relief preview colours them, flat areas as water at their level,
// cells outside the map left out with every triangle touching them.
TerrainMesh buildTerrainMesh(const TerrainHeights& terrain, double cellSize);

// The level (0 the finest) to draw a chunk at, seen from `eye` through a view
// of `pixelsPerRadian` (viewport height over the vertical field of view), the
// heights stretched `exaggeration` times.
int chooseLevel(const MeshChunk& chunk, const Vec3& eye, double pixelsPerRadian, double cellSize,
                double exaggeration);

} // namespace qarn
