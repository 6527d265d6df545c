// Tests for the clock, time codes and scene windows: the arithmetic the whole timeline rests on.
#include "support/ManualCounter.h"
#include "timeline/SceneSystem.h"
#include "timeline/TimeCode.h"
#include "timeline/TimeSystem.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

using namespace VantorGL;

TEST(TimeCode, FractionIsTheIntegerAfterThePoint) {
    EXPECT_EQ(ParseTimeCode("0:00.0"), 0);
    EXPECT_EQ(ParseTimeCode("0:25.5"), 25005);
    EXPECT_EQ(ParseTimeCode("0:57.15"), 57015);
    EXPECT_EQ(ParseTimeCode("1:26.4"), 86004);
    EXPECT_EQ(ParseTimeCode("2:47.0"), 167000);
    EXPECT_EQ(ParseTimeCode("5:47.0"), 347000);
}

TEST(TimeCode, FormattedCodesReadBackAsTheirMilliseconds) {
    char code[16];
    for (int ms : {0, 25005, 25500, 57015, 77500, 167000, 599999}) {
        VantorGL::FormatTimeCode(ms, code, sizeof code);
        EXPECT_EQ(VantorGL::ParseTimeCode(code), ms) << code;
    }
    VantorGL::FormatTimeCode(25005, code, sizeof code);
    EXPECT_STREQ(code, "0:25.5");
}

TEST(TimeCode, QuirksOfTheWalk) {
    EXPECT_EQ(ParseTimeCode("0:25"), 25);      // no point: no factor of 1000
    EXPECT_EQ(ParseTimeCode(""), 0);
    EXPECT_EQ(ParseTimeCode(nullptr), 0);
    EXPECT_EQ(ParseTimeCode(":.5"), 5);        // missing fields count 0
    EXPECT_EQ(ParseTimeCode("x:10.0"), 10000); // a field that is no number counts 0
    EXPECT_EQ(ParseTimeCode("1:2:3.0"), (2 * 60 + 3) * 1000);  // a second colon restarts the total
}

// Found by the time-code fuzz target: each point multiplies by 1000, so "7..." is 7e9 ms, which
// once wrapped to a negative int; an 18-digit field overflowed the running total itself.
TEST(TimeCode, TimesBeyondTheClockClampInsteadOfWrapping) {
    EXPECT_EQ(ParseTimeCode("7..."), INT_MAX);
    EXPECT_EQ(ParseTimeCode("9999999:00.0"), INT_MAX);
    EXPECT_EQ(ParseTimeCode("999999999999999999:1.1"), INT_MAX);
    EXPECT_EQ(ParseTimeCode("-999999999999999999:1.1"), INT_MIN);
    EXPECT_EQ(ParseTimeCode("35791:23.647"), INT_MAX);  // the last millisecond that fits
    EXPECT_EQ(ParseTimeCode("35791:23.648"), INT_MAX);
    EXPECT_EQ(ParseTimeCode("35791:23.646"), INT_MAX - 1);
}

using VantorGLTest::ManualCounter;

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }
    ManualCounter counter;
};

TEST_F(ClockTest, TickMeasuresAcrossA32BitWrap) {
    counter.ms = (std::int64_t(1) << 32) - 10;  // 10 ms before the 32-bit millisecond value wraps
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&counter);
    counter.ms += 25;
    clock->Tick();
    EXPECT_EQ(clock->Delta(), 25);
    EXPECT_EQ(clock->SinceReset(), 25);
    counter.ms += 16;
    clock->Tick();
    EXPECT_EQ(clock->Delta(), 16);
    EXPECT_EQ(clock->SinceReset(), 41);
}

TEST_F(ClockTest, ResetZeroesDeltaAndFpsStepsByOne) {
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&counter);
    counter.ms = 500;
    clock->Reset();
    EXPECT_EQ(clock->Delta(), 0);
    EXPECT_EQ(clock->SinceReset(), 0);
    // Delta 0: the raw rate is infinite and the shown rate steps up by exactly 1.
    float shown = clock->Fps();
    for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(clock->Fps(), shown + float(i + 1));
    counter.ms += 1000;  // 1 fps now: the shown rate walks down by 1 per call, then settles
    clock->Tick();
    shown = clock->Fps();
    EXPECT_FLOAT_EQ(clock->Fps(), shown - 1.0f);
    // The walk down takes as many calls as the rate shown (left by whatever ran before).
    for (int i = 0; i < int(shown) + 2; ++i) clock->Fps();
    EXPECT_NEAR(clock->Fps(), 1.0f, 1.0f);
}

