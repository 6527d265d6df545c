// The crystal cluster scene: its clocks, fades and tunnel on a scripted clock, the music-driven
// ray, tint and glow values on a scripted spectrum, and the demo's frames inside its window.
#include "scenes/OrembyCityScene.h"
#include "support/ManualCounter.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ProcessState.h"
#include "support/ScratchFolder.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VantorGL::cOrembyCityScene;
using VantorGL::cTimeSystem;

using VantorGLTest::ManualCounter;

class OrembyCityUpdate : public ::testing::Test {
protected:
    // The registry's particle system seeds rand() as it is made: on this state, not the process's.
    VantorGLTest::RandSeed randomState{1};
    // A fresh scene and registry for each test (static in the program; too large for the stack).
    // No GL is touched by either.
    std::unique_ptr<cOrembyCityScene> freshScene = std::make_unique<cOrembyCityScene>();
    std::unique_ptr<VantorGL::cResources> freshRegistry = std::make_unique<VantorGL::cResources>();
    cOrembyCityScene& scene = *freshScene;
    VantorGL::cResources& res = *freshRegistry;

    void SetUp() override {
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

// Every cube of the sphere sits at one radius, and together they reach every side of it.
TEST_F(OrembyCityUpdate, CubeSphereCoversItsWholeRadius) {
    const auto& cubes = scene.sphereCubes;
    auto radius = [](const cOrembyCityScene::cSphereCube& c) { return std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z); };
    const float r = radius(cubes[0]);
    ASSERT_GT(r, 1.0f);
    for (const auto& c : cubes) ASSERT_NEAR(radius(c), r, 1e-4f * r) << "cube at " << c.u << ", " << c.v;
    const float axes[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const auto& a : axes) {
        float best = -1.0f;
        for (const auto& c : cubes) best = std::max(best, (c.x * a[0] + c.y * a[1] + c.z * a[2]) / r);
        EXPECT_GT(best, 0.99f) << "no cube towards " << a[0] << " " << a[1] << " " << a[2];
    }
}

// The camera closes in over the first moments and holds; the fade picture lifts steadily over the
// first second and stays away; the tunnel unfolds after ten seconds, height first, then width,
// neither past full size; from seventeen seconds the fade picture returns steadily until the
// window ends nearly covered. After the window nothing moves any more.
TEST_F(OrembyCityUpdate, ZoomFadesAndTunnelFollowTheTimeLine) {
    Frame(0);  // first frame: no time has passed
    EXPECT_FLOAT_EQ(scene.zoom, 1.0f);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 1.0f);

    const int windowMs = 17995;
    float zoom = scene.zoom, fade = scene.fadeLevel, height = 0.0f, width = 0.0f;
    double clock = scene.sceneClock;
    int heightFullAt = -1, widthFullAt = -1;
    while (scene.localTime < windowMs) {
        Frame(std::min(10, windowMs - scene.localTime));
        const int t = scene.localTime;
        ASSERT_GT(scene.sceneClock, clock) << "at " << t;
        clock = scene.sceneClock;
        if (t <= 150) {
            EXPECT_GT(scene.zoom, zoom) << "not closing in at " << t;
        }
        if (t >= 500) {
            EXPECT_EQ(scene.zoom, zoom) << "still zooming at " << t;
        }
        zoom = scene.zoom;
        if (t < 950) {
            EXPECT_LT(scene.fadeLevel, fade) << "not lifting at " << t;
        }
        if (t >= 1050 && t <= 17000) {
            EXPECT_EQ(scene.fadeLevel, 0.0f) << "at " << t;
        }
        if (t > 17000) {
            EXPECT_GT(scene.fadeLevel, fade) << "not returning at " << t;
        }
        fade = scene.fadeLevel;

        EXPECT_EQ(scene.tunnelOn, t > 10000) << "at " << t;
        EXPECT_GE(scene.tunnelHeight, height);
        EXPECT_GE(scene.tunnelWidth, width);
        EXPECT_LE(scene.tunnelHeight, 1.0f);
        EXPECT_LE(scene.tunnelWidth, 1.0f);
        height = scene.tunnelHeight, width = scene.tunnelWidth;
        if (heightFullAt < 0 && height == 1.0f) heightFullAt = t;
        if (widthFullAt < 0 && width == 1.0f) widthFullAt = t;
    }
    EXPECT_GT(zoom, 1.1f) << "the camera hardly closes in";
    EXPECT_GT(heightFullAt, 10000);
    EXPECT_LT(heightFullAt, 11000) << "the tunnel rises slowly";
    EXPECT_GT(widthFullAt, heightFullAt);
    EXPECT_LT(widthFullAt, 13000) << "the tunnel widens slowly";
    EXPECT_GT(fade, 0.9f) << "the window ends uncovered";

