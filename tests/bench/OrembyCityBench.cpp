// The crystal cluster scene's drawing on the headless context: one Render of the scene at 0:30
// (cube map, glow and main passes, two blurs, the radial glow, overlays), finished on the GPU.
#include "support/DemoHarness.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

static void BM_OrembyCityRender(benchmark::State& state) {
    auto& harness = VantorGLTest::DemoHarness::Get();
    if (!harness.Ok()) {
        state.SkipWithError("no GL context or data folder");
        return;
    }
    harness.FrameAt(30000);
    auto& scene = harness.Demo().orembyCity;
    for (auto _ : state) {
        scene.RunRender();
        glFinish();
    }
}
BENCHMARK(BM_OrembyCityRender)->Unit(benchmark::kMillisecond)->Iterations(5);
