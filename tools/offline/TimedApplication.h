// TimedApplication: the demo's application object with stopwatches around its start-up hooks
// and its per-frame update, and a fixed random seed, shared by the offline programs (capture,
// bench, studio).
#pragma once

#include "offline/StartUpTimes.h"

#include "shell/Trova01.h"

#include <cstdio>

// rand()'s seed in the offline programs (the test harness's too), where the demo takes the
// calendar time: a frame at a given time is then the same on every run, random tables and all.
constexpr unsigned kOfflineRandomSeed = 2010;

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
