// Tests for the closing canyon scene: its clocks, camera slide and fades under a scripted clock
// (no GL), and the rendered frames of the demo's last 33 seconds.
#include "support/ManualCounter.h"
#include "scenes/CucumberCampingScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

using namespace VantorGL;
using VantorGLTest::DemoHarness;

namespace {

using VantorGLTest::ManualCounter;

// The scene alone on a hand-moved clock, frames played as the loop does: update, tick.
class CucumberCampingClock : public ::testing::Test {
protected:
    void SetUp() override {
        scene.SetResources(&res);
        scene.SetTimeWindow("2:14.0", "5:47.0");
        cTimeSystem::Instance()->UseCounter(&counter);
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // Plays frames of `step` ms until the clock reaches `untilMs`.
    void PlayTo(int untilMs, int step) {
        while (counter.ms < untilMs) {
            scene.RunUpdate();
            counter.ms += step;
            cTimeSystem::Instance()->Tick();
        }
    }

    static cResources res;
    cCucumberCampingScene scene;  // fresh for each test
    ManualCounter counter;
};

cResources CucumberCampingClock::res;

}  // namespace

TEST_F(CucumberCampingClock, FadesInOverItsFirstSecondWhileTheCameraSlides) {
    PlayTo(134000, 20);
    EXPECT_EQ(scene.fade, 1.0f);  // not yet updated
    EXPECT_EQ(scene.sceneClock, 0.0);
    EXPECT_DOUBLE_EQ(scene.Eye().x(), -307.0);
    EXPECT_DOUBLE_EQ(scene.Eye().y(), 130.0);
    EXPECT_DOUBLE_EQ(scene.Eye().z(), 430.0);

    PlayTo(134020, 20);  // first active frame: one 20 ms step
    EXPECT_TRUE(scene.IsActive());
    EXPECT_NEAR(scene.fade, 0.98f, 1e-6f);
    EXPECT_NEAR(scene.sceneClock, 0.2, 1e-6);

    PlayTo(134500, 20);
    EXPECT_GT(scene.fade, 0.4f);
    EXPECT_LT(scene.fade, 0.6f);
    PlayTo(135020, 20);
    EXPECT_EQ(scene.fade, 0.0f);  // held at 0, never negative
    PlayTo(140000, 20);
    EXPECT_EQ(scene.fade, 0.0f);

    // The slide runs at 0.01 units per ms along x and -z, looking at the credits.
    const double clockAt140 = scene.sceneClock;
    EXPECT_NEAR(clockAt140, (140000 - 134000) * 0.01, 1e-3);
    EXPECT_NEAR(scene.Eye().x(), -307.0 + clockAt140, 1e-3);
    EXPECT_NEAR(scene.Eye().z(), 430.0 - clockAt140, 1e-3);
    EXPECT_DOUBLE_EQ(scene.Eye().y(), 130.0);
}

TEST_F(CucumberCampingClock, FadesOutFromTheLastSecondToTheEndOfTheDemo) {
    PlayTo(166000, 33);
    EXPECT_EQ(scene.fade, 0.0f);
    EXPECT_NEAR(scene.sceneClock, (166000 - 134000) * 0.01, 0.5);

    PlayTo(166500, 33);  // net rise of 0.001 per ms once past 166000
    EXPECT_GT(scene.fade, 0.4f);
    EXPECT_LT(scene.fade, 0.55f);
    PlayTo(167000, 33);
    EXPECT_GT(scene.fade, 0.9f);
    PlayTo(168000, 33);
    EXPECT_EQ(scene.fade, 1.0f);  // capped

    // The camera ends near (23, 130, 100).
    EXPECT_NEAR(scene.Eye().x(), 23.0 + 10.0, 1.0);  // one second past the demo's end
    EXPECT_NEAR(scene.Eye().z(), 100.0 - 10.0, 1.0);
}

// Share of pixels in the top-left and bottom-right quarters brighter than 230 in every channel.
static void WhiteByQuarter(const std::vector<std::uint8_t>& rgba, double& topLeft, double& bottomRight) {
    const int w = DemoHarness::kWidth, h = DemoHarness::kHeight;
    int tl = 0, br = 0;
    for (int y = 0; y < h / 2; ++y)  // rows are bottom first: y < h/2 is the lower half
        for (int x = 0; x < w / 2; ++x) {
            const std::uint8_t* low = &rgba[(size_t(y) * w + size_t(x + w / 2)) * 4];
            const std::uint8_t* high = &rgba[(size_t(y + h / 2) * w + size_t(x)) * 4];
            br += low[0] > 230 && low[1] > 230 && low[2] > 230;
            tl += high[0] > 230 && high[1] > 230 && high[2] > 230;
        }
    topLeft = tl / double(w / 2 * h / 2);
    bottomRight = br / double(w / 2 * h / 2);
}

TEST(CucumberCampingRender, CanyonWithASkyOpeningThenTheClosingPicture) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const int w = DemoHarness::kWidth, h = DemoHarness::kHeight;

    // (FrameAt hands back the harness's one frame buffer: each check reads it before the next call.)
    // Mid-flight: rock, floor and crystals, with the sky a small bright opening at the top left
    // (its rays are added three times: a sky filling the view would turn the frame white).
    const std::vector<std::uint8_t>& mid = harness.FrameAt(145000);
    const VantorGLTest::cColourStats midStats = DemoHarness::Stats(mid);
    VantorGLTest::cColourStats stats = midStats;
    double topLeft = 0, bottomRight = 0;
    WhiteByQuarter(mid, topLeft, bottomRight);
    EXPECT_GT(stats.spread, 20.0);
    EXPECT_GT(stats.whiteShare, 0.01);
    EXPECT_LT(stats.whiteShare, 0.2);
    EXPECT_LT(stats.blackShare, 0.2);
    EXPECT_GT(topLeft, 0.05);
    EXPECT_LT(bottomRight, 0.01);
    if (::testing::Test::HasFailure()) DemoHarness::WritePng(mid, w, h, "/tmp/cucumber-145000.png");

    // A tenth of a second before the end the closing picture covers nearly all of the canyon:
    // bright, pale and nearly flat.
    const std::vector<std::uint8_t>& late = harness.FrameAt(166900);
    stats = DemoHarness::Stats(late);
    EXPECT_GT(stats.mean[0], 200.0);
    EXPECT_GT(stats.mean[2], 210.0);
    EXPECT_LT(stats.spread, 20.0);
    if (::testing::Test::HasFailure()) DemoHarness::WritePng(late, w, h, "/tmp/cucumber-166900.png");

    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
    std::printf("145 s: white %.3f (top left %.3f), spread %.1f; 166.9 s: mean %.0f %.0f %.0f, spread %.1f\n",
                midStats.whiteShare, topLeft, midStats.spread, stats.mean[0], stats.mean[1],
                stats.mean[2], stats.spread);
}
