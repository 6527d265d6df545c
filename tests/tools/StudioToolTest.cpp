// Tests for quenlite-studio run headless (SDL's offscreen driver, dummy audio) through its
// --script: the frame after a seek or a step is the capture tool's frame at that time, F12 leaves
// the overlay out, pausing stops demo time and the music, the loop span wraps, the music goes on
// sample-exact, data rewritten on disk is shown at the same moment; and its command line and the
// missing display are refused with a message.
#include "support/FileBytes.h"
#include "support/GeneratedData.h"
#include "support/ProgramRun.h"
#include "support/RgbPngReader.h"
#include "support/ScratchFolder.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

const EnvChanges kHeadless = {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};

// Runs the studio in a data home of its own: its debug.log goes with the folder.
ProgramResult RunStudio(const std::vector<std::string>& arguments, const EnvChanges& env = kHeadless) {
    const DataHome home("studio");
    return RunProgram(BuiltProgram("quenlite-studio"), arguments, home.Path(), env, 240);
}


// The fields of each "STUDIO: m:ss.fff ... playing|paused ... music playing|stopped at frame N"
// status line the script asked for.
struct Status {
    std::string time, state, music;
    long long musicFrame = -1;
    int replays = 0;
    long long shown = 0;  // windows presented so far
};

std::vector<Status> StatusLines(const std::string& out) {
    std::vector<Status> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        char time[32], state[16], music[16];
        long long frame = 0;
        int replays = 0;
        const std::size_t loop = line.find(", loop ");
        const std::size_t at = line.find(") ");
        if (line.rfind("STUDIO: ", 0) != 0 || loop == std::string::npos || at == std::string::npos) continue;
        if (std::sscanf(line.c_str(), "STUDIO: %31s", time) != 1) continue;
        if (std::sscanf(line.c_str() + at + 2, "%15s at %*s music %15s at frame %lld", state, music, &frame) != 3)
            continue;
        const std::size_t count = line.find("), ", loop);
        if (count != std::string::npos) std::sscanf(line.c_str() + count + 3, "%d replays", &replays);
        long long shown = 0;
        const std::size_t presented = line.rfind("), ");
        if (presented != std::string::npos) std::sscanf(line.c_str() + presented + 3, "%lld frames shown", &shown);
        lines.push_back({time, state, music, frame, replays, shown});
    }
    return lines;
}

std::vector<std::uint8_t> Pixels(const std::filesystem::path& path) {
    int width = 0, height = 0;
    return ReadRgbPng(path.string(), width, height);
}

}  // namespace

