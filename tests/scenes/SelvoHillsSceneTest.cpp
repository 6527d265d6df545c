// Tests for the opening scene: its story driven by a hand-moved clock and a scripted kick (wipe and
// logo timings, the ring count on the beat, the late fades), the cube height table, and the
// demo's frames at the start and at the closing fade.
#include "assets/Resources.h"
#include "scenes/ScenePattern.h"
#include "scenes/SelvoHillsScene.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "support/ProcessState.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace VantorGL;
using VantorGLTest::DemoHarness;

namespace {

using VantorGLTest::ManualCounter;

// The scene with its window set and a registry that never loads (no GL call); frames are played in
// the frame loop's order: update, then the clock moves and ticks.
class SelvoStory : public ::testing::Test {
protected:
    void SetUp() override {
        cTimeSystem::Instance()->UseCounter(&counter);
        scene = std::make_unique<cSelvoHillsScene>();
        scene->SetResources(&res);
        VantorGLTest::SetWindowOf(*scene, "selvoHills");
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // One frame: the scene sees `level` in spectrum bin 0, then dt ms pass.
    void Frame(int dt, float level = 0.0f) {
        res.music.spectrum[0] = level;
        scene->RunUpdate();
        counter.ms += dt;
        cTimeSystem::Instance()->Tick();
    }

    // The registry's particle system seeds rand() as it is made: on this state, not the process's.
    VantorGLTest::RandSeed randomState{1};
    // Each test's own registry, fresh (too large for the stack).
    std::unique_ptr<cResources> registry = std::make_unique<cResources>();
    cResources& res = *registry;
    ManualCounter counter;
    std::unique_ptr<cSelvoHillsScene> scene;
};

}  // namespace

TEST_F(SelvoStory, OutlineWipesInThenTheLogoFadesUp) {
    int wipeDoneAt = -1, logoDoneAt = -1;
    Frame(10);
    EXPECT_FLOAT_EQ(scene->BlurFactor(), 7.5f);  // 2.5 plus the start boost of 5
    while (scene->localTime < 8000) {
        Frame(10);
        if (scene->localTime <= 20) {
            EXPECT_EQ(scene->outlineWipe, 0.0f) << "the wipe waits 30 ms";
        }
        if (scene->localTime == 1000) {
            EXPECT_NEAR(scene->BlurFactor(), 2.5f, 1e-4f);
        }
        if (wipeDoneAt < 0 && scene->outlineWipe >= 1.0f) wipeDoneAt = scene->localTime;
        if (logoDoneAt < 0 && scene->logoAlpha >= 1.0f) logoDoneAt = scene->localTime;
        if (wipeDoneAt < 0) {
            EXPECT_EQ(scene->logoAlpha, 0.0f);
        }
        if (logoDoneAt < 0) {
            EXPECT_EQ(scene->progress, 0.0f);
        }
    }
    EXPECT_NEAR(wipeDoneAt, 5555, 25);
    EXPECT_NEAR(logoDoneAt, 6555, 35);
    // Without a beat, progress creeps on from there, frame by frame, short of its full 0.03.
    const float progressAt8 = scene->progress;
    EXPECT_GT(progressAt8, 0.0f);
    EXPECT_LT(progressAt8, 0.03f);
    Frame(10);
    EXPECT_GT(scene->progress, progressAt8);
    EXPECT_EQ(scene->ringCount, -2);
    EXPECT_EQ(scene->blurMapMode, 0);
}

TEST_F(SelvoStory, KicksAddRingsOnceTheLogoHasGoneAndTheSceneClosesIntoTheFade) {
    // A kick every 500 ms from 7 s, heard for two frames of 33 ms each.
    const int dt = 33;
    int fullAt = -1, sevenAt = -1;
    int beatsAfterFull = 0;
    bool tumbled = false;
    while (scene->localTime <= 25005) {
        const int t = scene->localTime + dt;  // the local time this frame's update will see
        const bool kick = t >= 7000 && t % 500 < 2 * dt;
        const int ringsBefore = scene->ringCount;
        const float flashBefore = scene->flash;
        Frame(dt, kick ? 0.6f : 0.02f);
        const bool counted = scene->flash > flashBefore;  // a beat taken this frame
        if (fullAt < 0 && scene->progress >= 0.03f) fullAt = scene->localTime;
        if (fullAt < 0) {
            EXPECT_EQ(scene->ringCount, -2) << "no ring before the logo has gone, at " << scene->localTime;
            EXPECT_EQ(scene->blurMapMode, 0);
        } else if (counted && scene->localTime <= 24000) {
            ++beatsAfterFull;
            if (beatsAfterFull == 1 && scene->localTime > fullAt) {
                EXPECT_EQ(scene->ringCount, -1);
                EXPECT_EQ(scene->blurMapMode, 1);
            }
            if (beatsAfterFull == 2) {
                EXPECT_EQ(scene->ringCount, ringsBefore + 1);
            }
        }
        if (sevenAt < 0 && scene->ringCount >= 7) sevenAt = scene->localTime;
        if (scene->localTime > 19000 && scene->localTime < 19000 + dt + 1) {
            EXPECT_FLOAT_EQ(scene->blurDrop, 2.5f);
            tumbled = scene->ringTumble;
        }
        EXPECT_LE(scene->progress, 0.03f);
        EXPECT_LE(scene->beatBlur, 2.5f);
    }
    ASSERT_GT(fullAt, 6555);
    EXPECT_LT(fullAt, 12000);
    ASSERT_GT(sevenAt, fullAt);
    EXPECT_LT(sevenAt, 19000);
    EXPECT_TRUE(tumbled);
    // ringSpin passed 200 near local 21000: the rings have shrunk away by the end.
    EXPECT_FLOAT_EQ(scene->ringShrink, -0.2f);
    EXPECT_LT(scene->overlayAlpha, 0.0f);  // no floor: GL clamps the colour
    EXPECT_EQ(scene->ringCount, 0);
    EXPECT_NEAR(scene->endFade, 1.0f, 0.05f);
    EXPECT_NEAR(scene->growth, 1.5f, 0.08f);
    EXPECT_LT(scene->BlurFactor(), 2.5f) << "the closing picture is sharper than the opening's rest";
}

TEST(SelvoHills, CubeHeightsCoverTheGridInTenthsFromPoint3To10Point2) {
    static cSelvoHillsScene scene;
    VantorGLTest::RandSeed seed(7);
    EXPECT_EQ(scene.FillCubeHeights(), cSelvoHillsScene::kCubeCount);
    float low = 100.0f, high = 0.0f;
    for (float h : scene.cubeHeights) {
        low = std::min(low, h);
        high = std::max(high, h);
        const float tenths = (h - 0.3f) * 10.0f;
        EXPECT_NEAR(tenths, std::round(tenths), 1e-3f) << h;
    }
    EXPECT_FLOAT_EQ(low, 0.3f);
    EXPECT_FLOAT_EQ(high, 10.2f);
}

TEST(SelvoHills, OpensBlurredWhiteAndClosesIntoTheFadePicture) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    {
        const VantorGLTest::KeepFrameOnFailure keep(harness.FrameAt(100), "selvo-0100");
        const auto start = DemoHarness::Stats(harness.FrameAt(100));
        for (double channel : start.mean) EXPECT_GT(channel, 240.0);
        EXPECT_GT(start.whiteShare, 0.9) << "only the white ground and the first sliver of the wipe";
    }
    {
        const auto& logoFrame = harness.FrameAt(6600);
        const VantorGLTest::KeepFrameOnFailure keep(logoFrame, "selvo-6600");
        const auto logo = DemoHarness::Stats(logoFrame);
        EXPECT_GT(logo.blackShare, 0.05) << "the wiped-in outline frames the logo";
        EXPECT_GT(logo.whiteShare, 0.5);
    }