TEST_F(ClockTest, FixedStepCounterHasNoDrift) {
    cFixedStepCounter fixed(30);
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&fixed);
    EXPECT_TRUE(clock->IsFixedStep());
    for (int frame = 1; frame <= 300; ++frame) {
        fixed.Advance();
        clock->Tick();
        ASSERT_EQ(clock->SinceReset(), frame * 1000 / 30);
    }
    EXPECT_EQ(clock->SinceReset(), 10000);
}

// A scene that counts its hook calls.
class CountingScene : public cSceneSystem {
public:
    void Update() override { ++updates; }
    void Render() override { ++renders; }
    int updates = 0, renders = 0;
};

TEST_F(ClockTest, NeighbourWindowsShareTheirBoundaryMillisecond) {
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&counter);
    CountingScene first, second;
    first.SetTimeWindow("0:00.0", "0:25.5");
    second.SetTimeWindow("0:25.5", "0:43.0");
    for (int at : {0, 25004, 25005, 25006}) {
        counter.ms = at;
        clock->Tick();
        first.RunUpdate();
        second.RunUpdate();
        first.RunRender();
        second.RunRender();
    }
    // first: 0, 25004, 25005; second: 25005, 25006.
    EXPECT_EQ(first.updates, 3);
    EXPECT_EQ(first.renders, 3);
    EXPECT_EQ(second.updates, 2);
    EXPECT_EQ(second.renders, 2);
    EXPECT_TRUE(first.IsFinished());  // elapsed > end
}

TEST_F(ClockTest, FinishedAtTheEndWhileStillActive) {
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&counter);
    CountingScene scene;
    scene.SetTimeWindow("0:00.0", "0:01.0");
    counter.ms = 999;
    clock->Tick();
    scene.RunUpdate();  // latches base at 999: elapsed counts from here
    EXPECT_FALSE(scene.IsFinished());
    counter.ms = 999 + 1000;
    clock->Tick();
    scene.RunUpdate();
    EXPECT_EQ(scene.timer.elapsed, 1000);
    EXPECT_TRUE(scene.IsFinished());
    EXPECT_TRUE(scene.IsActive());
    EXPECT_EQ(scene.updates, 2);
}

TEST_F(ClockTest, LocalTimeGrowsOnlyInActiveFramesAndFlagsWin) {
    cTimeSystem* clock = cTimeSystem::Instance();
    clock->UseCounter(&counter);
    CountingScene scene, unwindowed, disabled;
    scene.SetTimeWindow("0:01.0", "0:02.0");
    disabled.SetTimeWindow("0:00.0", "0:02.0");
    disabled.disabled = true;
    for (int frame = 0; frame <= 30; ++frame) {  // frame n sees demo time n * 100 ms
        scene.RunUpdate();
        unwindowed.RunUpdate();
        disabled.RunUpdate();
        disabled.RunRender();
        counter.ms += 100;
        clock->Tick();  // the loop ticks after the update hook
    }
    // Active at 1000..2000 (11 frames), each adding the previous frame's 100 ms.
    EXPECT_EQ(scene.updates, 11);
    EXPECT_EQ(scene.localTime, 1100);
    EXPECT_EQ(unwindowed.updates, 1);  // no window: active only while elapsed is 0
    EXPECT_EQ(disabled.updates + disabled.renders, 0);
    scene.forced = true;
    scene.RunRender();
    EXPECT_EQ(scene.renders, 1);
}

// A member the table lacks (a misspelling, a renamed scene) is found nowhere and has no window,
// rather than some other row's.
TEST(Timeline, AnUnknownMemberHasNoRowAndNoWindow) {
    for (const char* unknown : {"route21Third", "", "route21First "}) {
        EXPECT_EQ(VantorGL::FindTimelineRow(unknown), nullptr) << '"' << unknown << '"';
        EXPECT_EQ(VantorGL::TimelineStartMs(unknown), 0) << '"' << unknown << '"';
        EXPECT_EQ(VantorGL::TimelineEndMs(unknown), 0) << '"' << unknown << '"';
    }
    const VantorGL::sTimelineRow& last = VantorGL::kTimeline[VantorGL::kTimelineRows - 1];
    EXPECT_EQ(VantorGL::FindTimelineRow(last.member), &last);
    EXPECT_GT(VantorGL::TimelineEndMs(last.member), VantorGL::TimelineStartMs(last.member));
}
