// The 3D view's mesh and camera, without OpenGL.
#include "terrain_view/mesh/orbit_camera.h"
#include "terrain_view/mesh/terrain_mesh.h"

#include "forge/output/relief_preview.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qarn;

namespace {

constexpr double CELL = 100.0;

TerrainHeights plane(int rows, int cols, double east, double south)
{
    TerrainHeights t{rows, cols, {}, {}, {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            t.heights.push_back(static_cast<float>(500.0 + east * c + south * r));
    return t;
}

// The ground the triangles of one level cover, seen from above: skirts hang
// straight down and cover none.
double coveredArea(const TerrainMesh& mesh, int level)
{
    const IndexRange* range = nullptr;
    double area = 0.0;
    for (const MeshChunk& chunk : mesh.chunks) {
        range = &chunk.levels[static_cast<std::size_t>(level)];
        for (std::uint32_t i = range->first; i < range->first + range->count; i += 3) {
            const TerrainVertex& a = mesh.vertices.at(mesh.indices.at(i));
            const TerrainVertex& b = mesh.vertices.at(mesh.indices.at(i + 1));
            const TerrainVertex& c = mesh.vertices.at(mesh.indices.at(i + 2));
            area += std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
        }
    }
    return area;
}

std::size_t triangles(const TerrainMesh& mesh, int level)
{
    std::size_t n = 0;
    for (const MeshChunk& chunk : mesh.chunks)
        n += chunk.levels[static_cast<std::size_t>(level)].count / 3;
    return n;
}

} // namespace

// Every level covers the whole map, partial chunks included, with fewer triangles each.
TEST(TerrainMesh, EveryLevelCoversTheMap)
{
    const struct {
        int rows, cols;
    } sizes[] = {{2, 2}, {33, 33}, {45, 70}, {37, 101}, {540, 540}};
    for (const auto& s : sizes) {
        const TerrainMesh mesh = buildTerrainMesh(plane(s.rows, s.cols, 3.0, -2.0), CELL);
        ASSERT_EQ(mesh.result, MeshResult::Ok);
        for (int level = 0; level < MESH_LEVELS; ++level) {
            EXPECT_NEAR(coveredArea(mesh, level), (s.rows - 1) * (s.cols - 1) * CELL * CELL, 1e-3 * CELL * CELL)
                << s.rows << " x " << s.cols << " level " << level;
            if (level > 0) {
                EXPECT_LE(triangles(mesh, level), triangles(mesh, level - 1));
            }
        }
        if (s.rows == 540) {
            EXPECT_LT(triangles(mesh, 2) * 10, triangles(mesh, 0));
        }
    }
}

// A cell outside the map takes every triangle touching it away, and its
// height counts for nothing.
TEST(TerrainMesh, OutsideCellsAreLeftOut)
{
    TerrainHeights t = plane(5, 5, 0.0, 0.0);
    t.outside.assign(25, 0);
    t.outside[12] = 1;
    t.heights[12] = 9000.0f;
    const TerrainMesh mesh = buildTerrainMesh(t, CELL);
    EXPECT_NEAR(coveredArea(mesh, 0), 12 * CELL * CELL, 1e-6);
    EXPECT_EQ(mesh.span, 0.0);
}

// Colours follow the relief's ramp, water is flat in the water colour, and
// the slopes point uphill.
TEST(TerrainMesh, ColoursAndSlopes)
{
    TerrainHeights t = plane(3, 4, 10.0, -30.0); // rises east and north
    t.flat.assign(12, 0);
    t.flat[11] = 1;
    const TerrainMesh mesh = buildTerrainMesh(t, CELL);
    const TerrainVertex& lowest = mesh.vertices[11 - 3]; // row 2, col 0: 500 - 60
    const TerrainVertex& highest = mesh.vertices[3];     // row 0, col 3: 500 + 30
    const TerrainVertex& middle = mesh.vertices[5];      // row 1, col 1
    const TerrainVertex& water = mesh.vertices[11];
    const ReliefColour low = reliefHeightColour(0.0);
    EXPECT_EQ((std::array<int, 3>{lowest.red, lowest.green, lowest.blue}),
              (std::array<int, 3>{static_cast<int>(low.red), static_cast<int>(low.green), static_cast<int>(low.blue)}));
    EXPECT_EQ((std::array<int, 4>{highest.red, highest.green, highest.blue, highest.water}),
              (std::array<int, 4>{250, 250, 250, 0}));
    EXPECT_EQ((std::array<int, 4>{water.red, water.green, water.blue, water.water}), (std::array<int, 4>{62, 120, 196, 255}));
    EXPECT_EQ(water.slopeEast, 0.0f);
    EXPECT_EQ(water.slopeNorth, 0.0f);
    EXPECT_FLOAT_EQ(middle.slopeEast, 0.1f);
    EXPECT_FLOAT_EQ(middle.slopeNorth, 0.3f);
    EXPECT_FLOAT_EQ(middle.z, 40.0f); // 500 + 10 - 30 over the lowest, 440
    EXPECT_LT(highest.x, 1.6 * CELL);
    EXPECT_GT(highest.y, 0.0); // row 0 is north
}

TEST(TerrainMesh, RefusedInput)
{
    const struct {
        TerrainHeights terrain;
        MeshResult result;
        const char* words;
    } cases[] = {
        {TerrainHeights{0, 5, {}, {}, {}}, MeshResult::NoCells, "there are no heights to show"},
        {TerrainHeights{2, 2, {1, 2, 3}, {}, {}}, MeshResult::NoCells, "there are no heights to show"},
        {TerrainHeights{2, 2, {1, 2, 3, 4}, {1}, {}}, MeshResult::NoCells, "there are no heights to show"},
        {TerrainHeights{20000, 20000, {}, {}, {}}, MeshResult::TooLarge, "the map is too large to show"},
    };
    for (const auto& c : cases) {
        const TerrainMesh mesh = buildTerrainMesh(c.terrain, CELL);
        EXPECT_EQ(mesh.result, c.result);
        EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty());
        EXPECT_STREQ(describe(mesh.result), c.words);
    }
    EXPECT_STREQ(describe(MeshResult::NoMemory), "there is not enough memory to show the map");
}

// Near chunks are drawn in full, far ones at the coarsest level, never finer farther off.
TEST(TerrainMesh, LevelsCoarsenWithDistance)
{
    const TerrainMesh mesh = buildTerrainMesh(plane(200, 200, 1.0, 1.0), CELL);
    const MeshChunk& chunk = mesh.chunks.front();
    int last = 0;
    for (double d = 0.0; d < 1e7; d = d * 1.5 + 100.0) {
        const int level = chooseLevel(chunk, chunk.centre + Vec3{0.0, 0.0, d}, 1000.0, CELL, 2.0);
        EXPECT_GE(level, last);
        last = level;
    }
    EXPECT_EQ(chooseLevel(chunk, chunk.centre, 1000.0, CELL, 1.0), 0);
    EXPECT_EQ(last, MESH_LEVELS - 1);
}

class Camera : public ::testing::Test {
protected:
    void SetUp() override
    {
        camera.setViewport(800, 600);
        camera.frame({0.0, 0.0, 50.0}, 6000.0, 4000.0, 100.0);
    }
    static void expectPixel(const Vec3& got, double x, double y)
    {
        EXPECT_NEAR(got.x, x, 1e-6);
        EXPECT_NEAR(got.y, y, 1e-6);
    }
    OrbitCamera camera;
};

// The framed box fills the view without leaving it.
TEST_F(Camera, FramesTheBox)
{
    double left = 1e9, right = -1e9;
    for (double x : {-3000.0, 3000.0})
        for (double y : {-2000.0, 2000.0})
            for (double z : {0.0, 100.0}) {
                const Vec3 p = camera.toPixels({x, y, z});
                EXPECT_TRUE(p.x >= 0 && p.x <= 800 && p.y >= 0 && p.y <= 600) << x << " " << y << " " << z;
                left = std::min(left, p.x);
                right = std::max(right, p.x);
            }
    EXPECT_GT(right - left, 600.0);
    expectPixel(camera.toPixels(camera.target()), 400.0, 300.0);
}

// Straight down north is up; facing east north is on the left.
TEST_F(Camera, Orientation)
{
    camera.frameFromAbove();
    const Vec3 east = camera.toPixels({1000.0, 0.0, 50.0});
    const Vec3 north = camera.toPixels({0.0, 1000.0, 50.0});
    EXPECT_GT(east.x, 400.0);
    EXPECT_NEAR(east.y, 300.0, 1e-6);
    EXPECT_LT(north.y, 300.0);
    EXPECT_NEAR(north.x, 400.0, 1e-6);
    camera.setHeading(90.0);
    camera.setPitch(40.0);
    EXPECT_LT(camera.toPixels({0.0, 1000.0, 50.0}).x, 400.0);
    EXPECT_LT(camera.toPixels({1000.0, 0.0, 50.0}).y, 300.0); // ahead: higher on the screen
}

// The wheel keeps the point it zooms about under the cursor, and the land
// follows a panning mouse.
TEST_F(Camera, ZoomAndPanFollowTheCursor)
{
    const Vec3 under = camera.groundPointAt(600.0, 200.0);
    expectPixel(camera.toPixels(under), 600.0, 200.0);
    const double before = camera.distance();
    camera.zoom(2.0, under);
    expectPixel(camera.toPixels(under), 600.0, 200.0);
    EXPECT_NEAR(camera.distance(), before * 0.85 * 0.85, 1e-6);
    camera.frameFromAbove();
    const Vec3 grabbed = camera.groundPointAt(300.0, 250.0);
    camera.pan(40.0, -25.0);
    expectPixel(camera.toPixels(grabbed), 340.0, 225.0);
}

TEST_F(Camera, AnglesStayInRange)
{
    camera.setPitch(120.0);
    EXPECT_EQ(camera.pitch(), 90.0);
    camera.orbit(0.0, -1000.0);
    EXPECT_EQ(camera.pitch(), OrbitCamera::MIN_PITCH);
    camera.setHeading(-30.0);
    EXPECT_EQ(camera.heading(), 330.0);
    camera.orbit(-100.0, 0.0); // 0.4 degrees a pixel
    EXPECT_NEAR(camera.heading(), 10.0, 1e-9);
}
