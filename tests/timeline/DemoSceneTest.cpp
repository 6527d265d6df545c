// Tests for the sequencer over the real, generated data: the order in which it drives the scenes
// and a whole headless run without a GL error.
#include "support/DemoHarness.h"

#include "timeline/TimeCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <utility>

using VantorGLTest::DemoHarness;

// The sequencer's windows are the timeline table's, and the table tiles the demo: from 0:00.0,
// each window starting where the one before ends, the last one reaching the end. A retimed row
// that leaves a gap (a black frame) or an overlap the frames were not made for fails here.
TEST(DemoScene, WindowsComeFromTheTimelineAndTileTheDemo) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    VantorGL::cDemoScene& demo = harness.Demo();
    for (const VantorGL::sTimelineRow& row : VantorGL::kTimeline) {
        const VantorGL::cSceneTimer& timer = demo.Scene(row.member)->timer;
        EXPECT_EQ(timer.start, VantorGL::ParseTimeCode(row.start)) << row.member;
        EXPECT_EQ(timer.end, VantorGL::ParseTimeCode(row.end)) << row.member;
    }
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    EXPECT_EQ(windows[0].startMs, 0);
    for (std::size_t i = 1; i < VantorGL::kTimelineRows; ++i)
        EXPECT_EQ(windows[i].startMs, windows[i - 1].endMs) << windows[i].row->member << " does not follow on";
    EXPECT_EQ(windows[VantorGL::kTimelineRows - 1].endMs, VantorGL::kDemoEndMs);
    EXPECT_TRUE(demo.workshop.disabled == false && demo.workshop.timer.end == 0);  // never scheduled
}

// Each row's scene is found by its member name, not by the row's place: with two rows of a copy
// of the table swapped, the dispatch order follows the copy and every scene keeps its own window,
// so a check that pairs the i-th scene with the table's i-th row sees the wrong window.
TEST(DemoScene, ScheduleFindsEachRowsSceneByName) {
    auto demo = std::make_unique<VantorGL::cDemoScene>();  // large; construction makes no GL call
    VantorGL::sTimelineRow rows[VantorGL::kTimelineRows];
    std::copy(std::begin(VantorGL::kTimeline), std::end(VantorGL::kTimeline), rows);
    ASSERT_STREQ(rows[1].member, "orembyCity");
    ASSERT_STREQ(rows[2].member, "selvoHills");
    std::swap(rows[1], rows[2]);

    ASSERT_TRUE(demo->Schedule(rows));
    EXPECT_EQ(demo->DispatchOrder()[1], &demo->selvoHills);
    EXPECT_EQ(demo->DispatchOrder()[2], &demo->orembyCity);
    EXPECT_NE(demo->DispatchOrder()[1]->timer.start, VantorGL::ParseTimeCode(VantorGL::kTimeline[1].start))
        << "the second scene dispatched is no longer the table's second row";
    for (const VantorGL::sTimelineRow& row : VantorGL::kTimeline) {
        EXPECT_EQ(demo->Scene(row.member)->timer.start, VantorGL::ParseTimeCode(row.start)) << row.member;
        EXPECT_EQ(demo->Scene(row.member)->timer.end, VantorGL::ParseTimeCode(row.end)) << row.member;
        EXPECT_STREQ(demo->MemberName(demo->Scene(row.member)), row.member);
    }

    // A row that names no scene, or one scheduled already, leaves the schedule as it was.
    rows[3].member = "drunaBeech";
    EXPECT_FALSE(demo->Schedule(rows));
    rows[3].member = "selvoHills";
    EXPECT_FALSE(demo->Schedule(rows));
    EXPECT_EQ(demo->DispatchOrder()[1], &demo->selvoHills);
    EXPECT_EQ(demo->DispatchOrder()[3], &demo->drunaBeach);
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
