// OfflineClock: how the offline programs (capture, bench, studio) step the fixed-step clock, so
// that a frame they make at demo time T has the history a straight play at their rate gives it.
// Header only: the capture library checks its options against these without the driver.
#pragma once

#include "timeline/TimeSystem.h"

#include <cstdint>

// The demo-time frame rate of the offline programs unless told otherwise.
constexpr int kOfflineFps = 30;

// Frames the bench draws, untimed, before each span it times: the rasteriser's code and caches
// are warm by the first timed frame, and no scene asks more history than this.
constexpr int kOfflineWarmFrames = 3;

// The demo milliseconds `frames` frames cover at `fps`, one more for the clock's rounding: what
// is drawn before a chosen time. Capture and the studio draw the frames the demo asks there
// (cDemoScene::FramesOfHistoryAt), so a jump to a time draws only what its frame depends on.
constexpr int OfflineWarmMs(int fps, int frames) { return frames * 1000 / fps + 1; }

// One frame's step of `counter` towards demo time `wantedMs`: a whole step, or a shorter one that
// lands exactly on `wantedMs` where a whole step would pass it. `elapsedMs` is the demo time of
// the frame being made (the clock's milliseconds less the sequencer's base). Call it between the
// frame's update and the clock's Tick, as the frame hooks' BeforeTick does.
inline void StepToward(VantorGL::cFixedStepCounter& counter, int elapsedMs, int wantedMs) {
    // The counter runs at fps ticks per millisecond.
    const std::int64_t ticks = counter.Read(), fps = counter.FramesPerSecond();
    const std::int64_t target = (std::int64_t(wantedMs) + ticks / fps - elapsedMs) * fps;
    if (wantedMs > elapsedMs && ticks + 1000 > target)
        counter.SetTicks(target);
    else
        counter.Advance();
}
