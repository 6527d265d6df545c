// BenchReport: what quenlite-bench prints: start-up, the update of every frame, and per scene the
// draw times of the timed frames (and each named pass's GPU times where they were taken), as a
// table or as one JSON object on stdout.
#pragma once

#include "BenchStats.h"

#include "offline/StartUpTimes.h"

#include <string>
#include <vector>

struct BenchResults {
    int width = 0, height = 0;                     // the window
    std::string renderer, glVersion;               // which GL drew
    StartUpSplit startUp;
    bool passesTimed = false;                      // the scenes' pass samples hold GPU times
    const std::vector<SceneEntry>* scenes = nullptr;  // in time order
    const Samples* all = nullptr;                  // every timed frame
    const std::vector<double>* everyUpdate = nullptr;  // the update of every frame played
};

void PrintBenchTable(const BenchResults& results);
void PrintBenchJson(const BenchResults& results);