TEST(StudioTool, BadCommandLinesAndAMissingDisplayAreRefusedWithAMessage) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--from", "3:00"}, {"--from"}, {"--size", "8x8"}, {"--script", "seek soon"}, {"--script", "jump"},
             {"--script", "wait 0"}, {"--shots", ""}, {"--bogus"}}) {
        ProgramResult run = RunStudio(bad);
        EXPECT_EQ(run.exitCode, 2) << QuotedArguments(bad);
        EXPECT_NE(run.err.find("usage: quenlite-studio"), std::string::npos) << run.err;
    }
    ProgramResult help = RunStudio({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("F12"), std::string::npos);
    // No display: SDL's dummy video driver stands for a machine without one.
    ProgramResult none = RunStudio({"--script", "quit"}, {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("STUDIO: no window"), std::string::npos) << none.err;
}

TEST(StudioTool, SeekAndStepFramesAreTheCaptureToolsFramesWithoutTheOverlay) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("studio-frames");
    const std::filesystem::path shots = scratch.Path() / "studio", captured = scratch.Path() / "capture";
    std::filesystem::create_directories(shots);
    // Forward and backward seeks in different scenes, two across the 0:57.15 boundary between the
    // glass tunnel and the glass figure, two steps on and two back (the 0:30 picture is the one
    // stepped back to); the overlay shows all along.
    const std::string screen = (scratch.Path() / "screen.png").string();
    ProgramResult run = RunStudio({"--size", "160x120", "--shots", shots.string(), "--script",
                                   "space; seek 1:17.5; f12; seek 0:30; f12; period; f12; period; f12; comma; "
                                   "comma; f12; seek 0:57.1; f12; seek 0:57.2; f12; shift+left; f12; "
                                   "seek 0:30; screen " + screen + "; quit"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> times = {"077500", "030000", "030033", "030066", "057100", "057200", "047200"};
    std::string at;
    for (const std::string& t : times) {
        if (!at.empty()) at += ',';
        at += std::to_string(std::stoi(t) / 1000.0);
    }
    ASSERT_EQ(RunProgram(BuiltProgram("quenlite-capture"),
                         {"--out", captured.string(), "--at", at, "--size", "160x120", "--quiet"}, QUENLITE_SOURCE_DIR,
                         kHeadless)
                  .exitCode,
              0);
    for (const std::string& t : times) {
        const std::vector<std::uint8_t> studio = Pixels(shots / ("quenlite-" + t + "ms.png"));
        ASSERT_FALSE(studio.empty()) << "no F12 picture at " << t << " ms\n" << run.err;
        EXPECT_TRUE(studio == Pixels(captured / (t + "ms.png"))) << "the studio's frame at " << t << " ms differs";
    }
    // The same moment with the overlay is another picture: the overlay was there, F12 left it out.
    const std::vector<std::uint8_t> withOverlay = Pixels(screen);
    ASSERT_FALSE(withOverlay.empty());
    EXPECT_FALSE(withOverlay == Pixels(shots / "quenlite-030000ms.png"));
}

TEST(StudioTool, PausingStopsDemoTimeAndTheMusicAndTheLoopSpanWraps) {
    REQUIRE_GENERATED_DATA();
    ProgramResult run = RunStudio({"--size", "64x48", "--from", "1:00", "--script",
                                   "wait 10; status; space; status; wait 10; status; up; status; down; "
                                   "seek 1:10; [; seek 1:10.4; ]; l; space; wait 12; status; quit"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<Status> status = StatusLines(run.out);
    ASSERT_EQ(status.size(), 5u) << run.out;
    // Playing from 1:00 with the music running from there.
    EXPECT_EQ(status[0].state, "playing");
    EXPECT_GE(status[0].time, "1:00.000");
    EXPECT_EQ(status[0].music, "playing");
    EXPECT_GE(status[0].musicFrame, 60LL * 44100);
    // Paused: the time and the music's place stay where they were while frames go by.
    EXPECT_EQ(status[1].state, "paused");
    EXPECT_EQ(status[1].music, "stopped");
    EXPECT_EQ(status[2].time, status[1].time);
    EXPECT_EQ(status[2].musicFrame, status[1].musicFrame);
    EXPECT_EQ(status[2].state, "paused");
    // Held, the window keeps its picture: a few frames while the overlay settles, not one per loop.
    EXPECT_LE(status[2].shown - status[1].shown, 4) << run.out;
    // Looping 1:10 to 1:10.4: play starts at the span's end, so its first frame wraps; twelve
    // frames later the studio still plays from the span's start on. (How far past the end a
    // frame may show is one frame's real time, which a loaded machine stretches past seconds.)
    EXPECT_EQ(status[4].state, "playing");
    EXPECT_GE(status[4].time, "1:10.000");
    EXPECT_GE(status[4].replays, status[3].replays + 3) << run.out;  // the two seeks, then the wraps
}

namespace {

// What a studio run played on SDL's disk audio driver, cut into its stretches of sound, each found
// in the soundtrack as capture writes it from 1:00.000 to the end.
struct HeardPieces {
    std::vector<std::size_t> at;  // where each stretch starts in the soundtrack, in sample frames
    std::vector<bool> exact;      // whether it is an unbroken piece of the soundtrack from there
    std::string error;            // a run that failed, or a stretch found nowhere
};

HeardPieces PlayAndListen(const std::string& script) {
    HeardPieces pieces;
    ScratchFolder scratch("studio-sound");
    // SDL's disk driver writes what the device plays, at the device's own pace, to a file.
    const std::string heard = scratch.Path("heard.raw"), wav = scratch.Path("music.wav");
    ProgramResult run = RunStudio({"--size", "64x48", "--from", "1:00", "--script", script},
                                  {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", heard}});
    if (run.exitCode != 0) return pieces.error = "the studio failed: " + run.err, pieces;
    const DataHome home("studio-wav");
    if (RunProgram(BuiltProgram("quenlite-capture"), {"--wav", wav, "--from", "1:00", "--to", VantorGL::kDemoEndCode, "--quiet"},
                   home.Path(), kHeadless)
            .exitCode != 0)
        return pieces.error = "capture wrote no soundtrack", pieces;
    const std::vector<std::uint8_t> device = ReadBytes(heard), music = ReadBytes(wav);
    if (music.size() <= 44) return pieces.error = "an empty soundtrack", pieces;
    const std::uint8_t* soundtrack = music.data() + 44;
    const std::size_t soundtrackFrames = (music.size() - 44) / 4, frames = device.size() / 4;
    auto silent = [&](std::size_t f) { return std::memcmp(&device[f * 4], "\0\0\0\0", 4) == 0; };
    for (std::size_t f = 0; f < frames;) {
        if (silent(f)) {
            ++f;
            continue;
        }
        std::size_t end = f;
        while (end < frames && (!silent(end) || (end + 512 < frames && !silent(end + 512)))) ++end;
        const std::uint8_t* found = std::search(soundtrack, soundtrack + soundtrackFrames * 4, &device[f * 4], &device[f * 4] + 256);
        if (found == soundtrack + soundtrackFrames * 4)
            return pieces.error = "piece " + std::to_string(pieces.at.size()) + " is not in the soundtrack", pieces;
        const std::size_t at = std::size_t(found - soundtrack) / 4;
        // A slow machine plays longer than the soundtrack written: compare what both have.
        const std::size_t length = std::min(end - f, soundtrackFrames - at);
        pieces.at.push_back(at);
        pieces.exact.push_back(std::memcmp(&device[f * 4], soundtrack + at * 4, length * 4) == 0);
        f = end;
    }
    return pieces;
}

constexpr std::size_t kOneStepFrames = 1470;  // one 30 fps step, 33.3 ms at 44100 Hz

}  // namespace

// Each stretch of sound the device played is one unbroken piece of the soundtrack; the first
// starts where the demo's clock goes on after the seek: one 30 fps step after 1:00.000.
TEST(StudioTool, TheMusicGoesOnSampleExactFromWherePlayResumes) {
    REQUIRE_GENERATED_DATA();
    const HeardPieces heard = PlayAndListen("wait 6; space; wait 4; space; wait 6; quit");
    ASSERT_EQ(heard.error, "");
    ASSERT_EQ(heard.at.size(), 2u) << "played, paused, played";
    EXPECT_EQ(heard.at[0], kOneStepFrames);
    EXPECT_TRUE(heard.exact[0] && heard.exact[1]);
}

// Through a loop's wrap the music falls silent while the replay runs and starts again, sample
// exact, from the span's start: every piece heard begins there.
TEST(StudioTool, TheMusicStartsAgainFromTheLoopsStartAtEveryWrap) {
    REQUIRE_GENERATED_DATA();
    const HeardPieces heard = PlayAndListen("space; seek 1:00; [; seek 1:00.5; ]; l; space; wait 60; quit");
    ASSERT_EQ(heard.error, "");
    ASSERT_GE(heard.at.size(), 2u) << "no wrap was heard";
    for (std::size_t i = 0; i < heard.at.size(); ++i) {
        EXPECT_EQ(heard.at[i], kOneStepFrames) << "piece " << i;
        EXPECT_TRUE(heard.exact[i]) << "piece " << i;
    }
}

TEST(StudioTool, RealKeysDriveItOnAnXServer) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("studio-x");
    // The script passes a sanitizer build's preload on to the programs it starts, and to them only.
    const char* preload = std::getenv("LD_PRELOAD");
    ProgramResult run = RunProgram("/bin/bash", {"scripts/studio-check", scratch.Path("out"), QUENLITE_BINARY_DIR},
                                   QUENLITE_SOURCE_DIR,
                                   {{"LD_PRELOAD", std::nullopt}, {"QUENLITE_PRELOAD", preload ? preload : ""}}, 240);
    if (run.exitCode == 77) GTEST_SKIP() << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

// At any speed but the normal one the music is silent, and it comes back at the normal speed.
TEST(StudioTool, TheMusicIsSilentAtOtherSpeeds) {
    REQUIRE_GENERATED_DATA();
    ProgramResult run = RunStudio({"--size", "64x48", "--from", "1:00", "--script",
                                   "wait 3; status; up; wait 3; status; down; down; wait 3; status; up; wait 3; "
                                   "status; quit"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<Status> status = StatusLines(run.out);
    ASSERT_EQ(status.size(), 4u) << run.out;
    for (const Status& line : status) EXPECT_EQ(line.state, "playing") << run.out;
    EXPECT_EQ(status[0].music, "playing") << run.out;
    EXPECT_EQ(status[1].music, "stopped") << "faster: " << run.out;
    EXPECT_EQ(status[2].music, "stopped") << "slower: " << run.out;
    EXPECT_EQ(status[3].music, "playing") << "back at the normal speed: " << run.out;
}

// A relative --shots folder is taken from where the studio was started, not from the data
// folder it moves to: here the data lies beside the program, as in an unpacked archive.
TEST(StudioTool, RelativeShotsLandWhereItWasStarted) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("studio-shots");
    const std::filesystem::path bin = scratch.Path() / "bin", started = scratch.Path() / "started";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(started / "shots");
    std::filesystem::create_directory_symlink(GeneratedData(), bin / "data");
    // A copy, not a link: the program finds its own folder through what it was started from.
    std::filesystem::copy_file(BuiltProgram("quenlite-studio"), bin / "quenlite-studio");
    ProgramResult run = RunProgram((bin / "quenlite-studio").string(),
                                   {"--size", "64x48", "--from", "0:30", "--shots", "shots", "--script",
                                    "space; seek 0:30; f12; quit"},
                                   started, kHeadless, 240);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(started / "shots" / "quenlite-030000ms.png")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(bin / "shots")) << "taken from the data folder";
    EXPECT_TRUE(std::filesystem::exists(bin / "debug.log")) << "the log lies beside the data it played";
}

namespace {

// A copy of the generated data folder at `folder`, so a test may replace some of its files (a
// copy, not links: the scratch folder's clean-up would change the modes of what links name).
void CopyGeneratedData(const std::filesystem::path& folder) {
    std::filesystem::copy(GeneratedData(), folder, std::filesystem::copy_options::recursive);
}

// Replaces `path` as the generator does: written whole under another name, renamed into place.
void Replace(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path part = path.string() + ".part";
    ASSERT_TRUE(WriteBytes(part, bytes));
    std::filesystem::rename(part, path);
}

}  // namespace

// Paused at 1:40, the greeting model shown then and the picture over every frame are rewritten; the
// studio loads them again and replays to the same moment, whose frame is then a fresh studio's.
TEST(StudioTool, RewrittenDataIsShownAtTheSameMomentAsAFreshStudioShowsIt) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("studio-reload");
    const std::filesystem::path home = scratch.Path() / "home", reloaded = scratch.Path() / "reloaded",
                                fresh = scratch.Path() / "fresh";
    for (const auto& folder : {home, reloaded, fresh}) std::filesystem::create_directories(folder);
    CopyGeneratedData(home / "data");
    const std::filesystem::path ready = scratch.Path() / "ready.png", before = scratch.Path() / "before.png";
    const std::string shot = "quenlite-100000ms.png";
    std::future<ProgramResult> studio = std::async(std::launch::async, [&] {
        return RunProgram(BuiltProgram("quenlite-studio"),
                          {"--size", "160x120", "--shots", reloaded.string(), "--script",
                           "space; seek 1:40; f12; screen " + ready.string() + "; waitreload; f12; status; quit"},
                          home, kHeadless, 240);
    });
    for (int i = 0; i < 2000 && !std::filesystem::exists(ready); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(std::filesystem::exists(ready)) << studio.get().err;
    std::filesystem::copy_file(reloaded / shot, before);
    Replace(home / "data" / "greeting1.3DS", ReadBytes(GeneratedData() / "greeting2.3DS"));
    Replace(home / "data" / "og3.png", ReadBytes(GeneratedData() / "og2.png"));
    const ProgramResult run = studio.get();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("STUDIO: reloaded greeting1.3DS, og3.png in "), std::string::npos) << run.out;
    EXPECT_EQ(run.err.find("STUDIO: waitreload"), std::string::npos) << run.err;
    const std::vector<Status> status = StatusLines(run.out);
    ASSERT_EQ(status.size(), 1u) << run.out;
    EXPECT_EQ(status[0].time, "1:40.000");
    EXPECT_EQ(status[0].state, "paused");

    const ProgramResult again = RunProgram(BuiltProgram("quenlite-studio"),
                                           {"--size", "160x120", "--shots", fresh.string(), "--script",
                                            "space; seek 1:40; f12; quit"},
                                           home, kHeadless, 240);
    ASSERT_EQ(again.exitCode, 0) << again.err;
    const std::vector<std::uint8_t> shown = Pixels(reloaded / shot);
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown == Pixels(fresh / shot)) << "the reloaded frame is not the fresh studio's";
    EXPECT_FALSE(shown == Pixels(before)) << "the rewritten files changed nothing at 1:40";
}
