// DemoHarness: the whole demo in a test process, headless. Its own 1024 x 768 offscreen context
// and one static cDemoScene, loaded from the source tree's generated data/ folder and initialised
// exactly as the program does it. Frames are played with the fixed-step clock in the frame loop's
// order (update, tick, render), so a test can ask for the picture at any demo time and for the
// state of any scene on the way.
//
// It shares the process with every other test, so it keeps to itself what it changes: the
// working directory moves to the source tree only while the demo loads; the process clock and the
// C library's rand() state are the harness's own while it plays and the caller's again when it
// returns; its GL context is made current by each call (and by Demo(), so a test can draw a
// scene directly) and stays current afterwards, except that a context that was current before a
// call is current again after it.
#pragma once

#include "support/GlTestContext.h"
#include "timeline/DemoScene.h"
#include "timeline/TimeSystem.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace VantorGLTest {

struct cColourStats {
    double mean[3] = {0, 0, 0};  // average red, green, blue, 0..255
    double spread = 0;           // standard deviation of luminance
    double whiteShare = 0;       // share of pixels with every channel above 230
    double blackShare = 0;       // share of pixels with every channel below 12
};

class DemoHarness {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    static constexpr int kFps = 30;

    // The one harness of this process (built on first use; loading takes a second or two).
    static DemoHarness& Get();
    // False when no GL context could be made or the data folder is missing.
    bool Ok() const { return ok; }

    // Plays every frame from the current demo time up to `ms` (updates only, except the last
    // few, which are drawn so one-frame-late values are warm) and returns the frame at `ms`,
    // RGBA, bottom row first. Asking for an earlier time than the last frame starts the timeline
    // over first (Restart), so the state at `ms` is always that of a straight play from 0:00.0.
    // Afterwards glGetError() has been checked after every drawn frame.
    const std::vector<std::uint8_t>& FrameAt(int ms);
    // Plays `count` more frames at the fixed step from wherever the demo is, drawing each one
    // when `draw` is set (the frame loop's own order); GL errors are noted as by FrameAt. For
    // tests that watch the loop itself (allocations, memory, GL objects across frames).
    void PlayFrames(int count, bool draw);
    // The first GL error met while drawing in the current test (GL_NO_ERROR when none) and the
    // demo time it came at.
    unsigned FirstGlError() const { return firstGlError; }
    int FirstGlErrorAt() const { return firstGlErrorAt; }
    // Forgets the GL errors met so far, those still queued in the harness's context included, so
    // each test answers for its own; called as every test starts (support/GlErrorsPerTest.cpp).
    // Does nothing while the harness is not built, and never builds it.
    static void ForgetGlErrors();

    // Starts the timeline over in this process (the sequencer's Restart, nothing reloaded) from
    // the state the first pass started from: clock at zero, the same random seed, the same clear
    // values. The next FrameAt plays from 0:00.0 again.
    void Restart();

    // The sequencer and its scenes, with the harness's context made current for direct calls.
    VantorGL::cDemoScene& Demo();
    // Runs `work` on the demo as the harness plays: its context current, its clock and rand()
    // state in place (the caller's come back afterwards). For tests that drive a scene by hand.
    void Drive(const std::function<void(VantorGL::cDemoScene&)>& work);
    int Now() const;  // demo time of the last frame played

    static cColourStats Stats(const std::vector<std::uint8_t>& rgba);
    // A frame to look at after a failure: written as test-frames/NAME.png under the build folder
    // (the one place failing tests keep pictures); returns that path for the failure message.
    // Meant for gtest's message stream, which is only evaluated when the check fails:
    //   EXPECT_GT(stats.spread, 8.0) << "flat; see " << DemoHarness::KeepFrame(frame, w, h, "x-1200");
    // (KeepFrameIfFailed in support/KeptFrame.h does it at the end of a test.)
    static std::string KeepFrame(const std::vector<std::uint8_t>& rgba, int width, int height, const std::string& name);


private:
    // Lends the process to the harness for one call: its context current, its clock and rand()
    // state in place; the caller's clock, rand() state and current context come back at the end.
    class Turn;

    DemoHarness();
    void PlayFrame(bool draw);
    void PlayTo(int ms);
    // What the application's InitGL does around the sequencer's Init.
    void StartTimeline();

    std::unique_ptr<GlTestContext> context;
    // The process clock as the harness left it (its own fixed-step counter), put back by each Turn.
    std::optional<VantorGL::cTimeSystem> clock;
    // rand()'s state while the harness plays (glibc's initstate/setstate buffer).
    char randState[256] = {};
    bool ok = false;
    VantorGL::cDemoScene* demo = nullptr;
    std::vector<std::uint8_t> pixels;
    unsigned firstGlError = 0;
    int firstGlErrorAt = -1;
    bool started = false;
};

}  // namespace VantorGLTest
