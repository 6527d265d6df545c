// TimedApplication: the demo's application object with stopwatches around its start-up hooks
// and its per-frame update, shared by the offline programs (capture, bench). Start-up is
// everything from process start to the first frame: the viewer's wait.
#pragma once

#include "shell/Trova01.h"

#include <chrono>
#include <cstdio>

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

class TimedApplication : public Trova01 {
public:
    bool LoadStep() override;
    bool InitGL() override;
    bool UpdateFrame() override;

    // Call first thing in main: the reference for the window and loading figures.
    void MarkMainStart();
    // False until the first frame has started (the split is then meaningless).
    bool FramesStarted() const { return framesStarted; }
    StartUpSplit Split() const;
    // The split as three lines on `out`, each starting "MODULE: ".
    void ReportStartUp(std::FILE* out, const char* module) const;

    // Wall milliseconds the latest UpdateFrame took (the CPU side of a frame).
    double LastUpdateMs() const { return lastUpdateMs; }

private:
    bool framesStarted = false;
    StartClock::time_point mainStart, loadStepStart, loadStepEnd, initStart, initEnd, firstFrame;
    double beforeMainMs = 0.0, mainThreadCpu = 0.0, processCpu = 0.0, lastUpdateMs = 0.0;
};
