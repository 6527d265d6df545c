// Tests for the glass tunnel flight: the flight path, fades and blur driven by a hand-moved clock
// (no GL), and the scene's frames inside the whole headless demo.
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "assets/Resources.h"
#include "scenes/DrunaBeachScene.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace VantorGL;
using VantorGLTest::DemoHarness;

namespace {

using VantorGLTest::ManualCounter;

// The scene alone on the timeline, played frame by frame at 30 fps as the frame loop does it
// (update, tick; rendering needs GL and is left out).
class DrunaBeachFlight : public ::testing::Test {
protected:
    void SetUp() override {
        scene.SetResources(&res);
        VantorGLTest::SetWindowOf(scene, "drunaBeach");
        cTimeSystem::Instance()->UseCounter(&counter);
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // Plays frames until the scene's local time has reached `localMs` (or the demo time `demoMs`).
    void PlayToLocal(int localMs) {
        while (scene.localTime < localMs && frame < 2000) Step();
    }
    void PlayToDemo(int demoMs) {
        while (counter.ms < demoMs) Step();
    }
    void Step() {
        scene.RunUpdate();
        ++frame;
        counter.ms = std::int64_t(frame) * 1000 / 30;
        cTimeSystem::Instance()->Tick();
    }

    static cResources res;
    cDrunaBeachScene scene;
    ManualCounter counter;
    int frame = 0;
};

cResources DrunaBeachFlight::res;

}  // namespace

TEST_F(DrunaBeachFlight, StartsOnTheAxisBehindTheTunnelUnderTheFadePicture) {
    const cVector3 eye = scene.FlyingEye(), center = scene.FlyingCenter();
    EXPECT_DOUBLE_EQ(eye.x(), 0.0);
    EXPECT_DOUBLE_EQ(eye.y(), 50.0);
    EXPECT_DOUBLE_EQ(eye.z(), -2600.0);
    EXPECT_DOUBLE_EQ(center.z(), 10.0);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 1.0f);
    EXPECT_FLOAT_EQ(scene.blurAmount, 1.2f);

    PlayToDemo(42990);
    EXPECT_EQ(scene.localTime, 0) << "nothing moves before the window opens";
    EXPECT_FLOAT_EQ(scene.flyDistance, 0.0f);
}

TEST_F(DrunaBeachFlight, FliesCirclesFadesAndBlursOnItsTimeLine) {
    // Half-way through the fade-in.
    PlayToLocal(500);
    EXPECT_NEAR(scene.fadeLevel, 1.0f - 0.001f * scene.localTime, 1e-4);
    EXPECT_NEAR(scene.fadeLevel, 0.5f, 0.04f);

    // Faded in after one second (a frame past it, for the float steps) and clear until the
    // blur-out starts.
    PlayToLocal(1040);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);

    // 500 units and one radian per second; the eye passes the crystal at z = 0 near 5200 ms.
    PlayToLocal(5200);
    EXPECT_FLOAT_EQ(scene.flyDistance, 0.5f * float(scene.localTime));
    EXPECT_NEAR(scene.orbitAngle, 0.001 * scene.localTime, 1e-4);
    EXPECT_NEAR(scene.sceneClock, 0.01 * scene.localTime, 1e-9);
    const cVector3 eye = scene.FlyingEye();
    EXPECT_NEAR(eye.z(), 0.0, 17.0);
    EXPECT_NEAR(std::hypot(eye.x(), eye.y()), 50.0, 1e-3) << "the eye circles the axis at radius 50";
    EXPECT_NEAR(eye.x(), 50.0 * std::sin(-scene.orbitAngle), 1e-3);
    EXPECT_NEAR(scene.FlyingCenter().z(), scene.flyDistance + 10.0, 1e-3);
    // The (unused) particle emitter rides 1000 ahead of the flight, on the eye's circle.
    const cVector3f emitter = res.particles.emitterPosition;
    EXPECT_NEAR(emitter.x, eye.x(), 1e-3);
    EXPECT_NEAR(emitter.y, eye.y(), 1e-3);
    EXPECT_FLOAT_EQ(emitter.z, scene.flyDistance + 1000.0f);

    // Up to 10000 ms the second blur stays at 1.2 and the picture clear.
    PlayToLocal(10000);
    EXPECT_FLOAT_EQ(scene.blurAmount, 1.2f);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);

    // Then the blur grows by 10 a second and the fade returns at a net 0.3 a second (its first
    // frame gains the whole 1.3 a second: the fade-in has nothing left to take off).
    PlayToLocal(12000);
    EXPECT_NEAR(scene.blurAmount, 1.2f + 0.01f * (scene.localTime - 10000), 0.5f);
    EXPECT_NEAR(scene.fadeLevel, 0.0003f * (scene.localTime - 10000), 0.05f);

    int opaqueAt = -1;
    while (scene.localTime < 14015 && frame < 2000) {
        Step();
        if (opaqueAt < 0 && scene.fadeLevel >= 1.0f) opaqueAt = scene.localTime;
    }
    EXPECT_NEAR(opaqueAt, 13333, 150);

    // The window ends near 41 with the fade level past 1 and still growing.
    PlayToDemo(57100);
    EXPECT_NEAR(scene.blurAmount, 41.3f, 0.6f);
    EXPECT_GT(scene.fadeLevel, 1.15f);
    EXPECT_NEAR(scene.FlyingEye().z(), 0.5 * scene.localTime - 2600.0, 1e-3);

    // The scene keeps its values after its window.
    const float blur = scene.blurAmount, fly = scene.flyDistance;
    PlayToDemo(60000);
    EXPECT_FLOAT_EQ(scene.blurAmount, blur);
    EXPECT_FLOAT_EQ(scene.flyDistance, fly);
}