    // Mid-scene the cube sphere fills the middle: the one-draw batch paints what a DrawCube per
    // cube paints, up to edge pixels.
    harness.FrameAt(12000);
    cSelvoHillsScene& scene = harness.Demo().selvoHills;
    auto content = [&scene](bool batch) {
        scene.batchCubes = batch;
        std::vector<std::uint8_t> pixels(std::size_t(DemoHarness::kWidth) * DemoHarness::kHeight * 4);
        CaptureInto(scene.targetA, [&] {
            scene.DrawContent(0);
            glReadPixels(0, 0, DemoHarness::kWidth, DemoHarness::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        });
        return pixels;
    };
    const auto perCube = content(false);
    const auto batched = content(true);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < perCube.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            if (std::abs(int(perCube[i + c]) - int(batched[i + c])) > 24) {
                ++differing;
                break;
            }
    {
        const VantorGLTest::KeepFrameOnFailure keepBatched(batched, "selvo-12000-content");
        const VantorGLTest::KeepFrameOnFailure keepPerCube(perCube, "selvo-12000-per-cube");
        const auto cubes = DemoHarness::Stats(batched);
        EXPECT_LT(cubes.whiteShare, 0.9) << "the cube sphere is in view";
        EXPECT_LT(differing, perCube.size() / 4 / 200) << "pixels that differ between the two cube paths";
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Halfway into the closing fade: the grown cubes fill the view under the half-blended picture.
    {
        const auto& closing = harness.FrameAt(24500);
        const VantorGLTest::KeepFrameOnFailure keep(closing, "selvo-24500");
        const auto mid = DemoHarness::Stats(closing);
        for (double channel : mid.mean) EXPECT_GT(channel, 130.0);
        EXPECT_GT(mid.mean[2], mid.mean[0]) << "the cold blue-white of the picture";
        EXPECT_LT(mid.blackShare, 0.01);
    }
    {
        // The last frames: the picture over a white ground.
        const auto& last = harness.FrameAt(24966);
        const VantorGLTest::KeepFrameOnFailure keep(last, "selvo-24966");
        for (double channel : DemoHarness::Stats(last).mean) EXPECT_GT(channel, 200.0);
    }
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}
