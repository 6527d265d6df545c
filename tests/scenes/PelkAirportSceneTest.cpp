// Tests for the metaball scene: the source paths and the field on the lattice, the fade picture's
// timing under a scripted clock (no GL), and the scene as the demo draws it at its moments.
#include "scenes/PelkAirportScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cmath>

using VantorGL::cPelkAirportScene;
using VantorGL::cTimeSystem;
using VantorGLTest::DemoHarness;
using VantorGLTest::ManualCounter;

namespace {

// The scene, its registry and a hand-moved clock, driven in the frame loop's order.
class PelkAirportUpdate : public ::testing::Test {
protected:
    static cPelkAirportScene scene;
    static VantorGL::cResources res;
    ManualCounter counter;

    void SetUp() override {
        // Constructor values again (the object is static: it is too large for the stack).
        scene.sceneClock = 0.0;
        scene.endFade = 1.0f;
        scene.beatCount = 0;
        scene.beatCooldown = 100.0f;
        scene.ResetFieldSources();
        scene.firstCall = true;
        scene.localTime = 0;
        scene.SetResources(&res);
        VantorGLTest::SetWindowOf(scene, "pelkAirport");
        ASSERT_TRUE(scene.SetUpGrid());
        counter.ms = 0;
        cTimeSystem::Instance()->UseCounter(&counter);
        scene.RunUpdate();  // latches the scene's base at demo time 0, like the sequencer's first frame
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // Moves the clock to `ms` with a last step of `step` ms, as if frames had run up to there.
    void JumpTo(int ms, int step) {
        counter.ms = ms - step;
        cTimeSystem::Instance()->Tick();
        counter.ms = ms;
        cTimeSystem::Instance()->Tick();
    }
    // One frame: update, then the clock moves `step` ms.
    void Frame(int step, float spectrum0 = 0.0f) {
        res.music.spectrum[0] = spectrum0;
        scene.RunUpdate();
        counter.ms += step;
        cTimeSystem::Instance()->Tick();
    }
};
cPelkAirportScene PelkAirportUpdate::scene;
VantorGL::cResources PelkAirportUpdate::res;

// The paths written out independently, in double precision.
void ExpectedSource(int index, double t, double out[3]) {
    const double c = std::cos(t), s = std::sin(t), f = 2 * c;
    switch (index) {
        case 0:
            out[0] = f * std::cos(t / 2) - 4 * c * c, out[1] = f * std::sin(t / 2) + 4 * s * s, out[2] = -3 * c + f;
            break;
        case 1:
            out[0] = 5 * s + 2 * f, out[1] = std::sin(t / 5) - 5 * c * std::sin(t / 5) - f / 5, out[2] = 7 * c - f;
            break;
        case 2:
            out[0] = -5 * c - 0.2 * s, out[1] = 5 * s - 0.2 * s, out[2] = 2 * s - 0.2 * s;
            break;
        default:
            out[0] = 5 * c + 0.2 * s, out[1] = -5 * s + 0.2 * s, out[2] = -2 * s + 0.2 * s;
    }
}

}  // namespace

TEST_F(PelkAirportUpdate, SourcesFollowDemoTimeAndTheFieldIsTheirInverseSquareSum) {
    JumpTo(115000, 33);
    for (int i = 0; i < 151; ++i) Frame(33);  // about five seconds into the scene
    Frame(33);
    const int demoMs = cTimeSystem::Instance()->SinceReset() - 33;  // the time of the last update
    const double t = demoMs / 1000.0;
    for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) {
        double expected[3];
        ExpectedSource(i, t, expected);
        EXPECT_NEAR(scene.sources[i].x, expected[0], 2e-4) << "source " << i;
        EXPECT_NEAR(scene.sources[i].y, expected[1], 2e-4) << "source " << i;
        EXPECT_NEAR(scene.sources[i].z, expected[2], 2e-4) << "source " << i;
        EXPECT_EQ(scene.sources[i].s, float(5 + i));
    }
    // sceneClock counts scene frames, not demo time.
    EXPECT_NEAR(scene.sceneClock, 152 * 33 * 0.01, 1e-9);

    // The single pass over the lattice gives bit for bit what summing source after source gives.
    ASSERT_EQ(scene.grid.pointCount, 31 * 31 * 31);
    for (int p = 0; p < scene.grid.pointCount; p += 97) {
        const auto& point = scene.grid.points[p];
        float value = 0.0f;
        VantorGL::cVector3f normal;
        for (const auto& source : scene.sources) {
            const VantorGL::cVector3f d = point.position - VantorGL::cVector3f(source.x, source.y, source.z);
            float r2 = d.x * d.x + d.y * d.y + d.z * d.z;
            if (r2 == 0.0f) r2 = 0.0001f;
            value += source.s / r2;
            normal += d * (source.s / (r2 * r2));
        }
        ASSERT_EQ(point.value, value) << "point " << p;
        ASSERT_EQ(point.normal.x, normal.x);
        ASSERT_EQ(point.normal.y, normal.y);
        ASSERT_EQ(point.normal.z, normal.z);
    }

