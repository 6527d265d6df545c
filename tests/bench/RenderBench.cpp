// Benchmarks for the per-frame renderer work that runs on the CPU: the marching-cubes walk over
// the metaball grid (30 cubes a side, without GL) and one particle pool update.
#include "render/IsoSurfaceGrid.h"
#include "render/ParticleSystem.h"
#include "timeline/TimeSystem.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace VantorGL;

static void BM_IsoSurfaceWalk(benchmark::State& state) {
    static cIsoSurfaceGrid grid;
    if (!grid.points) grid.Allocate();
    grid.Build(int(state.range(0)));
    for (int i = 0; i < grid.pointCount; ++i) {
        const auto& p = grid.points[i].position;
        float value = 0.0f;
        for (float cx : {-3.0f, 0.0f, 3.5f}) {
            const float dx = p.x - cx, r2 = dx * dx + p.y * p.y + p.z * p.z + 0.01f;
            value += 8.0f / r2;
        }
        grid.points[i].value = value;
        grid.points[i].normal = cVector3f(0.0f, 1.0f, 0.0f);
    }
    int triangles = 0;
    for (auto _ : state) {
        float checksum = 0.0f;
        triangles = grid.PolygoniseInto(1.0f, [&](const auto& a, const auto&, const auto&) { checksum += a.position.x; });
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["triangles"] = triangles;
}
BENCHMARK(BM_IsoSurfaceWalk)->Arg(30)->Arg(60);

static void BM_ParticleUpdate(benchmark::State& state) {
    cFixedStepCounter counter(60);
    cTimeSystem::Instance()->UseCounter(&counter);
    cParticleSystem particles;
    particles.CreateParticles(int(state.range(0)));
    for (auto _ : state) {
        counter.Advance();
        cTimeSystem::Instance()->Tick();
        particles.UpdateAll();
    }
    cTimeSystem::Instance()->UseCounter(nullptr);
}
BENCHMARK(BM_ParticleUpdate)->Arg(100)->Arg(500);
