// A restarted timeline keeps nothing of where the run was before. The very first frame drawn
// after a restart (no warm-up frames to hide a leftover) comes out the same whether the restart
// followed the first frame of the demo or a frame late in the opening, at the start of every
// scene window and while the opening's outline is being cut by the shadow cage (a program that
// keeps its last cut height and pushes it a frame late).
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace VantorGLTest;

namespace {

constexpr int kOutlineBeingCutMs = 3000;  // the opening's outline wipe runs from 0:00.03 for 5.5 s

// The first frame of every scene window in time order, and one of the outline being cut.
std::vector<int> FramesToCheck() {
    std::vector<int> frames{kOutlineBeingCutMs * DemoHarness::kFps / 1000};
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t w = 0; w < VantorGL::kTimelineRows; ++w)
        frames.push_back((windows[w].startMs * DemoHarness::kFps + 999) / 1000);
    return frames;
}

// For each frame number: a restart after drawing the frame at `beforeMs`, then a restart, every
// frame before it updated only, and it alone drawn.
std::vector<std::vector<std::uint8_t>> FirstDrawnAfterRestartFrom(DemoHarness& harness, int beforeMs,
                                                                  const std::vector<int>& frames) {
    std::vector<std::vector<std::uint8_t>> pictures;
    for (int frame : frames) {
        harness.Restart();
        harness.FrameAt(beforeMs);
        harness.Restart();
        harness.PlayFrames(frame, false);
        harness.PlayFrames(1, true);
        pictures.push_back(harness.FrameAt(harness.Now()));  // reads back; draws nothing more
    }
    return pictures;
}

}  // namespace

TEST(Restart, FirstFrameDrawnDoesNotDependOnWhereTheRunWas) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL context or no data folder";
    const std::vector<int> frames = FramesToCheck();
    const int lateInTheOpening = VantorGL::TimelineByStart()[0].endMs - 100;
    const auto afterTheStart = FirstDrawnAfterRestartFrom(harness, 0, frames);
    const auto afterTheOpening = FirstDrawnAfterRestartFrom(harness, lateInTheOpening, frames);
    for (std::size_t i = 0; i < frames.size(); ++i)
        ExpectSameFrame(afterTheStart[i], afterTheOpening[i], frames[i] * 1000 / DemoHarness::kFps,
                        "restart-after-start", "restart-after-opening");
}
