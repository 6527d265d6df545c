// Tests for cSceneTargetPool: scenes that share their render targets draw exactly the frames
// they draw with targets of their own, at the scene boundaries (two scenes drawing in one frame)
// and inside the scenes, and the whole demo needs only a handful of targets.
#include "render/SceneTargetPool.h"

#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using VantorGLTest::DemoHarness;

TEST(SceneTargetPool, SharedTargetsDrawTheFramesOwnTargetsDraw) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    // Every boundary between two scenes (both draw in that frame) and a moment inside each scene.
    std::vector<int> moments;
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        if (windows[i].startMs > 0) moments.push_back(windows[i].startMs);
        moments.push_back((windows[i].startMs + windows[i].endMs) / 2);
    }
    std::sort(moments.begin(), moments.end());
    moments.erase(std::unique(moments.begin(), moments.end()), moments.end());

    VantorGL::cSceneTargetPool& pool = harness.Demo().registry.sceneTargets;
    harness.Restart();
    std::vector<std::vector<std::uint8_t>> shared;
    for (int ms : moments) shared.push_back(harness.FrameAt(ms));
    EXPECT_LE(pool.Created(), 6) << "the hungriest scene uses five linear targets and one nearest";
    EXPECT_EQ(pool.DepthBuffers(), 1) << "every capture clears depth first, so the slots share one";

    pool.SetSharing(false);
    harness.Restart();
    for (std::size_t i = 0; i < moments.size(); ++i) {
        VantorGLTest::ExpectSameFrame(shared[i], harness.FrameAt(moments[i]), moments[i], "pool-shared", "pool-own");
    }
    pool.SetSharing(true);
    harness.Restart();
}
