// Tests for the sequencer over the real, generated data: the order in which it drives the scenes
// and a whole headless run without a GL error.
#include "support/DemoHarness.h"

#include <gtest/gtest.h>

#include <cstdio>

using VantorGLTest::DemoHarness;

TEST(DemoScene, DispatchOrderIsTheTimelinesOwn) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    VantorGL::cDemoScene& demo = harness.Demo();
    VantorGL::cSceneSystem* const expected[] = {&demo.tavikIsleFirst, &demo.orembyCity, &demo.selvoHills,
                                                &demo.drunaBeach,     &demo.route21First, &demo.pelkAirport,
                                                &demo.cucumberCamping, &demo.tavikIsleSecond, &demo.route21Second};
    for (int i = 0; i < VantorGL::cDemoScene::kTimelineScenes; ++i) EXPECT_EQ(demo.DispatchOrder()[i], expected[i]);
    EXPECT_EQ(demo.orembyCity.timer.start, 25005);
    EXPECT_EQ(demo.selvoHills.timer.end, 25005);
    EXPECT_EQ(demo.cucumberCamping.timer.end, 347000);
    EXPECT_TRUE(demo.workshop.disabled == false && demo.workshop.timer.end == 0);
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
