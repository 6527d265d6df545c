// Tests for the studio's transport without a window: play time follows the steady clock times
// the speed and stops while paused, steps walk the fixed-step grid both ways, the loop span wraps,
// seeks clamp and merge, and play stops at the end of the demo.
#include "../../tools/studio/StudioTransport.h"

#include <gtest/gtest.h>

using namespace QuenliteStudio;

namespace {

constexpr int kFps = 30;
constexpr int kEndMs = 167000;
constexpr std::int64_t kMs = 1000000;  // nanoseconds

// A transport that has shown its first frame at `ms` (as after a replay), at steady time 0.
cStudioTransport ShownAt(int ms, bool playing) {
    cStudioTransport transport(kFps, kEndMs);
    transport.SeekTo(ms);
    transport.SetPlaying(playing);
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Seek);
    transport.Shown(eStudioFrame::Seek, ms, std::int64_t(ms) * kFps, 0);
    return transport;
}

}  // namespace

TEST(StudioTransport, PlayTimeFollowsTheSteadyClockTimesTheSpeedAndStopsWhilePaused) {
    cStudioTransport transport = ShownAt(60000, true);
    ASSERT_EQ(transport.NextFrame(), eStudioFrame::Play);
    const std::int64_t at = 60000 * kFps;
    EXPECT_EQ(transport.PlayTicks(at, 100 * kMs), at + 100 * kFps);  // 100 ms later
    transport.Shown(eStudioFrame::Play, 60050, at + 100 * kFps, 100 * kMs);

    transport.Slower();  // 1/2: re-anchored where the counter is
    EXPECT_DOUBLE_EQ(transport.Speed(), 0.5);
    const std::int64_t now = at + 100 * kFps;
    EXPECT_EQ(transport.PlayTicks(now, 100 * kMs), now);
    EXPECT_EQ(transport.PlayTicks(now, 300 * kMs), now + 100 * kFps);  // 200 ms at half speed
    // Time never runs backwards, even when the steady clock does.
    EXPECT_EQ(transport.PlayTicks(now + 100 * kFps, 50 * kMs), now + 100 * kFps);

    transport.TogglePlay();
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Hold);
    transport.Shown(eStudioFrame::Hold, 99999, 0, 900 * kMs);
    EXPECT_EQ(transport.ShownMs(), 60050);  // a held frame shows what it showed
    // Play again: re-anchored, so the paused time does not count.
    transport.TogglePlay();
    EXPECT_EQ(transport.PlayTicks(now, 5000 * kMs), now);
    EXPECT_EQ(transport.PlayTicks(now, 5010 * kMs), now + 5 * kFps);

    for (int i = 0; i < 10; ++i) transport.Faster();
    EXPECT_DOUBLE_EQ(transport.Speed(), 2.0);
    for (int i = 0; i < 10; ++i) transport.Slower();
    EXPECT_DOUBLE_EQ(transport.Speed(), 0.25);
}

TEST(StudioTransport, StepsWalkTheFixedStepGridBothWays) {
    cStudioTransport transport(kFps, kEndMs);
    // The grid: frame n at n * 1000 / 30 ms, truncated, and every time belongs to one frame.
    for (int frame = 0; frame < 6000; ++frame) {
        const int ms = transport.GridMs(frame);
        ASSERT_EQ(transport.GridFrameAt(ms), frame);
        if (transport.GridMs(frame + 1) > ms + 1) {
            ASSERT_EQ(transport.GridFrameAt(ms + 1), frame);
        }
    }

    transport = ShownAt(30000, false);  // frame 900
    transport.StepForward();
    ASSERT_EQ(transport.NextFrame(), eStudioFrame::Step);
    EXPECT_EQ(transport.StepTicks(901 * 1000), 902 * 1000);  // on the grid: the next frame
    EXPECT_EQ(transport.StepTicks(901 * 1000 + 517), 902 * 1000);  // off it (after play): back on
    transport.Shown(eStudioFrame::Step, transport.GridMs(901), 902 * 1000, 0);
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Hold);

    transport.StepBack();  // from frame 901: a replay to frame 900
    ASSERT_EQ(transport.NextFrame(), eStudioFrame::Seek);
    EXPECT_EQ(transport.SeekTarget(), 30000);
    transport.StepBack();  // before that replay: one more back, from its target
    EXPECT_EQ(transport.SeekTarget(), transport.GridMs(899));
    transport.StepForward();  // a pending seek moves on by a frame instead of stepping
    EXPECT_EQ(transport.SeekTarget(), 30000);

    transport = ShownAt(30050, false);  // between frames 901 and 902: back lands on 901
    transport.StepBack();
    EXPECT_EQ(transport.SeekTarget(), transport.GridMs(901));

    transport = ShownAt(2000, true);  // no stepping while playing
    transport.StepForward();
    transport.StepBack();
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Play);
}

TEST(StudioTransport, TheLoopSpanWrapsAndSeeksClampMergeAndPlayStopsAtTheEnd) {
    cStudioTransport transport = ShownAt(63000, false);
    transport.MarkLoopStart();  // 63 s, then an end before it: the two swap
    transport.SeekTo(61000);
    transport.MarkLoopEnd();
    EXPECT_EQ(transport.LoopStartMs(), 61000);
    EXPECT_EQ(transport.LoopEndMs(), 63000);
    transport.Shown(eStudioFrame::Seek, 61000, 61000 * kFps, 0);
    transport.ToggleLoop();
    transport.SetPlaying(true);
    transport.Shown(eStudioFrame::Play, 62990, 0, 0);
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Play);
    transport.Shown(eStudioFrame::Play, 63010, 0, 0);  // past the end of the span: back to its start
    ASSERT_EQ(transport.NextFrame(), eStudioFrame::Seek);
    EXPECT_EQ(transport.SeekTarget(), 61000);
    EXPECT_TRUE(transport.Playing());
    transport.Shown(eStudioFrame::Seek, 61000, 0, 0);
    transport.ToggleLoop();
    transport.Shown(eStudioFrame::Play, 63010, 0, 0);
    EXPECT_EQ(transport.NextFrame(), eStudioFrame::Play);

    // Seeks before a frame is made add up into one replay, cut to the demo.
    transport.SeekBy(-1000);
    transport.SeekBy(-10000);
    EXPECT_EQ(transport.SeekTarget(), 52010);
    transport.SeekBy(-60000);
    EXPECT_EQ(transport.SeekTarget(), 0);
    transport.SeekTo(999999);
    EXPECT_EQ(transport.SeekTarget(), kEndMs);

    // The end of the demo stops play; playing again starts from 0:00.
    transport.Shown(eStudioFrame::Seek, kEndMs - 10, 0, 0);
    transport.Shown(eStudioFrame::Play, kEndMs, 0, 0);
    EXPECT_FALSE(transport.Playing());
    transport.TogglePlay();
    ASSERT_EQ(transport.NextFrame(), eStudioFrame::Seek);
    EXPECT_EQ(transport.SeekTarget(), 0);
}
