// Benchmarks for the metaball scene's per-frame CPU work, without GL: the four moving sources'
// field on the 31^3 lattice, alone and followed by the marching-cubes walk at level 1.
#include "scenes/PelkAirportScene.h"

#include <benchmark/benchmark.h>

using namespace VantorGL;

namespace {

cPelkAirportScene& BenchScene() {
    static cPelkAirportScene scene;
    if (!scene.grid.points) scene.SetUpGrid();
    return scene;
}

}  // namespace

// One frame's field: ~119000 inverse-square terms. The demo time walks through the scene's window.
static void BM_PelkField(benchmark::State& state) {
    cPelkAirportScene& scene = BenchScene();
    int ms = 115000;
    for (auto _ : state) {
        scene.PlaceSources(ms);
        scene.EvaluateField();
        benchmark::DoNotOptimize(scene.grid.points[scene.grid.pointCount / 2].value);
        ms = ms >= 134000 ? 115000 : ms + 33;
    }
    state.counters["points"] = scene.grid.pointCount;
}
BENCHMARK(BM_PelkField)->Unit(benchmark::kMicrosecond);

// The field plus the surface it gives, as Update and the main pass do each frame (the triangles
// go to a checksum instead of GL).
static void BM_PelkFieldAndSurface(benchmark::State& state) {
    cPelkAirportScene& scene = BenchScene();
    int ms = 115000;
    long triangles = 0, frames = 0;
    for (auto _ : state) {
        scene.PlaceSources(ms);
        scene.EvaluateField();
        float checksum = 0.0f;
        triangles += scene.grid.PolygoniseInto(scene.isoThreshold, [&](const auto& a, const auto& b, const auto& c) {
            checksum += a.position.x + b.normal.y + c.position.z;
        });
        benchmark::DoNotOptimize(checksum);
        ++frames;
        ms = ms >= 134000 ? 115000 : ms + 33;
    }
    state.counters["triangles/frame"] = frames ? double(triangles) / double(frames) : 0.0;
}
BENCHMARK(BM_PelkFieldAndSurface)->Unit(benchmark::kMicrosecond);
