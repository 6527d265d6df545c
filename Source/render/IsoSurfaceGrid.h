// cIsoSurfaceGrid: the marching-cubes grid that turns a scalar field sampled on a cube lattice
// over -10..10 into a lit, textured triangle surface. Arrays are allocated once at a fixed
// capacity (60 cubes a side); Polygonise allocates nothing.
#pragma once

#include "render/MarchingCubesTables.h"
#include "render/Vector3.h"

#include <cstdint>

namespace VantorGL {

class cIsoSurfaceGrid {
public:
    // The capacity: 60 cubes a side, 61 points a side.
    static constexpr int kMaxCubesPerAxis = 60;
    static constexpr int kPointCapacity = 226981;  // 61^3
    static constexpr int kCubeCapacity = 216000;   // 60^3
    static constexpr float kHalfExtent = 10.0f;   // the grid spans -10..10 on every axis

    struct SamplePoint {
        cVector3f position;  // set by Build
        float value = 0.0f;  // the field, written by the caller before each Polygonise
        cVector3f normal;    // the field's gradient direction, written by the caller
    };

    struct Cube {
        SamplePoint* corners[8];  // in the table's corner order
    };

    // One edge crossing: where the surface cuts an edge, with the interpolated normal.
    struct EdgeVertex {
        cVector3f position;
        cVector3f normal;
    };

    cIsoSurfaceGrid() = default;
    ~cIsoSurfaceGrid();
    cIsoSurfaceGrid(const cIsoSurfaceGrid&) = delete;
    cIsoSurfaceGrid& operator=(const cIsoSurfaceGrid&) = delete;

    // Allocates the full-capacity point and cube arrays; false when either allocation fails.
    bool Allocate();
    // Lays out (n + 1)^3 points and n^3 cubes over -10..10 (spacing 20 / n). n outside 1..60, or
    // a grid that was not allocated, builds nothing (counts stay 0). Returns true.
    bool Build(int n);
    // Draws the surface where the field crosses threshold as one GL_TRIANGLES batch, each vertex
    // with texture coordinate (normal.x, -normal.y), the normal and the position.
    void Polygonise(float threshold);
    // Releases both arrays; pointers null, counts 0.
    void Free();

    // The same walk as Polygonise, handing each triangle's three vertices (already in emission
    // order) to sink(const EdgeVertex&, const EdgeVertex&, const EdgeVertex&). Returns the
    // number of triangles. Lets a caller (or a test) read the surface without GL.
    template <typename Sink>
    int PolygoniseInto(float threshold, Sink&& sink);

    std::int32_t pointCount = 0;
    SamplePoint* points = nullptr;
    std::int32_t cubeCount = 0;
    Cube* cubes = nullptr;
    std::int32_t trianglesEmitted = 0;

private:
    EdgeVertex edgeVertices[12];  // reused for every cube
};

template <typename Sink>
int cIsoSurfaceGrid::PolygoniseInto(float threshold, Sink&& sink) {
    int triangles = 0;
    for (int c = 0; c < cubeCount; ++c) {
        SamplePoint* const* corner = cubes[c].corners;
        int index = 0;
        for (int k = 0; k < 8; ++k)
            if (corner[k]->value < threshold) index |= 1 << k;
        const int mask = kMarchingCubes.edges[index];
        if (mask == 0) continue;
        for (int e = 0; e < 12; ++e) {
            if (!(mask & (1 << e))) continue;
            const SamplePoint& a = *corner[kCubeEdgeCorners[e][0]];
            const SamplePoint& b = *corner[kCubeEdgeCorners[e][1]];
            // The two values differ across the threshold here, so the division is safe.
            const float mu = (threshold - a.value) / (b.value - a.value);
            edgeVertices[e].position = a.position;
            edgeVertices[e].position += (b.position - a.position) * mu;
            edgeVertices[e].normal = a.normal;
            edgeVertices[e].normal += (b.normal - a.normal) * mu;
        }
        const int* row = kMarchingCubes.triangles[index];
        for (int t = 0; row[t] != -1; t += 3) {
            // Reversed: the table's winding is for the classic frame, the grid's mirror image.
            sink(edgeVertices[row[t]], edgeVertices[row[t + 2]], edgeVertices[row[t + 1]]);
            ++triangles;
        }
    }
    return triangles;
}

}  // namespace VantorGL
