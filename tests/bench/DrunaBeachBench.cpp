// Benchmarks for the glass tunnel flight on the headless renderer: one whole frame of the scene
// (cube map, main view, two blurs, overlays) and its 3D content alone per pass, at 0:48.
#include "scenes/ScenePattern.h"
#include "support/DemoHarness.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

using VantorGLTest::DemoHarness;

namespace {

// The harness played up to 0:48, when the camera passes the first crystal; null without GL.
VantorGL::cDrunaBeachScene* SceneAt48() {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) return nullptr;
    harness.FrameAt(48000);
    return &harness.Demo().drunaBeach;
}

}  // namespace

static void BM_DrunaBeachFrame(benchmark::State& state) {
    VantorGL::cDrunaBeachScene* scene = SceneAt48();
    if (!scene) {
        state.SkipWithError("no GL context or no data folder");
        return;
    }
    for (auto _ : state) {
        scene->Render();
        glFinish();
    }
}
BENCHMARK(BM_DrunaBeachFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

// Pass 0 is the main view; pass 1 what each cube face receives.
static void BM_DrunaBeachContent(benchmark::State& state) {
    VantorGL::cDrunaBeachScene* scene = SceneAt48();
    if (!scene) {
        state.SkipWithError("no GL context or no data folder");
        return;
    }
    const int pass = int(state.range(0));
    for (auto _ : state) {
        VantorGL::CaptureInto(scene->targetA, [&] { scene->DrawContent(pass); });
        glFinish();
    }
}
BENCHMARK(BM_DrunaBeachContent)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
