// FixedClock: runs the process clock on a fixed-step counter for one test, so time moves only
// when the test says and never touches the sound device's clock; FrameLoopTest, the fixture of
// the headless frame-loop tests. Test-program only (it includes GoogleTest).
#pragma once

#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

namespace VantorGLTest {

// Installs a cFixedStepCounter of `framesPerSecond` into cTimeSystem for its lifetime and puts the
// real clock back when it goes.
class FixedClock {
public:
    explicit FixedClock(int framesPerSecond) : counter(framesPerSecond) {
        VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
    }
    ~FixedClock() { VantorGL::cTimeSystem::Instance()->UseCounter(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    // Plays one frame: the counter moves one step and the clock ticks.
    void Step() {
        counter.Advance();
        VantorGL::cTimeSystem::Instance()->Tick();
    }
    // Plays frames (advance, tick) until the clock's Now() reaches `ms`; never goes back.
    void AdvanceTo(int ms) {
        while (VantorGL::cTimeSystem::Instance()->Now() < ms) Step();
    }

    VantorGL::cFixedStepCounter counter;
};

// Fixture for tests that run the shell's frame loop headless: SDL's offscreen video driver and a
// 100 fps fixed clock, so time moves only with the frames.
class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override { SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen"); }
    FixedClock clock{100};
};

}  // namespace VantorGLTest