// The scene inside the whole demo: faded in and busy at 48 s, blurred and fading at 56 s, no GL
// error on the way. Moments in increasing order: the harness only plays forward.
TEST(DrunaBeachFrames, FadesInFliesAndBlursOut) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const cDrunaBeachScene& scene = harness.Demo().drunaBeach;

    const VantorGLTest::cColourStats start = DemoHarness::Stats(harness.FrameAt(43200));
    EXPECT_GT(scene.fadeLevel, 0.7f);

    const std::vector<std::uint8_t> at48 = harness.FrameAt(48000);
    const VantorGLTest::cColourStats mid = DemoHarness::Stats(at48);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);
    EXPECT_LT(mid.blackShare, 0.8) << "the tunnel fills the view";
    EXPECT_GT(mid.spread, 10.0) << "tubes, glass and the crystal give the frame contrast";
    VantorGLTest::KeepFrameIfFailed(at48, DemoHarness::kWidth, DemoHarness::kHeight, "druna-48s");

    // The cube the glass refracts: all six faces hold the same flying view, and it is not empty.
    {
        const int side = harness.Demo().registry.cubeMap.width;
        std::vector<std::uint8_t> first(std::size_t(side) * side * 3), face(first.size());
        glBindTexture(GL_TEXTURE_CUBE_MAP, harness.Demo().registry.cubeMap.texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_RGB, GL_UNSIGNED_BYTE, first.data());
        std::size_t lit = 0;
        for (std::uint8_t v : first) lit += v > 12;
        EXPECT_GT(lit, first.size() / 4) << "the cube face shows the tubes";
        for (GLenum f = GL_TEXTURE_CUBE_MAP_NEGATIVE_X; f <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z; ++f) {
            glGetTexImage(f, 0, GL_RGB, GL_UNSIGNED_BYTE, face.data());
            EXPECT_TRUE(face == first) << "cube face " << (f - GL_TEXTURE_CUBE_MAP_POSITIVE_X);
        }
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    }

    const std::vector<std::uint8_t> at56 = harness.FrameAt(56000);
    const VantorGLTest::cColourStats late = DemoHarness::Stats(at56);
    EXPECT_GT(scene.blurAmount, 30.0f);
    EXPECT_GT(scene.fadeLevel, 0.8f);
    // The pale fade picture is back over a heavily blurred view: far brighter and smoother than
    // the clear flight, and further faded than the first frames (0.93 against 0.8).
    EXPECT_GT(late.mean[0], mid.mean[0] + 100.0);
    EXPECT_LT(late.spread, mid.spread / 2);
    EXPECT_GT(late.mean[0], start.mean[0]);

    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}
