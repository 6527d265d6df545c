// Tests for the sequencer over the real, generated data: the order in which it drives the scenes
// and a whole headless run without a GL error.
#include "support/DemoHarness.h"

#include "timeline/TimeCode.h"

#include <gtest/gtest.h>

#include <cstdio>

using VantorGLTest::DemoHarness;

// The sequencer's windows are the timeline table's, and the table tiles the demo: from 0:00.0,
// each window starting where the one before ends, the last one reaching the end. A retimed row
// that leaves a gap (a black frame) or an overlap the frames were not made for fails here.
TEST(DemoScene, WindowsComeFromTheTimelineAndTileTheDemo) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    VantorGL::cDemoScene& demo = harness.Demo();
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        const VantorGL::cSceneTimer& timer = demo.DispatchOrder()[i]->timer;
        EXPECT_EQ(timer.start, VantorGL::ParseTimeCode(VantorGL::kTimeline[i].start)) << VantorGL::kTimeline[i].member;
        EXPECT_EQ(timer.end, VantorGL::ParseTimeCode(VantorGL::kTimeline[i].end)) << VantorGL::kTimeline[i].member;
    }
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    EXPECT_EQ(windows[0].startMs, 0);
    for (std::size_t i = 1; i < VantorGL::kTimelineRows; ++i)
        EXPECT_EQ(windows[i].startMs, windows[i - 1].endMs) << windows[i].row->member << " does not follow on";
    EXPECT_EQ(windows[VantorGL::kTimelineRows - 1].endMs, VantorGL::kDemoEndMs);
    EXPECT_TRUE(demo.workshop.disabled == false && demo.workshop.timer.end == 0);  // never scheduled
}

TEST(DemoScene, PlaysToTheEndWithoutAGlError) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    // One frame per second of demo time. The very first frame is the opening's blurred white;
    // every later second shows content, so no frame may be one flat colour, and none may be the
    // black of an empty scene (the og3 overlay alone would still give it some spread).
    for (int second = 0; second <= 167; second += 1) {
        VantorGLTest::cColourStats stats = DemoHarness::Stats(harness.FrameAt(second * 1000));
        std::printf("second %3d: mean (%.0f, %.0f, %.0f) spread %.2f\n", second, stats.mean[0], stats.mean[1],
                    stats.mean[2], stats.spread);
        if (second > 0) {
            EXPECT_GT(stats.spread, 0.5) << "a flat frame at demo time " << second << " s";
            EXPECT_LT(stats.blackShare, 0.9) << "an empty frame at demo time " << second << " s";
        }
    }
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
    EXPECT_TRUE(harness.Demo().IsFinished());
}
