// Tests for the closing canyon scene: its clocks, camera slide and fades under a scripted clock
// (no GL), and the rendered frames of the demo's last 33 seconds.
#include "scenes/CucumberCampingScene.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/LookAtView.h"
#include "timeline/TimeSystem.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace VantorGL;
using VantorGLTest::DemoHarness;

namespace {

using VantorGLTest::ManualCounter;

// The scene alone on a hand-moved clock, frames played as the loop does: update, tick.
class CucumberCampingClock : public ::testing::Test {
protected:
    void SetUp() override {
        scene.SetResources(&res);
        VantorGLTest::SetWindowOf(scene, "cucumberCamping");
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

namespace {

double Luma(const std::uint8_t* p) { return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]; }

// The scene's camera at demo time `ms` (its clock runs from the scene's start), projecting world
// point p to a pixel (x right, y up from the bottom row, as the frame is stored).
bool ProjectAt(int ms, const float p[3], double& px, double& py) {
    const cVector3 at = cCucumberCampingScene::EyeAt((ms - TimelineStartMs("cucumberCamping")) *
                                                     cCucumberCampingScene::kClockPerMs);
    const double eye[3] = {at.x(), at.y(), at.z()}, up[3] = {0, 1, 0};
    const double target[3] = {cCucumberCampingScene::kCreditsX, cCucumberCampingScene::kCreditsY,
                              cCucumberCampingScene::kCreditsZ};
    const double point[3] = {p[0], p[1], p[2]};
    const VantorGLTest::LookAtView view(eye, target, up, 45.0, 4.0 / 3.0);
    return view.Pixel(point, DemoHarness::kWidth, DemoHarness::kHeight, px, py, 1.0);
}

// Luminance of the pixels in the middle of the credits' projected bounds: dark and bright ends.
struct CreditsContrast {
    double dark = 0, bright = 0;  // 10th and 95th percentile (the letters cover a fifth or so)
    double height = 0;            // of the projected bounds, pixels
};
CreditsContrast CreditsAt(int ms, const std::vector<std::uint8_t>& rgba, const c3DsModelInfo& info) {
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (int corner = 0; corner < 8; ++corner) {
        const float p[3] = {corner & 1 ? info.boundsMax[0] : info.boundsMin[0], corner & 2 ? info.boundsMax[1] : info.boundsMin[1],
                            corner & 4 ? info.boundsMax[2] : info.boundsMin[2]};
        double x, y;
        if (!ProjectAt(ms, p, x, y)) continue;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    CreditsContrast c;
    c.height = y1 - y0;
    // The bounds are axis-aligned in the world and the credits stand turned: keep their middle.
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) * 0.3, hh = (y1 - y0) * 0.3;
    std::vector<double> lumas;
    for (int y = std::max(0, int(cy - hh)); y < std::min(DemoHarness::kHeight, int(cy + hh)); ++y)
        for (int x = std::max(0, int(cx - hw)); x < std::min(DemoHarness::kWidth, int(cx + hw)); ++x)
            lumas.push_back(Luma(&rgba[(size_t(y) * DemoHarness::kWidth + size_t(x)) * 4]));
    if (lumas.empty()) return c;
    std::sort(lumas.begin(), lumas.end());
    c.dark = lumas[lumas.size() / 10];
    c.bright = lumas[lumas.size() * 19 / 20];
    return c;
}

// In the top-left quarter, where the sky light and its rays fall: the share of pixels lit well
// above the rock, and the share of those clipped to white.
void SkyLight(const std::vector<std::uint8_t>& rgba, double& litShare, double& clippedOfLit) {
    const int w = DemoHarness::kWidth, h = DemoHarness::kHeight;
    int lit = 0, clipped = 0;
    for (int y = h / 2; y < h; ++y)  // rows are bottom first: the upper half
        for (int x = 0; x < w / 2; ++x) {
            const std::uint8_t* p = &rgba[(size_t(y) * w + size_t(x)) * 4];
            if (Luma(p) < 150) continue;
            ++lit;
            clipped += p[0] > 245 && p[1] > 245 && p[2] > 245;
        }
    litShare = lit / double(w / 2 * h / 2);
    clippedOfLit = lit ? clipped / double(lit) : 0;
}

}  // namespace

TEST(CucumberCampingRender, CreditsReadAndTheSkyLightKeepsItsShafts) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const c3DsModelInfo credits = harness.Demo().registry.mdlCreds.Info();
    ASSERT_GT(credits.faces, 0);
    for (int ms : {140000, 152000, 163000}) {
        SCOPED_TRACE(ms);
        const std::vector<std::uint8_t>& frame = harness.FrameAt(ms);
        // Pale letters on their dark slab, the block large in the view.
        const CreditsContrast c = CreditsAt(ms, frame, credits);
        EXPECT_GT(c.height, 150);
        EXPECT_LT(c.dark, 40);
        EXPECT_GT(c.bright, 2 * c.dark);
        EXPECT_GT(c.bright - c.dark, 40);
        // The sky light (from the middle of the slide on; earlier a ridge hides much of it): rays
        // bright above the rock, nearly none of them clipped to white.
        double litShare = 0, clippedOfLit = 0;
        SkyLight(frame, litShare, clippedOfLit);
        if (ms > 150000) {
            EXPECT_GT(litShare, 0.004);
        }
        EXPECT_LT(clippedOfLit, 0.3);
        std::printf("%d ms: credits %.0f px tall, luma %.0f..%.0f; sky lit %.3f, clipped %.2f of it\n", ms, c.height, c.dark,
                    c.bright, litShare, clippedOfLit);
        VantorGLTest::KeepFrameIfFailed(frame, DemoHarness::kWidth, DemoHarness::kHeight, "cucumber-" + std::to_string(ms));
    }
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
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
    // Mid-flight: rock, floor and crystals, with the sky a thin bright crack at the top left
    // (its rays are added three times: a wider sky would turn a wedge of the frame white).
    const std::vector<std::uint8_t>& mid = harness.FrameAt(145000);
    const VantorGLTest::cColourStats midStats = DemoHarness::Stats(mid);
    VantorGLTest::cColourStats stats = midStats;
    double topLeft = 0, bottomRight = 0;
    WhiteByQuarter(mid, topLeft, bottomRight);
    EXPECT_GT(stats.spread, 20.0);
    EXPECT_LT(stats.whiteShare, 0.05);
    EXPECT_LT(stats.blackShare, 0.2);
    EXPECT_LT(topLeft, 0.1);
    EXPECT_LT(bottomRight, 0.001);
    VantorGLTest::KeepFrameIfFailed(mid, w, h, "cucumber-145000");

    // A tenth of a second before the end the closing picture covers nearly all of the canyon:
    // bright, pale and nearly flat.
    const std::vector<std::uint8_t>& late = harness.FrameAt(166900);
    stats = DemoHarness::Stats(late);
    EXPECT_GT(stats.mean[0], 200.0);
    EXPECT_GT(stats.mean[2], 210.0);
    EXPECT_LT(stats.spread, 20.0);
    VantorGLTest::KeepFrameIfFailed(late, w, h, "cucumber-166900");

    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
    std::printf("145 s: white %.3f (top left %.3f), spread %.1f; 166.9 s: mean %.0f %.0f %.0f, spread %.1f\n",
                midStats.whiteShare, topLeft, midStats.spread, stats.mean[0], stats.mean[1],
                stats.mean[2], stats.spread);
}
