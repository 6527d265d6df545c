// The crystal cluster scene: its clocks, fades and tunnel on a scripted clock, the music-driven
// ray, tint and glow values on a scripted spectrum, and the demo's frames inside its window.
#include "support/ManualCounter.h"
#include "scenes/OrembyCityScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VantorGL::cOrembyCityScene;
using VantorGL::cTimeSystem;

using VantorGLTest::ManualCounter;

// Large objects in static storage, as in the program; no GL is touched by either.
cOrembyCityScene scene;
VantorGL::cResources res;

class OrembyCityUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        // A fresh scene: the start values of the constructor, no frame seen yet.
        scene.sceneClock = 0.0;
        scene.zoom = 1.0f;
        scene.fadeLevel = 1.0f;
        scene.tunnelOn = false;
        scene.tunnelHeight = scene.tunnelWidth = 0.0f;
        scene.localTime = 0;
        scene.firstCall = true;
        scene.timer = VantorGL::cSceneTimer();
        scene.SetResources(&res);
        scene.SetTimeWindow("0:00.0", "0:17.995");  // the scene's 17995 ms, starting at clock 0
        for (float& bin : res.music.spectrum) bin = 0.0f;
        cTimeSystem::Instance()->UseCounter(&counter);
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // One frame: the clock moves by `step` and ticks, then the scene updates with that delta
    // (the loop's update, tick, render order, seen from the update).
    void Frame(int step) {
        counter.ms += step;
        cTimeSystem::Instance()->Tick();
        scene.RunUpdate();
    }
    // Frames of `step` ms until the scene's last update saw local time `local`.
    void PlayTo(int local, int step = 10) {
        while (scene.localTime < local) Frame(std::min(step, local - scene.localTime));
    }

    ManualCounter counter;
};

TEST_F(OrembyCityUpdate, CubeSphereHas2016CubesOnItsRadius) {
    // 32 rows of 63, laid out by single-precision loops; each cube 2 x 10 from the centre at its
    // angles, the last row just short of the pole (u = 3.1).
    const auto& cubes = scene.sphereCubes;
    EXPECT_EQ(cOrembyCityScene::kSphereCubes, 2016);
    EXPECT_NEAR(cubes[0].u, 0.0f, 1e-6f);
    EXPECT_NEAR(cubes[0].v, -3.1415f, 1e-6f);
    EXPECT_NEAR(cubes[62].v, 3.0585f, 1e-4f);
    EXPECT_NEAR(cubes[2015].u, 3.1f, 1e-4f);
    for (const auto& c : cubes) EXPECT_NEAR(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), 20.0f, 1e-3f);
}

TEST_F(OrembyCityUpdate, ZoomFadesAndTunnelFollowTheTimeLine) {
    Frame(0);  // first frame: no time has passed
    EXPECT_FLOAT_EQ(scene.zoom, 1.0f);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 1.0f);

    PlayTo(100);
    EXPECT_NEAR(scene.zoom, 1.1f, 1e-4f);
    EXPECT_NEAR(scene.fadeLevel, 0.9f, 1e-4f);
    PlayTo(200);
    EXPECT_FLOAT_EQ(scene.zoom, 1.2f);  // closed in: distance 2126 -> 1772
    PlayTo(1000);
    EXPECT_FLOAT_EQ(scene.zoom, 1.2f);
    EXPECT_NEAR(scene.fadeLevel, 0.0f, 1e-5f);
    PlayTo(5000);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);
    EXPECT_NEAR(scene.sceneClock, 50.0, 1e-9);  // 1 unit per 100 ms

    // The tunnel appears after local 10000, full height in about 333 ms, full width in 2000 ms.
    PlayTo(10000);
    EXPECT_FALSE(scene.tunnelOn);
    EXPECT_EQ(scene.tunnelHeight, 0.0f);
    PlayTo(10100);
    EXPECT_TRUE(scene.tunnelOn);
    EXPECT_NEAR(scene.tunnelHeight, 0.3f, 1e-4f);
    EXPECT_NEAR(scene.tunnelWidth, 0.05f, 1e-4f);
    PlayTo(10340);
    EXPECT_FLOAT_EQ(scene.tunnelHeight, 1.0f);
    EXPECT_NEAR(scene.tunnelWidth, 0.17f, 1e-4f);
    PlayTo(11000);
    EXPECT_NEAR(scene.tunnelWidth, 0.5f, 1e-4f);
    PlayTo(12100);
    EXPECT_FLOAT_EQ(scene.tunnelWidth, 1.0f);
    EXPECT_FLOAT_EQ(scene.tunnelHeight, 1.0f);

    // Fade-out from local 17000; it reaches 0.995 at the last millisecond of the window.
    PlayTo(17000);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);
    PlayTo(17500);
    EXPECT_NEAR(scene.fadeLevel, 0.5f, 1e-4f);
    PlayTo(17995);
    EXPECT_NEAR(scene.fadeLevel, 0.995f, 1e-4f);
    EXPECT_NEAR(scene.sceneClock, 179.95, 1e-6);

    // After the window nothing moves any more.
    for (int i = 0; i < 10; ++i) Frame(33);
    EXPECT_NEAR(scene.fadeLevel, 0.995f, 1e-4f);
    EXPECT_EQ(scene.localTime, 17995);
}