    // After the window nothing moves any more.
    for (int i = 0; i < 10; ++i) Frame(33);
    EXPECT_EQ(scene.fadeLevel, fade);
    EXPECT_EQ(scene.sceneClock, clock);
    EXPECT_EQ(scene.localTime, windowMs);
}

// The bass pulses the rays (full in silence, gone on loud frames, back on quiet ones) and turns
// the sphere blue; bin 15 grows the glow crystal past a small gate, and the glow's reach with it,
// up to the whole view.
TEST_F(OrembyCityUpdate, RaysTintAndGlowFollowTheSpectrum) {
    EXPECT_FLOAT_EQ(scene.RayAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(scene.SphereTint(), 0.0f);

    const float beat[4] = {0.5f, 0.2f, 0.05f, 0.0f};  // loud to silent
    float alpha[4], tint[4];
    for (int frame = 0; frame < 12; ++frame) {
        res.music.spectrum[0] = beat[frame % 4];
        Frame(33);
        if (frame >= 4) {
            EXPECT_EQ(scene.RayAlpha(), alpha[frame % 4]) << "frame " << frame << " remembers the last beat";
            EXPECT_EQ(scene.SphereTint(), tint[frame % 4]);
        }
        alpha[frame % 4] = scene.RayAlpha(), tint[frame % 4] = scene.SphereTint();
    }
    EXPECT_LE(alpha[0], 0.0f) << "the rays stay on a loud frame";
    for (int i = 1; i < 4; ++i) {
        EXPECT_GT(alpha[i], alpha[i - 1]) << "quieter, brighter rays";
        EXPECT_LT(tint[i], tint[i - 1]) << "quieter, less blue";
    }
    EXPECT_EQ(alpha[3], 1.0f);
    EXPECT_EQ(tint[3], 0.0f);
    EXPECT_LT(tint[0], 0.5f) << "a tint, not a blue sphere";

    // The glow crystal's second copy: the same in silence and up to the gate, larger above it.
    res.music.spectrum[15] = 0.0f;
    const float silentScale = scene.GlowScale();
    res.music.spectrum[15] = 0.01f;
    EXPECT_EQ(scene.GlowScale(), silentScale);
    res.music.spectrum[15] = 0.02f;
    EXPECT_GT(scene.GlowScale(), silentScale);

    // The glow's reach: a small box around the centre in silence (narrower than high in shares of
    // a 4:3 view), growing with bin 15, the whole view once the glow crystal reaches the camera.
    scene.crystalRadius = 8.0f;
    scene.zoom = 1.2f;
    scene.camera.SetPerspective(45.0, 4.0 / 3.0, 1.0, 5000.0);
    float lastWidth = 0.0f, lastHeight = 0.0f, lastRadius = 0.0f;
    for (float level : {0.0f, 0.05f, 0.1f}) {
        res.music.spectrum[15] = level;
        float width, height;
        scene.GlowScreenExtent(width, height);
        EXPECT_GE(scene.GlowContentRadius(), scene.crystalRadius) << "bin 15 at " << level;
        EXPECT_GT(scene.GlowContentRadius(), lastRadius) << "bin 15 at " << level;
        EXPECT_GT(height, lastHeight) << "bin 15 at " << level;
        EXPECT_GT(width, lastWidth) << "bin 15 at " << level;
        EXPECT_LT(width, height) << "bin 15 at " << level;
        EXPECT_LT(height, 0.5f) << "bin 15 at " << level;
        if (level == 0.0f) {
            EXPECT_LT(height, 0.15f) << "a large glow in silence";
        }
        lastWidth = width, lastHeight = height, lastRadius = scene.GlowContentRadius();
    }
    res.music.spectrum[15] = 2.0f;  // far beyond the camera
    float width, height;
    scene.GlowScreenExtent(width, height);
    EXPECT_EQ(width, 0.5f);
    EXPECT_EQ(height, 0.5f);
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
    for (int i = 0; i < 4; ++i)
        VantorGLTest::KeepFrameIfFailed(frames[i], VantorGLTest::DemoHarness::kWidth,
                                        VantorGLTest::DemoHarness::kHeight, names[i]);

    // Each drawing of the scene writes exactly one line: its source and bin 15 as a float.
    const VantorGLTest::ScratchFolder folder("oremby-log");
    const std::string path = folder.Path("debug.log");
    auto* log = VantorGL::cDebugSystem::Instance();
    int before = 0;
    {
        const VantorGLTest::DebugLogInto opened(path);
        before = log->Count();
        harness.Drive([](VantorGL::cDemoScene& demo) {
            demo.orembyCity.RunRender();
            demo.orembyCity.RunRender();
        });
        EXPECT_EQ(log->Count(), before + 2);
    }
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
    harness.Drive([](VantorGL::cDemoScene&) { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); });
    harness.Restart();       // the two extra drawings are not part of a straight play
}

}  // namespace
