// Tests for cWorkshopScene: the lasting effects of its set-up on shared state, its update driven
// by a scripted clock and spectrum, and its never-scheduled frame drawn headless for once.
#include "scenes/WorkshopScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "support/ProcessState.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

using VantorGL::cTimeSystem;
using VantorGLTest::ManualCounter;

namespace {

class WorkshopUpdate : public testing::Test {
protected:
    void SetUp() override {
        counter.ms = 5000;
        cTimeSystem::Instance()->UseCounter(&counter);
        scene.SetResources(&res);
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // One frame as the loop runs it: update, then the clock moves and ticks.
    void Frame(int frameMs) {
        scene.RunUpdate();
        counter.ms += frameMs;
        cTimeSystem::Instance()->Tick();
    }

    ManualCounter counter;
    // The registry's particle system seeds rand() as it is made: on this state, not the process's.
    VantorGLTest::RandSeed randomState{1};
    // Each test's own registry and scene, fresh (static in the program; too large for the stack).
    std::unique_ptr<VantorGL::cResources> registry = std::make_unique<VantorGL::cResources>();
    std::unique_ptr<VantorGL::cWorkshopScene> workshop = std::make_unique<VantorGL::cWorkshopScene>();
    VantorGL::cResources& res = *registry;
    VantorGL::cWorkshopScene& scene = *workshop;
};

}  // namespace

TEST_F(WorkshopUpdate, SetUpRestartsTheClockAndConfiguresTheSharedParticles) {
    counter.ms += 2000;
    cTimeSystem::Instance()->Tick();
    ASSERT_EQ(cTimeSystem::Instance()->SinceReset(), 2000);
    scene.sceneClock = 77.0;

    scene.ConfigureShared();
    EXPECT_EQ(cTimeSystem::Instance()->SinceReset(), 0);
    counter.ms += 40;
    cTimeSystem::Instance()->Tick();
    EXPECT_EQ(cTimeSystem::Instance()->SinceReset(), 40);  // counted from the reset

    const VantorGL::cParticleSystem& particles = res.particles;
    EXPECT_TRUE(particles.Ready());
    EXPECT_EQ(particles.Count(), VantorGL::kWorkshopParticles);
    EXPECT_EQ(scene.sceneClock, 0.0);
    EXPECT_EQ(scene.textDepth, 0.0f);
}

// The stream the set-up configures, as the never-run Update would feed it at 30 frames a second
// for four seconds (shorter than the shortest life): one particle a frame, none lost yet, each born at the emitter, moving steadily
// away from the viewer and staying in front of the camera, each on its own path.
TEST_F(WorkshopUpdate, TheConfiguredStreamRecedesInFrontOfTheCamera) {
    VantorGLTest::RandSeed seed(2010);  // births and drifts are random: a repeatable stream
    scene.ConfigureShared();
    scene.firstCall = true;
    scene.SetTimeWindow("0:00.0", "0:10.0");
    for (float& bin : res.music.spectrum) bin = 0.0f;
    const VantorGL::cParticleSystem& particles = res.particles;
    const VantorGL::cVector3f emitter = particles.emitterPosition;
    constexpr int kFrames = 120;
    std::vector<float> lastZ(particles.Count(), 0.0f);
    std::vector<int> age(particles.Count(), -1);
    for (int frame = 0; frame < kFrames; ++frame) {
        Frame(33);
        for (int i = 0; i < particles.Count(); ++i) {
            const auto& p = particles.At(i);
            if (p.life < 0.0f) continue;
            if (p.life == 1.0f) {
                age[i] = 0;
                EXPECT_LT(std::fabs(p.position.x - emitter.x) + std::fabs(p.position.y - emitter.y), 1.0f)
                    << "born away from the emitter";
            } else if (age[i] >= 0) {
                ++age[i];
                EXPECT_LT(p.position.z, lastZ[i]) << "particle " << i << " stopped receding";
            }
            lastZ[i] = p.position.z;
            // Drawn 10 units nearer than its position, it must stay in front of the camera.
            if (age[i] >= 0) {
                EXPECT_LT(p.position.z + 10.0f, -1.0f) << "particle " << i << " behind the camera";
            }
        }
    }
    int alive = 0;
    float left = 1e9f, right = -1e9f;
    for (int i = 0; i < particles.Count(); ++i) {
        if (particles.At(i).life < 0.0f || age[i] < 0) continue;
        ++alive;
        left = std::min(left, particles.At(i).position.x);
        right = std::max(right, particles.At(i).position.x);
    }
    EXPECT_EQ(alive, kFrames) << "one particle a frame, none lost in four seconds";
    EXPECT_GT(right - left, 1.0f) << "every particle takes the same path: the drift is not renewed";
}

TEST_F(WorkshopUpdate, SpectrumBinFiveDrivesTheLightAndTheStreamColour) {
    VantorGLTest::RandSeed seed(2011);
    scene.ConfigureShared();
    scene.firstCall = true;  // the scene's time 0 is its first update below
    scene.SetTimeWindow("0:00.0", "0:10.0");
    constexpr int kFrames = 12;
    float loudest = 1e9f, quietest = -1e9f;  // the dimmest loud frame, the brightest quiet one
    for (int frame = 0; frame < kFrames; ++frame) {
        // Loud frames and quiet frames; only bin 5 counts, so the other bins go the other way.
        float level = frame % 2 ? 1.0f : 0.0f;
        for (float& bin : res.music.spectrum) bin = 1.0f - level;
        res.music.spectrum[5] = level;
        Frame(33);

        const auto& light = scene.lightShader;
        const float s = light.LightColor.x;
        if (level > 0.0f)
            loudest = std::min(loudest, s);
        else
            quietest = std::max(quietest, s);
        EXPECT_EQ(scene.sceneClock, double(scene.timer.elapsed));
        EXPECT_EQ(scene.timer.elapsed, frame * 33);

        // The one particle reborn in this update took this frame's colour: a stream of one per
        // frame, its green the light's red.
        const auto& particles = res.particles;
        int bornNow = 0;
        for (int i = 0; i < particles.Count(); ++i) {
            const auto& p = particles.At(i);
            if (p.life != 1.0f) continue;
            ++bornNow;
            EXPECT_EQ(p.g, s);
        }
        EXPECT_EQ(bornNow, 1) << "frame " << frame;
    }
    // Every loud frame is brighter than every quiet one: bin 5 leads, the random part stays below it.
    EXPECT_GT(loudest, quietest);
    int alive = 0;
    for (int i = 0; i < res.particles.Count(); ++i) alive += res.particles.At(i).life > 0.5f;
    EXPECT_EQ(alive, kFrames);
}

// The sequencer never schedules the workshop, so its frame is drawn here by hand on the demo's
// own initialised member: no GL error, the feedback backdrop and the text reach the screen, and
// the text sinks and locks at its floor.
TEST(WorkshopScene, DrawsItsFrameAndTheTextLocksAtItsFloor) {
    VantorGLTest::DemoHarness& harness = VantorGLTest::DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";

    // The text starts at the screen and sinks steadily; a little over nine seconds in, the frame
    // that crosses the floor may pass it by a little, and from the next frame on the text stays
    // on the floor although time goes on.
    const int moments[] = {0, 2000, 4000, 6000, 8000, 9000, 9500, 9533, 20000, 40000};
    std::vector<std::uint8_t> pixels(std::size_t(harness.kWidth) * harness.kHeight * 4);
    const float bottom = VantorGL::kWorkshopTextFloor;
    float previous = 1.0f;
    // Driven by hand in the harness's turn: its context, clock and rand() state, as when it plays.
    harness.Drive([&](VantorGL::cDemoScene& demo) {
        VantorGL::cWorkshopScene& scene = demo.workshop;
        while (glGetError() != GL_NO_ERROR) {
        }
        for (int elapsed : moments) {
            scene.timer.elapsed = elapsed;
            scene.Update();
            scene.Render();
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "at " << elapsed;
            const float depth = scene.textDepth;
            if (elapsed == 0) {
                EXPECT_EQ(depth, 0.0f);
            }
            if (elapsed <= 9000) {
                EXPECT_LT(depth, previous) << "at " << elapsed << ": not sinking";
                EXPECT_GT(depth, bottom) << "at " << elapsed << ": on the floor early";
            } else if (elapsed == 9500) {
                EXPECT_LE(depth, bottom) << "not at the floor by 9.5 s";
                EXPECT_GT(depth, bottom - 1.0f) << "far past the floor";
            } else {
                EXPECT_EQ(depth, bottom) << "at " << elapsed << ": not locked";
            }
            previous = depth;
        }
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, harness.kWidth, harness.kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    });
    VantorGLTest::cColourStats stats = VantorGLTest::DemoHarness::Stats(pixels);
    EXPECT_LT(stats.blackShare, 0.9);
    EXPECT_GT(stats.spread, 5.0);
    VantorGLTest::KeepFrameIfFailed(pixels, harness.kWidth, harness.kHeight, "workshop-frame");
}
