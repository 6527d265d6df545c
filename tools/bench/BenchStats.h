// BenchStats: the bench's samples (the timed frames' draw and update times, overall and per
// scene, with room fixed before the demo plays) and what the report makes of them.
#pragma once

#include "PassSamples.h"

#include "offline/OfflineClock.h"
#include "timeline/SceneSystem.h"
#include "timeline/Timeline.h"

#include <vector>

// The bench's fixed step, and every frame of the demo at it with room for the clock's rounding:
// the most any list holds.
constexpr int kBenchFps = kOfflineFps;
constexpr int kBenchMaxFrames = VantorGL::kDemoEndMs / 1000 * kBenchFps + 2 * kBenchFps;

// Milliseconds of the timed frames, fixed capacity (nothing grows while the demo plays).
struct Samples {
    Samples() {
        draw.reserve(kBenchMaxFrames);
        update.reserve(kBenchMaxFrames);
    }
    void Add(double drawMs, double updateMs) {
        if (int(draw.size()) >= kBenchMaxFrames) return;
        draw.push_back(drawMs);
        update.push_back(updateMs);
    }
    std::vector<double> draw, update;
};

// One scene of the timeline: its row (member and label) and the sequencer's scene that plays it.
struct SceneEntry {
    const VantorGL::sTimelineRow* row;
    const VantorGL::cSceneSystem* scene;
    Samples samples;
    PassSamples passes;  // empty unless the passes are timed
};

struct Summary {
    int frames = 0;
    double min = 0, median = 0, p95 = 0, updateMedian = 0;
    double total = 0;  // the timed frames' draw times added up
};

// The median of `values` (0 when empty).
double Median(std::vector<double> values);
// Nearest rank: the smallest value at or above 95 % of the samples (0 when empty).
double Percentile95(std::vector<double> values);
// Frames, min, median, 95th percentile and total of the draw times, the median of the updates.
Summary Summarise(const Samples& samples);
// The sum of a scene's pass medians: the part of its frame median the named passes account for.
double PassMedianSum(const PassSamples& passes);
