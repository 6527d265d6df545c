// cIsoSurfaceGrid: lattice set-up and the immediate-mode marching-cubes drawing.
#include "render/IsoSurfaceGrid.h"

#include <epoxy/gl.h>

#include <new>

namespace VantorGL {

cIsoSurfaceGrid::~cIsoSurfaceGrid() { Free(); }

bool cIsoSurfaceGrid::Allocate() {
    Free();
    points = new (std::nothrow) SamplePoint[kPointCapacity];
    cubes = new (std::nothrow) Cube[kCubeCapacity];
    if (!points || !cubes) {
        Free();
        return false;
    }
    return true;
}

// Lattice coordinate of index i on an n-cube axis: i * 20 / n - 10, exact at both ends.
static float Coordinate(int i, int n) {
    return float(i) * (2.0f * cIsoSurfaceGrid::kHalfExtent) / float(n) - cIsoSurfaceGrid::kHalfExtent;
}

bool cIsoSurfaceGrid::Build(int n) {
    // The one caller asks for n = 30; outside the capacity nothing is built rather
    // than writing past the arrays.
    if (!points || !cubes || n < 1 || n > kMaxCubesPerAxis) {
        pointCount = 0;
        cubeCount = 0;
        return true;
    }
    const int m = n + 1;
    pointCount = m * m * m;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            for (int k = 0; k < m; ++k)
                points[(i * m + j) * m + k].position.Set(Coordinate(i, n), Coordinate(j, n), Coordinate(k, n));
    cubeCount = n * n * n;
    auto P = [&](int p, int q, int r) { return &points[(p * m + q) * m + r]; };
    int c = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k) {
                SamplePoint** corner = cubes[c++].corners;
                corner[0] = P(i, j, k);
                corner[1] = P(i, j, k + 1);
                corner[2] = P(i, j + 1, k + 1);
                corner[3] = P(i, j + 1, k);
                corner[4] = P(i + 1, j, k);
                corner[5] = P(i + 1, j, k + 1);
                corner[6] = P(i + 1, j + 1, k + 1);
                corner[7] = P(i + 1, j + 1, k);
            }
    return true;
}

static void EmitGridVertex(const cIsoSurfaceGrid::EdgeVertex& v) {
    glTexCoord2f(v.normal.x / 1.0f, -v.normal.y / 1.0f);
    glNormal3fv(v.normal.Data());
    glVertex3fv(v.position.Data());
}

void cIsoSurfaceGrid::Polygonise(float threshold) {
    trianglesEmitted = 0;
    glBegin(GL_TRIANGLES);
    trianglesEmitted = PolygoniseInto(threshold, [](const EdgeVertex& a, const EdgeVertex& b, const EdgeVertex& c) {
        EmitGridVertex(a);
        EmitGridVertex(b);
        EmitGridVertex(c);
    });
    glEnd();
}

void cIsoSurfaceGrid::Free() {
    delete[] points;
    delete[] cubes;
    points = nullptr;
    cubes = nullptr;
    pointCount = 0;
    cubeCount = 0;
}

}  // namespace VantorGL
