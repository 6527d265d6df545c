// OfflineDriver: plays the demo the way capture and bench need it: through the real application
// object and Run sequence, with a fixed-step clock in place of the process clock, in a window of
// a chosen size that may be hidden (offscreen when there is no display), driven by frame hooks.
#pragma once

#include "offline/OfflineClock.h"
#include "offline/TimedApplication.h"

#include "shell/WindowsSystem.h"
#include "timeline/TimeSystem.h"

class OfflineDriver {
public:
    // Puts a fixed-step counter of `fps` frames per second (1 or more) in as the process clock,
    // reset to demo time 0. `application` is the program's one static instance.
    OfflineDriver(TimedApplication& application, int fps);
    // Gives the process its steady clock back.
    ~OfflineDriver();
    OfflineDriver(const OfflineDriver&) = delete;
    OfflineDriver& operator=(const OfflineDriver&) = delete;

    // Plays the demo in a width x height window, not fullscreen, hidden where there is no
    // display, each frame through `hooks` (which step the clock), until the hooks stop it or the
    // demo ends. False when the window or its GL context could not be made (SDL said why).
    bool Run(VantorGL::cFrameHooks& hooks, int width, int height);

    // The timeline from 0:00.0 again, nothing reloaded, the counter back at zero: the next frame
    // is the one a fresh run makes first. Call between frames, inside Run.
    void RestartTimeline();

    TimedApplication& Application() const { return application; }
    VantorGL::cFixedStepCounter& Counter() { return counter; }
    // The demo time of the frame being made, in milliseconds.
    int Elapsed() const { return application.demo.timer.elapsed; }

private:
    TimedApplication& application;
    VantorGL::cFixedStepCounter counter;
};
