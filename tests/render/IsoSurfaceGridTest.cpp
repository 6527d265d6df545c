// Tests for the marching-cubes tables and grid: every table row cuts only crossed edges, and
// fields polygonise into closed, consistently wound surfaces (ambiguous faces included).
#include "render/IsoSurfaceGrid.h"

#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <tuple>
#include <vector>

using VantorGL::cIsoSurfaceGrid;
using VantorGL::cVector3f;
using VantorGL::kCubeEdgeCorners;
using VantorGL::kMarchingCubes;

TEST(MarchingCubesTables, EveryRowCutsOnlyEdgesWhoseCornersDiffer) {
    for (int cube = 0; cube < 256; ++cube) {
        int expectedMask = 0;
        for (int e = 0; e < 12; ++e) {
            const bool a = (cube >> kCubeEdgeCorners[e][0]) & 1, b = (cube >> kCubeEdgeCorners[e][1]) & 1;
            if (a != b) expectedMask |= 1 << e;
        }
        EXPECT_EQ(kMarchingCubes.edges[cube], expectedMask) << "case " << cube;

        const int* row = kMarchingCubes.triangles[cube];
        int length = 0;
        while (length < 16 && row[length] != -1) ++length;
        ASSERT_LT(length, 16) << "case " << cube << " has no end marker";
        EXPECT_EQ(length % 3, 0) << "case " << cube;
        EXPECT_LE(length, 15);
        int used = 0;
        for (int i = 0; i < length; ++i) {
            ASSERT_GE(row[i], 0);
            ASSERT_LT(row[i], 12);
            EXPECT_TRUE(expectedMask & (1 << row[i])) << "case " << cube << " uses uncut edge " << row[i];
            used |= 1 << row[i];
        }
        EXPECT_EQ(used, expectedMask) << "case " << cube << " leaves a cut edge out";
        for (int i = 0; i < length; i += 3)
            EXPECT_TRUE(row[i] != row[i + 1] && row[i + 1] != row[i + 2] && row[i] != row[i + 2]) << cube;
    }
}