TEST_F(OrembyCityUpdate, RaysTintAndGlowFollowTheSpectrum) {
    // Silence: opaque white rays, untinted sphere, the glow's second copy at 0.4.
    EXPECT_FLOAT_EQ(scene.RayAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(scene.SphereTint(), 0.0f);
    EXPECT_FLOAT_EQ(scene.GlowScale(), 0.099999994f);
    EXPECT_NEAR(scene.GlowScale() + 0.3f, 0.4f, 1e-6f);

    // A scripted beat every fourth frame: the rays pulse (vanish on the loud frames, since a
    // negative colour clamps to 0) and the sphere turns blue with bin 0 / 6.
    const float beat[4] = {0.5f, 0.2f, 0.05f, 0.0f};
    for (int frame = 0; frame < 12; ++frame) {
        res.music.spectrum[0] = beat[frame % 4];
        Frame(33);
        const float expected = 1.0f - 3.0f * beat[frame % 4];
        EXPECT_NEAR(scene.RayAlpha(), expected, 1e-6f) << "frame " << frame;
        EXPECT_NEAR(scene.SphereTint(), beat[frame % 4] / 6.0f, 1e-6f);
    }
    res.music.spectrum[0] = 0.5f;
    EXPECT_LT(scene.RayAlpha(), 0.0f);

    // The radial glow's reach: a small box around the centre in silence, growing with bin 15,
    // the whole view once the glow crystal reaches the camera.
    scene.crystalRadius = 8.0f;
    scene.zoom = 1.2f;
    scene.camera.SetPerspective(45.0, 4.0 / 3.0, 1.0, 5000.0);
    res.music.spectrum[15] = 0.0f;
    float quietWidth, quietHeight;
    scene.GlowScreenExtent(quietWidth, quietHeight);
    // R = 5 x max(8, 20 x 0.4) = 40 at distance 1771.6: NDC height 0.0545, doubled and spread.
    EXPECT_NEAR(scene.GlowContentRadius(), 40.0f, 1e-3f);
    EXPECT_NEAR(quietHeight, 0.0545 * 0.5 * 2.0 * 1.0318 + 0.02, 2e-3);
    EXPECT_NEAR(quietWidth, (quietHeight - 0.02) * 0.75 + 0.02, 2e-3);
    res.music.spectrum[15] = 0.1f;
    float width, height;
    scene.GlowScreenExtent(width, height);
    EXPECT_GT(height, quietHeight);
    EXPECT_LT(height, 0.5f);
    res.music.spectrum[15] = 2.0f;  // R = 5 x 20 x 30.3, beyond the camera
    scene.GlowScreenExtent(width, height);
    EXPECT_EQ(width, 0.5f);
    EXPECT_EQ(height, 0.5f);

    // Bin 15 grows the glow crystal only above 0.01.
    res.music.spectrum[15] = 0.01f;
    EXPECT_FLOAT_EQ(scene.GlowScale(), 0.099999994f);
    res.music.spectrum[15] = 0.02f;
    EXPECT_NEAR(scene.GlowScale(), 0.3f, 1e-6f);
}

double Luminance(const VantorGLTest::cColourStats& s) {
    return 0.299 * s.mean[0] + 0.587 * s.mean[1] + 0.114 * s.mean[2];
}

// The demo inside the scene's window, in increasing time (one replay from 0).
TEST(OrembyCityRender, FramesOfTheWindowAndOneLogLinePerDrawing) {
    auto& harness = VantorGLTest::DemoHarness::Get();
    ASSERT_TRUE(harness.Ok());
    // The frames, kept under the build folder when a check fails, to look at.
    std::vector<std::uint8_t> frames[4];
    const char* const names[4] = {"oremby-25200", "oremby-30000", "oremby-36000", "oremby-42800"};
    auto keep = [&](int i, int ms) {
        frames[i] = harness.FrameAt(ms);
        return VantorGLTest::DemoHarness::Stats(frames[i]);
    };

    // 0:25.2 (local ~200): the fade picture covers most of the scene (fade level ~0.8).
    const auto fadeIn = keep(0, 25200);
    // 0:30: the scene itself, fade gone.
    const auto open = keep(1, 30000);
    EXPECT_GT(Luminance(fadeIn), 180.0) << "the near-white fade picture covers the frame";
    EXPECT_LT(Luminance(open), 140.0) << "a dark sphere of cubes around the glass";
    EXPECT_GT(open.spread, 10.0) << "the cluster, rays and cube sphere are visible";
    EXPECT_LT(fadeIn.spread, open.spread) << "the fade picture hides the scene's contrast";
    // 0:36: the tunnel has unfolded.
    const auto tunnel = keep(2, 36000);
    EXPECT_GT(tunnel.spread, 10.0);
    EXPECT_LT(tunnel.blackShare, 0.95);
    EXPECT_EQ(harness.Demo().orembyCity.tunnelOn, true);
    float glowWidth, glowHeight;
    harness.Demo().orembyCity.GlowScreenExtent(glowWidth, glowHeight);
    EXPECT_GT(harness.Demo().orembyCity.crystalRadius, 1.0f) << "the glow crystal's bounds were taken";
    // The cluster's needles reach the edges of the view, so the glow's bound may be the whole view,
    // but never more than it.
    EXPECT_GT(glowWidth, 0.0f);
    EXPECT_LE(glowHeight, 0.5f);
    // 0:42.8: fading out towards the fade picture.
    const auto fadeOut = keep(3, 42800);
    EXPECT_GT(harness.Demo().orembyCity.fadeLevel, 0.7f);
    EXPECT_LT(fadeOut.spread, tunnel.spread);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo ms " << harness.FirstGlErrorAt();
    if (::testing::Test::HasFailure()) {
        for (int i = 0; i < 4; ++i)
            VantorGLTest::KeepFrameIfFailed(frames[i], VantorGLTest::DemoHarness::kWidth,
                                            VantorGLTest::DemoHarness::kHeight, names[i]);
    }

    // Each drawing of the scene writes exactly one line: its source and bin 15 as a float.
    const std::string path = (std::filesystem::temp_directory_path() / "oremby-debug.log").string();
    auto* log = VantorGL::cDebugSystem::Instance();
    ASSERT_TRUE(log->Open(path.c_str()));
    const int before = log->Count();
    harness.Demo().orembyCity.RunRender();
    harness.Demo().orembyCity.RunRender();
    EXPECT_EQ(log->Count(), before + 2);
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::regex line(R"(\[(\d+)\]\(cOrembyCityScene\) (-?\d+\.\d{6})\n)");
    const std::string all = text.str();
    int count = 0;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), line); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ(std::stoi((*it)[1]), before + 1 + count);
        ++count;
    }
    EXPECT_EQ(count, 2) << all;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
