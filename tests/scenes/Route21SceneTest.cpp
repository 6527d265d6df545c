// Tests for the torus interlude: its clocks, fade and swaying camera under a scripted clock and
// spectrum (no GL), the independence of its two showings, and the frames of both showings: the
// torus on black, and the cube map its crystals refract.
#include "assets/Resources.h"
#include "scenes/Route21Scene.h"
#include "support/DemoHarness.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using VantorGL::cRoute21Scene;
using VantorGL::cTimeSystem;
using VantorGLTest::ManualCounter;

const int kFirstStart = VantorGL::TimelineStartMs("route21First");
const int kFirstEnd = VantorGL::TimelineEndMs("route21First");
const int kSecondStart = VantorGL::TimelineStartMs("route21Second");
const int kSecondEnd = VantorGL::TimelineEndMs("route21Second");
constexpr int kFrameMs = 20;

static VantorGL::cResources res;

// A failing frame is kept under the build folder, to look at; the failure names it.
void WriteFrame(const std::vector<std::uint8_t>& frame, int ms) {
    ADD_FAILURE() << "frame at " << ms << " ms kept in "
                  << VantorGLTest::DemoHarness::KeepFrame(frame, VantorGLTest::DemoHarness::kWidth,
                                                          VantorGLTest::DemoHarness::kHeight,
                                                          "route21-" + std::to_string(ms));
}

