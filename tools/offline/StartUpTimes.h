// StartUpTimes: where the offline programs' start-up went, and the clocks that tell it. Start-up
// is everything from process start to the first frame: the viewer's wait.
#pragma once

#include <chrono>

#include <time.h>

using StartClock = std::chrono::steady_clock;

double MillisecondsBetween(StartClock::time_point from, StartClock::time_point to);

// Milliseconds from the kernel's start of this process to now (the dynamic loader and static
// construction before main), from /proc; 0 where that is not readable.
double MillisecondsSinceProcessStart();

// CPU time of the calling thread or of the whole process, in milliseconds.
double CpuMilliseconds(clockid_t which);

// Where the start-up went, in milliseconds; `total` is process start to the first frame and
// `other` what the named parts leave over.
struct StartUpSplit {
    double total = 0, beforeMain = 0, window = 0, loadingScreen = 0, music = 0, textures = 0, models = 0,
           fonts = 0, shaders = 0, targets = 0, sceneSetUp = 0, other = 0;
    double mainThreadCpu = 0, processCpu = 0;  // CPU time to the first frame
};