    // The sources lie inside the lattice, so level 1 closes a surface around them, inside -10..10.
    int outside = 0;
    const int triangles = scene.grid.PolygoniseInto(scene.isoThreshold, [&](const auto& a, const auto& b, const auto& c) {
        for (const auto* v : {&a, &b, &c})
            if (std::fabs(v->position.x) > 10 || std::fabs(v->position.y) > 10 || std::fabs(v->position.z) > 10) ++outside;
    });
    EXPECT_GT(triangles, 200);
    EXPECT_EQ(outside, 0);
}

TEST_F(PelkAirportUpdate, APointOnASourceStaysFinite) {
    // Lattice point 15 of 30 is exactly 0 on each axis.
    for (auto& source : scene.sources) source.x = source.y = 0.0f, source.z = 20.0f;
    scene.sources[0].z = 0.0f;
    scene.EvaluateField();
    const auto& centre = scene.grid.points[(15 * 31 + 15) * 31 + 15];
    ASSERT_EQ(centre.position.x, 0.0f);
    ASSERT_EQ(centre.position.z, 0.0f);
    EXPECT_TRUE(std::isfinite(centre.value));
    EXPECT_NEAR(centre.value, 5.0 / 0.0001 + 6.0 / 400 + 7.0 / 400 + 8.0 / 400, 1.0);
    EXPECT_TRUE(std::isfinite(centre.normal.x) && std::isfinite(centre.normal.y) && std::isfinite(centre.normal.z));
    // Its neighbour one spacing (2/3) along x feels source 0 at r2 = 4/9.
    const auto& next = scene.grid.points[(16 * 31 + 15) * 31 + 15];
    EXPECT_NEAR(next.value - 21.0 / 400, 5.0 / (4.0 / 9.0), 0.05);
    EXPECT_GT(next.normal.x, 0.0f);  // the normal points away from the source
}

TEST_F(PelkAirportUpdate, FadePictureLeavesInTheFirstSecondAndReturnsAt132Seconds) {
    JumpTo(115000, 33);
    Frame(33);
    EXPECT_NEAR(scene.endFade, 1.0f - 0.033f, 1e-5);
    while (cTimeSystem::Instance()->SinceReset() < 115500) Frame(33);
    EXPECT_NEAR(scene.endFade, 1.0f - 0.001f * (cTimeSystem::Instance()->SinceReset() - 115000), 1e-4);
    while (cTimeSystem::Instance()->SinceReset() < 116100) Frame(33);
    EXPECT_EQ(scene.endFade, 0.0f);

    // Beats neither show nor stick: the counter is cleared in the update that raises it.
    for (int i = 0; i < 30; ++i) Frame(33, 0.9f);
    EXPECT_EQ(scene.beatCount, 0);
    EXPECT_GT(scene.beatCooldown, 0.0f);

    JumpTo(131967, 33);
    Frame(33);  // at 131967 ms: not yet
    EXPECT_EQ(scene.endFade, 0.0f);
    Frame(33);  // at 132000 ms: "after" means strictly after
    EXPECT_EQ(scene.endFade, 0.0f);
    Frame(33);  // 132033 ms: out 0.033, clamped to 0, then in 0.066
    EXPECT_NEAR(scene.endFade, 0.066f, 1e-5);
    while (cTimeSystem::Instance()->SinceReset() < 132600) Frame(33);
    const int at = cTimeSystem::Instance()->SinceReset() - 33;
    EXPECT_NEAR(scene.endFade, 0.066 + 0.001 * (at - 132033), 1e-4);
    while (cTimeSystem::Instance()->SinceReset() <= 134000) Frame(33);
    EXPECT_EQ(scene.endFade, 1.0f);  // clamped: the frame stays covered to the end
}

// The scene as the demo draws it: covered at its first frame, a blob over the backdrop in the
// middle, covered again at the end.
TEST(PelkAirportScene, DrawsTheBlobBetweenItsFades) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const auto& open = harness.FrameAt(115200);
    const VantorGLTest::cColourStats opening = DemoHarness::Stats(open);
    const float openingFade = harness.Demo().pelkAirport.endFade;
    EXPECT_GT(openingFade, 0.7f);

    const auto& middle = harness.FrameAt(120000);
    const VantorGLTest::cColourStats steady = DemoHarness::Stats(middle);
    EXPECT_EQ(harness.Demo().pelkAirport.endFade, 0.0f);
    EXPECT_GT(harness.Demo().pelkAirport.grid.trianglesEmitted, 200) << "no blob drawn";
    EXPECT_GT(steady.spread, 10.0) << "a flat frame";
    EXPECT_LT(steady.blackShare, 0.9);
    // Without the fade picture the scene's own picture shows: the frame differs from the covered one.
    const double change = std::fabs(steady.mean[0] - opening.mean[0]) + std::fabs(steady.mean[1] - opening.mean[1]) +
                          std::fabs(steady.mean[2] - opening.mean[2]) + std::fabs(steady.spread - opening.spread);
    EXPECT_GT(change, 5.0);
    VantorGLTest::KeepFrameIfFailed(middle, DemoHarness::kWidth, DemoHarness::kHeight, "pelk-120000");

    harness.FrameAt(133500);
    EXPECT_EQ(harness.Demo().pelkAirport.endFade, 1.0f);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}
