// Tests for the sequencer over the real, generated data: the order in which it drives the scenes
// and a whole headless run without a GL error.
#include "support/DemoHarness.h"

#include <gtest/gtest.h>

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
    for (int second = 0; second <= 167; second += 1) harness.FrameAt(second * 1000);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
    EXPECT_TRUE(harness.Demo().IsFinished());
}
