// The opening scene's cost: its 7938-cube sphere drawn per cube (a matrix and one DrawCube each)
// and as one batch, in a small window, so the per-call overhead shows rather than the rasteriser, and
// whole demo frames in the scene's window at 1024 x 768.
#include "render/Primitives.h"

#include "support/DemoHarness.h"
#include "support/GlTestContext.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void BM_CubeSphere7938(benchmark::State& state) {
    VantorGLTest::GlTestContext ctx;
    if (!ctx.Ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    glEnable(GL_DEPTH_TEST);
    float clock = 0.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -40.0f);
        for (int k = 0; k < 7938; ++k) {
            glPushMatrix();
            glTranslatef(float(k % 126) * 0.1f - 6.3f, float(k / 126) * 0.1f - 3.1f, 0.0f);
            glScalef(0.05f, 0.05f, 0.05f);
            glRotatef(clock + k, 1.0f, 0.0f, 0.0f);
            glRotatef(clock, 0.0f, 1.0f, 0.0f);
            glRotatef(clock, 0.0f, 0.0f, 1.0f);
            VantorGL::DrawCube();
            glPopMatrix();
        }
        glFinish();
        clock += 1.0f;
    }
}
BENCHMARK(BM_CubeSphere7938)->Unit(benchmark::kMillisecond);

// The same cubes moved on the CPU and drawn as one batch.
void BM_CubeBatch7938(benchmark::State& state) {
    VantorGLTest::GlTestContext ctx;
    if (!ctx.Ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    static VantorGL::sCubeVertex batch[7938 * VantorGL::kCubeVertexCount];
    glEnable(GL_DEPTH_TEST);
    float clock = 0.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -40.0f);
        VantorGL::sCubeVertex* out = batch;
        for (int k = 0; k < 7938; ++k) {
            const float t[3] = {float(k % 126) * 0.1f - 6.3f, float(k / 126) * 0.1f - 3.1f, 0.0f};
            out = VantorGL::EmitTransformedCube(out, t, 0.05f, clock + k, clock, clock);
        }
        VantorGL::DrawCubeBatch(batch, int(out - batch));
        glFinish();
        clock += 1.0f;
    }
}
BENCHMARK(BM_CubeBatch7938)->Unit(benchmark::kMillisecond);

// One drawn frame of the whole demo per iteration, from `range(0)` ms on (only the opening scene
// is active there), with the cube sphere batched (range(1) = 1) or one DrawCube per cube (0).
void BM_SelvoHillsFrame(benchmark::State& state) {
    VantorGLTest::DemoHarness& harness = VantorGLTest::DemoHarness::Get();
    if (!harness.Ok()) {
        state.SkipWithError("no OpenGL context or no data folder");
        return;
    }
    int at = std::max(int(state.range(0)), harness.Now());
    harness.FrameAt(at);
    harness.Demo().selvoHills.batchCubes = state.range(1) != 0;
    for (auto _ : state) {
        at += 1000 / VantorGLTest::DemoHarness::kFps;
        benchmark::DoNotOptimize(harness.FrameAt(at).data());
    }
}
BENCHMARK(BM_SelvoHillsFrame)->Args({12000, 0})->Args({12000, 1})->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
