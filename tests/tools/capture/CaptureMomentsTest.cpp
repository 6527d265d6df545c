// The frame quenlite-capture writes for a demo time depends on that time alone: the first frames
// of every scene window, taken together in one run (so each is reached after the timeline was
// started over for it), equal the frames of fresh runs that play the same frames straight; a jump
// into a scene draws the frames its picture depends on, and no fewer.
#include "support/FileBytes.h"
#include "support/GeneratedData.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

constexpr int kFps = 30;           // capture's default step: frame n is at n * 1000 / 30 ms
constexpr int kFramesPerWindow = 3;

std::string Seconds(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", ms / 1000, ms % 1000);
    return text;
}

std::string Numbered(const char* format, int value) {
    char name[32];
    std::snprintf(name, sizeof name, format, value);
    return name;
}

// A run of 27 frames across the whole demo draws about a hundred: minutes on a busy machine.
constexpr int kRunLimitSeconds = 1200;

ProgramResult Capture(const std::vector<std::string>& arguments, const std::filesystem::path& cwd) {
    return RunProgram(BuiltProgram("quenlite-capture"), arguments, cwd,
                      {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}}, kRunLimitSeconds);
}

}  // namespace

TEST(CaptureMoments, FirstFramesOfEverySceneWindowAreTheStraightPlaysWhateverElseTheRunTook) {
    REQUIRE_GENERATED_DATA();
    DataHome scratch("capture-moments");  // the runs start here, beside a link to the data
    std::vector<int> frames;  // grid frame numbers, kFramesPerWindow from each window's start
    std::string at;
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t w = 0; w < VantorGL::kTimelineRows; ++w) {
        const int first = (windows[w].startMs * kFps + 999) / 1000;
        const int last = first + kFramesPerWindow - 1;
        // A fresh process playing these frames straight (the warm-up frames before them drawn too).
        const std::filesystem::path fresh = scratch.Path() / ("fresh-" + std::to_string(w));
        ProgramResult straight = Capture({"--from", Seconds(first * 1000 / kFps), "--to", Seconds(last * 1000 / kFps),
                                          "--out", fresh.string(), "--quiet"},
                                         scratch.Path());
        ASSERT_EQ(straight.exitCode, 0) << straight.err;
        for (int n = first; n <= last; ++n) {
            frames.push_back(n);
            if (!at.empty()) at += ',';
            at += Seconds(n * 1000 / kFps);
        }
    }
    const std::filesystem::path together = scratch.Path() / "together";
    ProgramResult run = Capture({"--at", at, "--out", together.string(), "--quiet"}, scratch.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::string differing;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const int n = frames[i];
        const std::filesystem::path straightFrame =
            scratch.Path() / ("fresh-" + std::to_string(i / kFramesPerWindow)) / Numbered("%06d.png", n);
        const std::filesystem::path takenFrame = together / Numbered("%06dms.png", n * 1000 / kFps);
        const std::vector<std::uint8_t> expected = ReadBytes(straightFrame);
        if (!expected.empty() && ReadBytes(takenFrame) == expected) continue;
        differing += ' ';
        differing += Seconds(n * 1000 / kFps);
        // Both pictures kept where failing tests keep frames.
        const std::filesystem::path kept = std::filesystem::path(QUENLITE_BINARY_DIR) / "test-frames";
        std::error_code ignored;
        std::filesystem::create_directories(kept, ignored);
        std::filesystem::copy_file(straightFrame, kept / ("moments-straight-" + takenFrame.filename().string()),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
        std::filesystem::copy_file(takenFrame, kept / ("moments-together-" + takenFrame.filename().string()),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
    EXPECT_TRUE(differing.empty()) << "frames that differ from a fresh straight play (seconds):" << differing
                                   << "; both kept in " << QUENLITE_BINARY_DIR << "/test-frames";
}

// A third of a second into every scene's window, the frame a jump there draws (only the frames
// the scene says its picture depends on, FramesOfHistory, before it) is the frame a straight play
// from the window's start draws: a scene that came to depend on earlier frames without saying so
// (a target, the cube's last faces, a warm-up count) shows here.
TEST(CaptureMoments, AJumpIntoASceneDrawsWhatItsFrameDependsOn) {
    REQUIRE_GENERATED_DATA();
    constexpr int kJumpFrames = 10;
    DataHome scratch("capture-jumps");
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    std::string at;
    std::vector<int> jumps;  // each window's grid frame number
    for (std::size_t w = 0; w < VantorGL::kTimelineRows; ++w) {
        const int first = (windows[w].startMs * kFps + 999) / 1000, jump = first + kJumpFrames;
        const std::string straight = (scratch.Path() / ("straight-" + std::to_string(w))).string();
        ProgramResult run = Capture({"--from", Seconds(first * 1000 / kFps), "--to", Seconds(jump * 1000 / kFps), "--out",
                                     straight, "--size", "320x240", "--quiet"},
                                    scratch.Path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        jumps.push_back(jump);
        if (!at.empty()) at += ',';
        at += Seconds(jump * 1000 / kFps);
    }
    const std::string jumped = (scratch.Path() / "jumps").string();
    ProgramResult run = Capture({"--at", at, "--out", jumped, "--size", "320x240", "--quiet"}, scratch.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    for (std::size_t k = 0; k < jumps.size(); ++k) {
        const std::filesystem::path straightFrame =
            scratch.Path() / ("straight-" + std::to_string(k)) / Numbered("%06d.png", jumps[k]);
        const std::vector<std::uint8_t> expected = ReadBytes(straightFrame);
        EXPECT_FALSE(expected.empty()) << straightFrame;
        EXPECT_EQ(ReadBytes(std::filesystem::path(jumped) / Numbered("%06dms.png", jumps[k] * 1000 / kFps)), expected)
            << windows[k].row->member << " at " << Seconds(jumps[k] * 1000 / kFps);
    }
}
