// A restarted timeline keeps nothing of where the run was before: the first frames of every
// scene window come out the same whether the restart followed the first frame of the demo or a
// frame late in the opening (whose cut height the shadow cage program keeps, and pushes a frame
// late).
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace VantorGLTest;

namespace {

constexpr int kFramesPerWindow = 3;

// The first frames of every scene window, in time order, in one pass from 0:00.0.
std::vector<int> FirstFramesOfEachWindow() {
    std::vector<int> times;
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t w = 0; w < VantorGL::kTimelineRows; ++w) {
        const int first = (windows[w].startMs * DemoHarness::kFps + 999) / 1000;
        for (int n = first; n < first + kFramesPerWindow; ++n) times.push_back(n * 1000 / DemoHarness::kFps);
    }
    return times;
}

// Restarts after playing to `beforeMs`, then takes every time's frame in one pass.
std::vector<std::vector<std::uint8_t>> FramesAfterRestartFrom(DemoHarness& harness, int beforeMs,
                                                              const std::vector<int>& times) {
    harness.Restart();
    harness.FrameAt(beforeMs);
    harness.Restart();
    std::vector<std::vector<std::uint8_t>> frames;
    for (int ms : times) frames.push_back(harness.FrameAt(ms));
    return frames;
}

}  // namespace

TEST(Restart, FirstFramesOfEveryWindowDoNotDependOnWhereTheRunWas) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL context or no data folder";
    const std::vector<int> times = FirstFramesOfEachWindow();
    const int lateInTheOpening = VantorGL::TimelineByStart()[0].endMs - 100;
    const auto afterTheStart = FramesAfterRestartFrom(harness, 0, times);
    const auto afterTheOpening = FramesAfterRestartFrom(harness, lateInTheOpening, times);
    for (std::size_t i = 0; i < times.size(); ++i)
        ExpectSameFrame(afterTheStart[i], afterTheOpening[i], times[i], "restart-after-start", "restart-after-opening");
}
