// OfflineClock: how the offline programs (capture, bench, studio) step the fixed-step clock, so
// that a frame they make at demo time T has the history a straight play at their rate gives it.
// Header only: the capture library checks its options against these without the driver.
#pragma once

#include "timeline/TimeSystem.h"

#include <cstdint>

// The demo-time frame rate of the offline programs unless told otherwise.
constexpr int kOfflineFps = 30;

// Frames drawn, unrecorded and untimed, before each run of chosen frames, so that one-frame-late
// values and feedback targets are warm by the first of them.
constexpr int kOfflineWarmFrames = 3;

// The demo milliseconds the warm-up frames cover at `fps`, one more for the clock's rounding.
constexpr int OfflineWarmMs(int fps) { return kOfflineWarmFrames * 1000 / fps + 1; }

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
