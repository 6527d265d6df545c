// Tests for the torus interlude: its clocks, fade and swaying camera under a scripted clock and
// spectrum (no GL), the independence of its two showings, and the frames of both showings: the
// torus on black, and the cube map its crystals refract.
#include "assets/Resources.h"
#include "scenes/Route21Scene.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The first showing opens covered with its second blur at its strongest; both ease off together
// within a second and then hold, while the scene clock runs on through the window.
TEST_F(Route21Update, OpensUnderTheFadeAndEasesTheSecondBlurOut) {
    StartAt(kFirstStart, {&first});
    EXPECT_EQ(first.localTime, 0);
    EXPECT_EQ(first.endFade, 1.0f);
    const float strongest = first.SecondBlurFactor();

    float fade = first.endFade, blur = strongest;
    double clock = first.sceneClock;
    int clearAt = -1;
    while (counter.ms <= kFirstEnd) {
        Frame({&first});
        ASSERT_GT(first.sceneClock, clock) << "at " << first.localTime;
        clock = first.sceneClock;
        if (clearAt < 0) {
            EXPECT_LT(first.endFade, fade) << "not lifting at " << first.localTime;
            EXPECT_LT(first.SecondBlurFactor(), blur) << "the blur does not ease at " << first.localTime;
            if (first.endFade == 0.0f) clearAt = first.localTime;
        } else {
            EXPECT_EQ(first.endFade, 0.0f) << "at " << first.localTime;
            EXPECT_EQ(first.SecondBlurFactor(), blur) << "at " << first.localTime;
        }
        fade = first.endFade, blur = first.SecondBlurFactor();
    }
    EXPECT_GT(clearAt, 300) << "the fade picture snaps away";
    EXPECT_LT(clearAt, 1000);
    EXPECT_LT(blur * 2.0f, strongest) << "the opening blur is hardly stronger";
    EXPECT_GT(blur, 0.0f);
    EXPECT_NEAR(first.localTime, kFirstEnd - kFirstStart, kFrameMs);

    // After its window the scene keeps its values.
    for (int i = 0; i < 10; ++i) Frame({&first});
    EXPECT_EQ(first.sceneClock, clock);
}

// Inside its window the second showing never reaches 1:55.0, so its fade picture stays away;
// driven past its window (forced), the fade comes back every frame and is not clamped at 1.
TEST_F(Route21Update, FadePictureComesBackAfterOneFiftyFiveUnbounded) {
    StartAt(kSecondStart, {&second});
    while (counter.ms <= kSecondEnd) Frame({&second});
    EXPECT_EQ(second.endFade, 0.0f);

    second.forced = true;
    ASSERT_GT(cTimeSystem::Instance()->SinceReset(), kSecondEnd);
    float fade = second.endFade;
    int coveredAfter = -1;
    for (int i = 0; i < 100; ++i) {
        Frame({&second});
        ASSERT_GT(second.endFade, fade) << "frame " << i;
        fade = second.endFade;
        if (coveredAfter < 0 && fade >= 1.0f) coveredAfter = i * kFrameMs;
    }
    EXPECT_GT(coveredAfter, 200) << "the picture snaps back";
    EXPECT_LT(coveredAfter, 1500);
    EXPECT_GT(fade, 1.2f);
}

TEST_F(Route21Update, BeatsAreCountedAndForgottenSoTheMusicChangesNothingSeen) {
    StartAt(kFirstStart, {&first, &loud});
    const float cooldown = first.beatCooldown;
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
    EXPECT_EQ(cooldown - first.beatCooldown, 200 * kFrameMs) << "counts down the frame time";
    EXPECT_EQ(loud.sceneClock, first.sceneClock);
    EXPECT_EQ(loud.endFade, first.endFade);
    loud.SetSwayView();
    first.SetSwayView();
    EXPECT_EQ(loud.camera.up.x(), first.camera.up.x());
    EXPECT_EQ(loud.camera.up.y(), first.camera.up.y());
    EXPECT_EQ(loud.camera.up.z(), first.camera.up.z());
}

// Through the first showing the eye and the point it looks at never move; the up vector sways
// smoothly, far enough to roll the view past upside down.
TEST_F(Route21Update, CameraStandsStillWhileItsUpVectorSways) {
    StartAt(kFirstStart, {&first});
    first.SetSwayView();
    const VantorGL::cVector3 eye = first.camera.eye, center = first.camera.center;
    VantorGL::cVector3 up = first.camera.up;
    bool upsideDown = false;
    double widest = 0.0;
    while (counter.ms <= kFirstEnd) {
        Frame({&first});
        first.SetSwayView();
        const VantorGL::cVector3& now = first.camera.up;
        ASSERT_EQ(first.camera.eye.x(), eye.x());
        ASSERT_EQ(first.camera.eye.y(), eye.y());
        ASSERT_EQ(first.camera.eye.z(), eye.z());
        ASSERT_EQ(first.camera.center.x(), center.x());
        ASSERT_EQ(first.camera.center.z(), center.z());
        const double step = std::hypot(now.x() - up.x(), now.y() - up.y(), now.z() - up.z());
        ASSERT_LT(step, 0.1) << "the view jerks at " << first.localTime;
        ASSERT_GT(std::hypot(now.x(), now.y(), now.z()), 0.0) << "no up at " << first.localTime;
        widest = std::max(widest, step);
        upsideDown = upsideDown || now.y() < 0.0;
        up = now;
    }
    EXPECT_GT(widest, 0.0) << "the view never rolls";
    EXPECT_TRUE(upsideDown) << "the roll never passes upside down";
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
    EXPECT_GT(first.sceneClock, clocks[0][kFrames - 1]) << "the first showing's clock stopped early";
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
        const VantorGLTest::KeepFrameOnFailure keep(frame, "route21-" + std::to_string(moments[i]));
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
    }
    EXPECT_GT(stats[0].mean[0], stats[1].mean[0] + 40.0);  // the fade picture still covers the view
    EXPECT_LT(stats[0].spread, stats[1].spread);
    EXPECT_TRUE(harness.Demo().route21First.IsActive() == false);
    EXPECT_GT(harness.Demo().route21First.sceneClock, 0.0);
    EXPECT_GT(harness.Demo().route21Second.sceneClock, 0.0);
    EXPECT_LT(harness.Demo().route21Second.sceneClock, harness.Demo().route21First.sceneClock)
        << "a second into the second showing, against the whole first";
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
        const VantorGLTest::KeepFrameOnFailure keep(frame, "route21-" + std::to_string(moment));
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
    }
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}

}  // namespace
