// Tests for the glass tunnel flight: the flight path, fades and blur driven by a hand-moved clock
// (no GL), and the scene's frames inside the whole headless demo.
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "assets/Resources.h"
#include "scenes/DrunaBeachScene.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/Timeline.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_NEAR(std::hypot(eye.x(), eye.y()), cDrunaBeachScene::kOrbitRadius, 1e-3);
    EXPECT_DOUBLE_EQ(eye.z(), -cDrunaBeachScene::kEyeBehind);
    EXPECT_DOUBLE_EQ(center.x(), 0.0);
    EXPECT_DOUBLE_EQ(center.y(), 0.0);
    EXPECT_GT(center.z(), eye.z()) << "looking along +z, down the tunnel";
    EXPECT_FLOAT_EQ(scene.fadeLevel, 1.0f);
    const float blur = scene.blurAmount;

    PlayToDemo(VantorGL::TimelineStartMs("drunaBeach") - 10);
    EXPECT_EQ(scene.localTime, 0) << "nothing moves before the window opens";
    EXPECT_FLOAT_EQ(scene.flyDistance, 0.0f);
    EXPECT_FLOAT_EQ(scene.blurAmount, blur);
}

// The flight: the eye circles the axis at a fixed radius, steadily and without jumps, flies
// forward at a steady speed, always looks ahead down the axis, and stays inside the tunnel from
// the first frame to the last, passing the crystal at z = 0 on the way. The unused emitter rides
// on the eye's circle ahead of it.
TEST_F(DrunaBeachFlight, FliesSteadilyAroundTheAxisInsideTheTunnel) {
    const double tunnelNear = cDrunaBeachScene::kTunnelFirstZ + (cDrunaBeachScene::kTunnelPieces - 1) * cDrunaBeachScene::kTunnelStep;
    const double tunnelFar = cDrunaBeachScene::kTunnelFirstZ;
    const int windowMs = VantorGL::TimelineEndMs("drunaBeach") - VantorGL::TimelineStartMs("drunaBeach");
    PlayToLocal(1);
    cVector3 last = scene.FlyingEye();
    double lastAngle = scene.orbitAngle, lastClock = scene.sceneClock;
    int lastLocal = scene.localTime, passedCrystalAt = -1;
    double speedLow = 1e9, speedHigh = 0.0;
    while (scene.localTime < windowMs - 40 && frame < 2000) {
        Step();
        const cVector3 eye = scene.FlyingEye(), center = scene.FlyingCenter();
        const double dt = scene.localTime - lastLocal;
        ASSERT_GT(dt, 0.0);
        ASSERT_NEAR(std::hypot(eye.x(), eye.y()), cDrunaBeachScene::kOrbitRadius, 1e-3) << "at " << scene.localTime;
        ASSERT_GT(eye.z(), tunnelNear) << "behind the tunnel at " << scene.localTime;
        ASSERT_LT(eye.z(), tunnelFar) << "out of the tunnel at " << scene.localTime;
        ASSERT_GT(center.z(), eye.z());
        ASSERT_EQ(std::hypot(center.x(), center.y()), 0.0);
        const double speed = (eye.z() - last.z()) / dt;
        speedLow = std::min(speedLow, speed), speedHigh = std::max(speedHigh, speed);
        const double turn = (scene.orbitAngle - lastAngle) / dt;
        ASSERT_GT(turn, 0.0) << "the circling stops at " << scene.localTime;
        ASSERT_LT(std::hypot(eye.x() - last.x(), eye.y() - last.y()), 0.2 * cDrunaBeachScene::kOrbitRadius) << "a jump";
        ASSERT_GT(scene.sceneClock, lastClock);
        if (passedCrystalAt < 0 && last.z() < 0.0 && eye.z() >= 0.0) passedCrystalAt = scene.localTime;
        const cVector3f emitter = res.particles.emitterPosition;
        ASSERT_NEAR(emitter.x, eye.x(), 1e-3);
        ASSERT_NEAR(emitter.y, eye.y(), 1e-3);
        ASSERT_GT(emitter.z, eye.z());
        last = eye, lastAngle = scene.orbitAngle, lastClock = scene.sceneClock, lastLocal = scene.localTime;
    }
    EXPECT_GT(speedLow, 0.0);
    EXPECT_NEAR(speedHigh, speedLow, 1e-3 * speedHigh) << "the speed changes";
    EXPECT_GT(passedCrystalAt, 1000) << "the crystal goes by under the fade picture";
    EXPECT_LT(passedCrystalAt, cDrunaBeachScene::kBlurOutStartMs) << "the crystal goes by only in the blur-out";
    EXPECT_GT(scene.orbitAngle, 2 * 3.14159) << "not one whole turn around the axis";
}

// The fade picture lifts over the first second and stays away; from kBlurOutStartMs the blur
// grows steadily and the fade comes back, covering the view well before the window ends and
// still growing there. After the window the scene keeps its values.
TEST_F(DrunaBeachFlight, FadesAndBlursOnItsTimeLine) {
    float fade = scene.fadeLevel, blur = scene.blurAmount;
    while (scene.localTime < 1040 && frame < 2000) {
        Step();
        if (scene.localTime > 0 && scene.localTime < 960) {
            EXPECT_LT(scene.fadeLevel, fade) << "not lifting at " << scene.localTime;
        }
        fade = scene.fadeLevel;
    }
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);
    PlayToLocal(cDrunaBeachScene::kBlurOutStartMs - 40);
    EXPECT_FLOAT_EQ(scene.fadeLevel, 0.0f);
    EXPECT_FLOAT_EQ(scene.blurAmount, blur) << "the blur changed before the blur-out";
    PlayToLocal(cDrunaBeachScene::kBlurOutStartMs + 1);

    const int windowMs = VantorGL::TimelineEndMs("drunaBeach") - VantorGL::TimelineStartMs("drunaBeach");
    int opaqueAt = -1;
    while (scene.localTime < windowMs - 40 && frame < 2000) {
        Step();
        EXPECT_GT(scene.blurAmount, blur) << "the blur stops growing at " << scene.localTime;
        EXPECT_GT(scene.fadeLevel, fade) << "the fade stops growing at " << scene.localTime;
        blur = scene.blurAmount, fade = scene.fadeLevel;
        if (opaqueAt < 0 && fade >= 1.0f) opaqueAt = scene.localTime;
    }
    EXPECT_GT(opaqueAt, cDrunaBeachScene::kBlurOutStartMs + 1000) << "the fade snaps back";
    EXPECT_LT(opaqueAt, windowMs - 500) << "covered only at the very end";
    EXPECT_GT(scene.blurAmount, 10.0f) << "the end of the window is not heavily blurred";

    PlayToDemo(VantorGL::TimelineEndMs("drunaBeach") + 100);
    blur = scene.blurAmount, fade = scene.fadeLevel;
    const float flown = scene.flyDistance;
    PlayToDemo(VantorGL::TimelineEndMs("drunaBeach") + 3000);
    EXPECT_EQ(scene.blurAmount, blur);
    EXPECT_EQ(scene.fadeLevel, fade);
    EXPECT_EQ(scene.flyDistance, flown);
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
