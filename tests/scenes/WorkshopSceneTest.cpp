// Tests for cWorkshopScene: the lasting effects of its set-up on shared state, its update driven
// by a scripted clock and spectrum, and its never-scheduled frame drawn headless for once.
#include "scenes/WorkshopScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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
    static VantorGL::cResources res;
    static VantorGL::cWorkshopScene scene;
};

VantorGL::cResources WorkshopUpdate::res;
VantorGL::cWorkshopScene WorkshopUpdate::scene;

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
    EXPECT_EQ(particles.Count(), 500);
    EXPECT_EQ(particles.colour[0], 0.6f);
    EXPECT_EQ(particles.colour[1], 0.3f);
    EXPECT_EQ(particles.colour[2], 0.9f);
    EXPECT_EQ(particles.acceleration.x, 0.0f);
    EXPECT_EQ(double(particles.acceleration.y), 3.9999998989515007e-05);
    EXPECT_EQ(double(particles.acceleration.z), 0.00019999999494757503);
    EXPECT_EQ(particles.lifeDivisor, 100);
    EXPECT_EQ(scene.sceneClock, 0.0);
    EXPECT_EQ(scene.textDepth, 0.0f);
}

TEST_F(WorkshopUpdate, SpectrumBinFiveDrivesTheLightAndTheStreamColour) {
    scene.ConfigureShared();
    scene.firstCall = true;  // the scene's time 0 is its first update below
    scene.SetTimeWindow("0:00.0", "0:10.0");
    constexpr int kFrames = 12;
    for (int frame = 0; frame < kFrames; ++frame) {
        // Loud frames and quiet frames; only bin 5 counts.
        float level = frame % 2 ? 1.0f : 0.0f;
        for (float& bin : res.music.spectrum) bin = 0.5f;
        res.music.spectrum[5] = level;
        Frame(33);

        const auto& light = scene.lightShader;
        float s = light.LightColor.x;
        EXPECT_GE(s, level + 0.56f - 1e-5f) << "frame " << frame;
        EXPECT_LT(s, level + 1.0f) << "frame " << frame;
        EXPECT_EQ(light.LightColor.y, 0.33f);
        EXPECT_EQ(light.LightColor.z, 0.33f);
        EXPECT_EQ(light.Light2Color.x, 0.8f);
        EXPECT_EQ(light.Light2Color.z, 0.8f);

        const auto& particles = res.particles;
        float g = particles.colour[0];
        EXPECT_GE(g, 0.0f);
        EXPECT_LT(g, 1.0f);
        EXPECT_EQ(particles.colour[1], s);
        EXPECT_EQ(particles.colour[2], s - g);
        EXPECT_EQ(particles.drift.z, -0.02f);
        EXPECT_LE(std::fabs(particles.drift.x), 0.01f);
        EXPECT_LE(std::fabs(particles.drift.y), 0.01f);
        EXPECT_EQ(scene.sceneClock, double(scene.timer.elapsed));
        EXPECT_EQ(scene.timer.elapsed, frame * 33);

        // The one particle reborn in this update took this frame's colour: a stream of one per frame.
        int bornNow = 0;
        for (int i = 0; i < particles.Count(); ++i) {
            const auto& p = particles.At(i);
            if (p.life != 1.0f) continue;
            ++bornNow;
            EXPECT_EQ(p.r, g);
            EXPECT_EQ(p.g, s);
        }
        EXPECT_EQ(bornNow, 1) << "frame " << frame;
    }
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
    VantorGL::cWorkshopScene& scene = harness.Demo().workshop;
    while (glGetError() != GL_NO_ERROR) {
    }

    struct Moment {
        int elapsed;
        float depth;
    };
    // -40 sin(t / 10000): 0, then -19.18 at 5 s, past -32 at 9.3 s, then locked although the sine
    // would lift the text again.
    const Moment moments[] = {{0, 0.0f},       {5000, -19.177f}, {9300, -32.065f},
                              {9333, -32.0f}, {20000, -32.0f},  {40000, -32.0f}};
    std::vector<std::uint8_t> pixels(std::size_t(harness.kWidth) * harness.kHeight * 4);
    for (const Moment& moment : moments) {
        scene.timer.elapsed = moment.elapsed;
        scene.Update();
        scene.Render();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "at " << moment.elapsed;
        EXPECT_NEAR(scene.textDepth, moment.depth, 0.01f) << "at " << moment.elapsed;
    }
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, harness.kWidth, harness.kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    VantorGLTest::cColourStats stats = VantorGLTest::DemoHarness::Stats(pixels);
    EXPECT_LT(stats.blackShare, 0.9);
    EXPECT_GT(stats.spread, 5.0);
    VantorGLTest::KeepFrameIfFailed(pixels, harness.kWidth, harness.kHeight, "workshop-frame");
}