class Route21Update : public ::testing::Test {
protected:
    void SetUp() override {
        cTimeSystem::Instance()->UseCounter(&counter);
        for (cRoute21Scene* s : {&first, &second, &loud}) s->SetResources(&res);
        VantorGLTest::SetWindowOf(first, "route21First");
        VantorGLTest::SetWindowOf(second, "route21Second");
        VantorGLTest::SetWindowOf(loud, "route21First");
        res.music.spectrum[0] = 0.0f;
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // One frame as the frame loop runs it: update the given scenes, then move the clock.
    void Frame(std::initializer_list<cRoute21Scene*> scenes, int stepMs = kFrameMs) {
        for (cRoute21Scene* s : scenes) s->RunUpdate();
        counter.ms += stepMs;
        cTimeSystem::Instance()->Tick();
    }
    // Latches every scene's base at demo time 0, jumps the clock to one frame before `ms` (one
    // big delta, seen by no scene because none is active yet), and plays that frame, so the next
    // update runs at `ms` with an ordinary frame delta.
    void StartAt(int ms, std::initializer_list<cRoute21Scene*> scenes) {
        Frame(scenes, ms - kFrameMs);
        Frame(scenes);
    }

    ManualCounter counter;
    // Fresh scenes with their constructor values; constructing one touches no GL.
    cRoute21Scene first, second, loud;
};

TEST_F(Route21Update, OpensUnderTheFadeAndEasesTheSecondBlurOut) {
    StartAt(kFirstStart, {&first});
    EXPECT_EQ(first.localTime, 0);
    EXPECT_EQ(first.endFade, 1.0f);
    EXPECT_FLOAT_EQ(first.SecondBlurFactor(), 6.7f);  // strongest at time 0

    Frame({&first});  // first active frame, dt 20
    EXPECT_NEAR(first.endFade, 1.0f - 20 * 0.0015f, 1e-6);
    EXPECT_DOUBLE_EQ(first.sceneClock, 0.2);
    EXPECT_EQ(first.beatCooldown, 80.0f);

    // 33 frames in (660 ms) the picture is almost gone; at 680 ms it is clamped to 0.
    for (int i = 1; i < 33; ++i) Frame({&first});
    EXPECT_NEAR(first.endFade, 0.01f, 1e-4);
    Frame({&first});
    EXPECT_EQ(first.endFade, 0.0f);
    EXPECT_FLOAT_EQ(first.SecondBlurFactor(), 1.2f);

    // Steady until the window ends: the fade stays at 0, the clock runs at 0.01 per ms.
    while (counter.ms <= kFirstEnd) Frame({&first});
    EXPECT_EQ(first.endFade, 0.0f);
    EXPECT_NEAR(first.sceneClock, first.localTime * 0.01, 1e-9);
    EXPECT_NEAR(first.localTime, kFirstEnd - kFirstStart, kFrameMs);

    // After its window the scene keeps its values.
    const double clockAtEnd = first.sceneClock;
    for (int i = 0; i < 10; ++i) Frame({&first});
    EXPECT_EQ(first.sceneClock, clockAtEnd);
}

TEST_F(Route21Update, FadePictureComesBackAfterOneFiftyFiveUnbounded) {
    StartAt(kSecondStart, {&second});
    while (counter.ms <= kSecondEnd) Frame({&second});
    EXPECT_EQ(second.endFade, 0.0f);  // inside its window the clock never passes 1:55.0

    // Driven past its window (forced), the fade rises by 0.0015 per ms net and is not clamped.
    second.forced = true;
    ASSERT_GT(cTimeSystem::Instance()->SinceReset(), kSecondEnd);
    Frame({&second});
    EXPECT_NEAR(second.endFade, 20 * 0.003f, 1e-6);  // clamped to 0 first, then +0.06
    Frame({&second});
    EXPECT_NEAR(second.endFade, 0.06f + 20 * 0.0015f, 1e-6);
    for (int i = 0; i < 60; ++i) Frame({&second});
    EXPECT_NEAR(second.endFade, 0.09f + 60 * 20 * 0.0015f, 1e-4);
    EXPECT_GT(second.endFade, 1.0f);
}

TEST_F(Route21Update, BeatsAreCountedAndForgottenSoTheMusicChangesNothingSeen) {
    StartAt(kFirstStart, {&first, &loud});
    for (int i = 0; i < 200; ++i) {
        res.music.spectrum[0] = (i % 7 < 3) ? 0.8f : 0.0f;  // a loud bass line for `loud`...
        loud.RunUpdate();
        res.music.spectrum[0] = 0.0f;  // ...and silence for `first`
        first.RunUpdate();
        counter.ms += kFrameMs;
        cTimeSystem::Instance()->Tick();
        ASSERT_EQ(loud.beatCount, 0);
        ASSERT_LE(loud.beatCooldown, 400.0f);
    }
    // The loud one rearmed its cooldown; the silent one only counted down.
    EXPECT_GT(loud.beatCooldown, -kFrameMs);
    EXPECT_EQ(first.beatCooldown, 100.0f - 200 * kFrameMs);
    EXPECT_EQ(loud.sceneClock, first.sceneClock);
    EXPECT_EQ(loud.endFade, first.endFade);
    loud.SetSwayView();
    first.SetSwayView();
    EXPECT_EQ(loud.camera.up.x(), first.camera.up.x());
    EXPECT_EQ(loud.camera.up.y(), first.camera.up.y());
    EXPECT_EQ(loud.camera.up.z(), first.camera.up.z());
}

TEST_F(Route21Update, CameraStandsStillWhileItsUpVectorSways) {
    StartAt(kFirstStart, {&first});
    // Scene clock 0: up = (1 - sin 5.214, 2 sin 1.45315, cos 1.548).
    first.SetSwayView();
    EXPECT_NEAR(first.camera.up.x(), 1.8768, 1e-3);
    EXPECT_NEAR(first.camera.up.y(), 1.9862, 1e-3);
    EXPECT_NEAR(first.camera.up.z(), 0.0228, 1e-3);

    // Two seconds later (scene clock 20) the view has rolled: up = (1 - sin 9.214,
    // 2 sin 3.45315, cos 4.048), the eye and the point looked at have not moved.
    for (int i = 0; i < 100; ++i) Frame({&first});
    ASSERT_NEAR(first.sceneClock, 20.0, 1e-9);
    first.SetSwayView();
    EXPECT_NEAR(first.camera.up.x(), 0.79078, 1e-4);
    EXPECT_NEAR(first.camera.up.y(), -0.61308, 1e-4);  // rolled past upside down
    EXPECT_NEAR(first.camera.up.z(), -0.61658, 1e-4);
    EXPECT_EQ(first.camera.eye.x(), 700.0);
    EXPECT_EQ(first.camera.eye.z(), -100.0);
    EXPECT_EQ(first.camera.center.x(), 697.0);
    EXPECT_EQ(first.camera.center.z(), -90.0);
}

TEST_F(Route21Update, SecondShowingOpensExactlyAsTheFirst) {
    constexpr int kFrames = 40;
    cRoute21Scene* const showings[2] = {&first, &second};
    double clocks[2][kFrames];
    float fades[2][kFrames];
    int recorded[2] = {0, 0};
    StartAt(kFirstStart - 1000, {&first, &second});
    while (counter.ms <= kSecondEnd + kFrameMs) {
        Frame({&first, &second});
        for (int k = 0; k < 2; ++k) {
            cRoute21Scene& s = *showings[k];
            if (s.IsActive() && s.localTime > 0 && recorded[k] < kFrames) {
                clocks[k][recorded[k]] = s.sceneClock;
                fades[k][recorded[k]] = s.endFade;
                ++recorded[k];
            }
        }
    }
    ASSERT_EQ(recorded[0], kFrames);
    ASSERT_EQ(recorded[1], kFrames);
    for (int i = 0; i < kFrames; ++i) {
        EXPECT_EQ(clocks[1][i], clocks[0][i]) << "frame " << i;
        EXPECT_EQ(fades[1][i], fades[0][i]) << "frame " << i;
    }
    EXPECT_GT(fades[0][0], 0.9f);
    // Each kept its own clock: the first stopped at the end of its window.
    EXPECT_NEAR(first.localTime, kFirstEnd - kFirstStart, kFrameMs);
    EXPECT_NEAR(second.localTime, kSecondEnd - kSecondStart, kFrameMs);
    EXPECT_NEAR(first.sceneClock, first.localTime * 0.01, 1e-9);
}

// The three moments of the time line on the real data: the opening of the first showing under
// the lifting fade picture, the steady view, and the second showing a second in.
TEST(Route21Render, BothShowingsDrawTheTorusWithoutAGlError) {
    VantorGLTest::DemoHarness& harness = VantorGLTest::DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const int moments[] = {86200, 90000, 111000};
    VantorGLTest::cColourStats stats[3];
    for (int i = 0; i < 3; ++i) {
        const auto& frame = harness.FrameAt(moments[i]);
        stats[i] = VantorGLTest::DemoHarness::Stats(frame);
        const auto& st = stats[i];
        std::printf("route21 %d ms: mean %.1f %.1f %.1f spread %.1f white %.3f black %.3f\n", moments[i], st.mean[0],
                    st.mean[1], st.mean[2], st.spread, st.whiteShare, st.blackShare);
        const bool opening = i == 0;
        // The opening lies under the pale fade picture: lighter and flatter than the steady view,
        // which is the torus and the ball cube on black.
        const bool looksRight = opening ? st.spread > 2.0 && st.mean[2] > 150.0
                                        : st.spread > 8.0 && st.blackShare > 0.25 && st.blackShare < 0.85;
        EXPECT_TRUE(looksRight) << "frame at " << moments[i] << " ms";
        if (!looksRight) WriteFrame(frame, moments[i]);
    }
    EXPECT_GT(stats[0].mean[0], stats[1].mean[0] + 40.0);  // the fade picture still covers the view
    EXPECT_LT(stats[0].spread, stats[1].spread);
    EXPECT_TRUE(harness.Demo().route21First.IsActive() == false);
    EXPECT_GT(harness.Demo().route21First.sceneClock, 0.0);
    EXPECT_NEAR(harness.Demo().route21Second.sceneClock, 10.0, 0.5);
    EXPECT_EQ(harness.Demo().route21Second.endFade, 0.0f);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}

// In both showings the torus stands on black and the cube map its crystals refract holds the
// ball cube. The torus's share is what changes when it alone is hidden for the next frame (it
// turns less than two degrees a frame); the cube map is the +X face read back after the scene drew.
TEST(Route21Render, TheTorusStandsOnBlackAndItsCrystalsRefractTheBallCube) {
    VantorGLTest::DemoHarness& harness = VantorGLTest::DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    VantorGL::cResources& registry = harness.Demo().registry;
    for (int moment : {92000, 113000}) {
        const std::vector<std::uint8_t> frame = harness.FrameAt(moment);
        const VantorGLTest::cColourStats st = VantorGLTest::DemoHarness::Stats(frame);

        const int side = registry.cubeMap.width;
        std::vector<std::uint8_t> face(std::size_t(side) * side * 3);
        glBindTexture(GL_TEXTURE_CUBE_MAP, registry.cubeMap.texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_RGB, GL_UNSIGNED_BYTE, face.data());
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        std::size_t ballTexels = 0;
        for (std::size_t i = 0; i < face.size(); i += 3) ballTexels += std::max({face[i], face[i + 1], face[i + 2]}) > 12;
        const double cubeShare = double(ballTexels) / (double(side) * side);

        registry.mdlTorus.visible = 0;
        const std::vector<std::uint8_t> without = harness.FrameAt(moment + 1000 / VantorGLTest::DemoHarness::kFps);
        registry.mdlTorus.visible = 1;
        std::size_t torusPixels = 0;
        for (std::size_t i = 0; i < frame.size(); i += 4) {
            int change = 0;
            for (int c = 0; c < 3; ++c) change = std::max(change, std::abs(int(frame[i + c]) - int(without[i + c])));
            torusPixels += change > 16;
        }
        const double torusShare = double(torusPixels) / (frame.size() / 4);
        std::printf("route21 %d ms: black %.3f torus %.3f cube map lit %.3f\n", moment, st.blackShare, torusShare,
                    cubeShare);
        EXPECT_GT(st.blackShare, 0.25) << "at " << moment << " ms the background is black";
        EXPECT_GT(torusShare, 0.12) << "at " << moment << " ms the torus fills a good part of the view";
        EXPECT_GT(cubeShare, 0.1) << "at " << moment << " ms the crystals refract the ball cube";
        if (st.blackShare <= 0.25 || torusShare <= 0.12 || cubeShare <= 0.1) WriteFrame(frame, moment);
    }
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}

}  // namespace