namespace {

// The lattice edge a surface vertex lies on: two of its coordinates are exactly lattice
// values (interpolation along an axis leaves the other two untouched).
using EdgeKey = std::array<int, 4>;  // axis, then the three lower lattice indices

EdgeKey KeyOf(const cVector3f& p, int n) {
    const float c[3] = {p.x, p.y, p.z};
    EdgeKey key{-1, 0, 0, 0};
    for (int a = 0; a < 3; ++a) {
        const double index = (double(c[a]) + 10.0) * n / 20.0;
        const double nearest = std::round(index);
        if (std::fabs(index - nearest) > 1e-4) {
            key[0] = a;
            key[1 + a] = int(std::floor(index));
        } else {
            key[1 + a] = int(nearest);
        }
    }
    return key;
}

struct Surface {
    std::vector<std::array<cVector3f, 3>> triangles;
};

Surface Collect(cIsoSurfaceGrid& grid, float threshold) {
    Surface s;
    const int count = grid.PolygoniseInto(threshold, [&](const auto& a, const auto& b, const auto& c) {
        s.triangles.push_back({a.position, b.position, c.position});
    });
    EXPECT_EQ(count, int(s.triangles.size()));
    return s;
}

// Every edge is shared by exactly two triangles, in opposite directions.
void ExpectClosedAndConsistent(const Surface& s, int n) {
    std::map<std::pair<EdgeKey, EdgeKey>, int> directed;
    for (const auto& t : s.triangles) {
        EdgeKey k[3] = {KeyOf(t[0], n), KeyOf(t[1], n), KeyOf(t[2], n)};
        for (int i = 0; i < 3; ++i) {
            ASSERT_GE(k[i][0], 0) << "a vertex sits exactly on a lattice point";
            ASSERT_NE(k[i], k[(i + 1) % 3]) << "degenerate triangle";
            ++directed[{k[i], k[(i + 1) % 3]}];
        }
    }
    int open = 0, doubled = 0;
    for (const auto& [edge, uses] : directed) {
        if (uses != 1) {
            ++doubled;
            ADD_FAILURE() << "edge " << edge.first[0] << ":" << edge.first[1] << "," << edge.first[2] << ","
                          << edge.first[3] << " -> " << edge.second[0] << ":" << edge.second[1] << ","
                          << edge.second[2] << "," << edge.second[3];
        }
        if (!directed.count({edge.second, edge.first})) ++open;
    }
    EXPECT_EQ(open, 0) << "edges without a reverse partner (holes or flipped triangles)";
    EXPECT_EQ(doubled, 0) << "directed edges used twice (inconsistent winding)";
}

cVector3f Cross(const cVector3f& a, const cVector3f& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

TEST(IsoSurfaceGrid, BuildSpansMinusTenToTen) {
    cIsoSurfaceGrid grid;
    ASSERT_TRUE(grid.Allocate());
    const int n = 30, m = n + 1;
    const float half = cIsoSurfaceGrid::kHalfExtent;
    EXPECT_TRUE(grid.Build(n));
    EXPECT_EQ(grid.pointCount, m * m * m);
    EXPECT_EQ(grid.cubeCount, n * n * n);
    const auto& first = grid.points[0].position;
    const auto& last = grid.points[grid.pointCount - 1].position;
    EXPECT_EQ(first.x, -half);
    EXPECT_EQ(first.z, -half);
    EXPECT_EQ(last.x, half);
    EXPECT_EQ(last.y, half);
    EXPECT_EQ(last.z, half);
    // Corner 1 of cube 0 is one step along k (z), corner 4 one step along i (x).
    EXPECT_EQ(grid.cubes[0].corners[1], &grid.points[1]);
    EXPECT_EQ(grid.cubes[0].corners[4], &grid.points[m * m]);
    EXPECT_EQ(grid.cubes[0].corners[6], &grid.points[(1 * m + 1) * m + 1]);
    // Every cube is one lattice step a side.
    for (int c = 0; c < grid.cubeCount; c += 101) {
        const auto& a = grid.cubes[c].corners[0]->position;
        const auto& b = grid.cubes[c].corners[6]->position;
        ASSERT_NEAR(b.x - a.x, 2 * half / n, 1e-5f) << "cube " << c;
        ASSERT_NEAR(std::fabs(b.z - a.z), 2 * half / n, 1e-5f) << "cube " << c;
    }
    // The largest grid fits; beyond the capacity nothing is built.
    EXPECT_TRUE(grid.Build(cIsoSurfaceGrid::kMaxCubesPerAxis));
    EXPECT_EQ(grid.pointCount, cIsoSurfaceGrid::kPointCapacity);
    grid.Build(cIsoSurfaceGrid::kMaxCubesPerAxis + 1);
    EXPECT_EQ(grid.cubeCount, 0);
    grid.Free();
    EXPECT_EQ(grid.points, nullptr);
    EXPECT_EQ(grid.pointCount, 0);
}

TEST(IsoSurfaceGrid, SphereIsClosedOutwardFacingAndHasTheRightArea) {
    cIsoSurfaceGrid grid;
    ASSERT_TRUE(grid.Allocate());
    const int n = 30;
    grid.Build(n);
    const float radius = 6.3f;
    for (int i = 0; i < grid.pointCount; ++i) {
        auto& p = grid.points[i];
        const float r = std::sqrt(p.position.x * p.position.x + p.position.y * p.position.y +
                                  p.position.z * p.position.z);
        p.value = radius - r;  // high inside, as a metaball field
        p.normal = r > 0 ? p.position * (1.0f / r) : cVector3f(0, 1, 0);
    }
    const Surface s = Collect(grid, 0.0f);
    ASSERT_GT(s.triangles.size(), 1000u);
    ExpectClosedAndConsistent(s, n);

    double area = 0.0;
    int inward = 0;
    for (const auto& t : s.triangles) {
        const cVector3f normal = Cross(t[1] - t[0], t[2] - t[0]);
        const double twiceArea = std::sqrt(double(normal.x) * normal.x + double(normal.y) * normal.y +
                                           double(normal.z) * normal.z);
        area += twiceArea / 2.0;
        // Emitted counter-clockwise seen from the below-threshold side: here, the outside.
        const float outward = normal.x * (t[0].x + t[1].x + t[2].x) + normal.y * (t[0].y + t[1].y + t[2].y) +
                              normal.z * (t[0].z + t[1].z + t[2].z);
        if (twiceArea > 1e-6 && outward <= 0.0f) ++inward;
    }
    EXPECT_EQ(inward, 0);
    EXPECT_NEAR(area, 4.0 * M_PI * radius * radius, 0.02 * 4.0 * M_PI * radius * radius);
}

TEST(IsoSurfaceGrid, RandomFieldsWithAmbiguousFacesStayClosed) {
    cIsoSurfaceGrid grid;
    ASSERT_TRUE(grid.Allocate());
    const int n = 8, m = n + 1;
    grid.Build(n);
    std::mt19937 random(2010);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int round = 0; round < 200; ++round) {
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < m; ++j)
                for (int k = 0; k < m; ++k) {
                    const bool border = i == 0 || j == 0 || k == 0 || i == n || j == n || k == n;
                    float v = border ? -1.0f : value(random);
                    if (std::fabs(v) < 1e-3f) v = 0.5f;  // keep vertices off lattice points
                    grid.points[(i * m + j) * m + k].value = v;
                }
        const Surface s = Collect(grid, 0.0f);
        ASSERT_FALSE(s.triangles.empty());
        ExpectClosedAndConsistent(s, n);
        if (HasFailure()) break;
    }
}

TEST(IsoSurfaceGrid, PolygoniseDrawsWhatItCountsAndNothingForUniformFields) {
    VantorGLTest::GlTestContext gl;
    REQUIRE_GL(gl);
    cIsoSurfaceGrid grid;
    grid.Polygonise(0.5f);  // before Build: nothing
    EXPECT_EQ(grid.trianglesEmitted, 0);
    ASSERT_TRUE(grid.Allocate());
    grid.Build(10);
    for (float fill : {0.0f, 1.0f}) {
        for (int i = 0; i < grid.pointCount; ++i) grid.points[i].value = fill;
        grid.Polygonise(fill == 0.0f ? 0.5f : 1.0f);  // all below; all at the threshold
        EXPECT_EQ(grid.trianglesEmitted, 0);
    }
    for (int i = 0; i < grid.pointCount; ++i) {
        const auto& p = grid.points[i].position;
        grid.points[i].value = 5.0f - std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    }
    std::vector<GLfloat> buffer(200000);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.08f, 0.08f, 0.08f);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    grid.Polygonise(0.0f);
    const GLint used = glRenderMode(GL_RENDER);
    ASSERT_GT(used, 0);
    EXPECT_GT(grid.trianglesEmitted, 100);
    EXPECT_EQ(used, grid.trianglesEmitted * 11);  // token, count, three xyz vertices each
}
