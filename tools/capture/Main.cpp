// quenlite-capture: plays the demo through the real application object and Run sequence with a
// fixed-step clock and writes the chosen span or times as numbered PNG frames, or as one contact
// sheet of labelled thumbnails. Every frame from demo time 0 is updated (so every scene's state is what it would be); only the written frames and a
// few just before them are drawn, so a late moment is reached in seconds. Unless --quiet, it
// also says where the start-up went: everything loads before the first frame, so that is the
// viewer's wait.
#include "CaptureOptions.h"
#include "ContactSheet.h"
#include "FrameWriter.h"
#include "StartUpTimes.h"

#include "shell/Console.h"
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"
#include "timeline/DemoScene.h"
#include "timeline/TimeCode.h"
#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

// Frames drawn before --from (or each --at time) so one-frame-late values and feedback targets are warm.
constexpr int kWarmFrames = 3;

// The scene windows of the timeline, in the demo's own time codes ("0:25.5" is 25005 ms); the
// last scene runs past the end of the demo, which cuts it at 2:47.0.
constexpr const char* kSceneWindows[][2] = {
    {"0:00.0", "0:25.5"},  {"0:25.5", "0:43.0"},  {"0:43.0", "0:57.15"}, {"0:57.15", "1:26.4"}, {"1:26.4", "1:36.4"},
    {"1:36.4", "1:50.0"},  {"1:50.0", "1:55.0"},  {"1:55.0", "2:14.0"},  {"2:14.0", "5:47.0"},
};

// The middle of each scene window, the default times of a contact sheet.
std::vector<int> SceneMiddles() {
    std::vector<int> middles;
    for (const auto& window : kSceneWindows) {
        int start = VantorGL::ParseTimeCode(window[0]);
        int end = std::min(VantorGL::ParseTimeCode(window[1]), VantorGL::kDemoEndMs);
        middles.push_back((start + end) / 2);
    }
    return middles;
}

// Two ways to choose frames: the span --from..--to at every step, or a sorted list of times
// (--at, or a contact sheet's scene middles) that the clock lands on exactly.
class CaptureHooks final : public VantorGL::cFrameHooks {
public:
    CaptureHooks(Trova01& app, VantorGL::cFixedStepCounter& clockCounter, const CaptureOptions& chosen,
                 std::vector<int> times)
        : application(app), counter(clockCounter), options(chosen), wanted(std::move(times)) {}

    void BeforeTick() override {
        if (!wanted.empty() && next < wanted.size()) {
            // Step short instead of past the next wanted time. The counter runs at fps ticks per
            // millisecond; the demo's time is the clock's milliseconds less the latched base.
            int now = Elapsed();
            std::int64_t ticks = counter.Read(), fps = counter.FramesPerSecond();
            std::int64_t target = (std::int64_t(wanted[next]) + ticks / fps - now) * fps;
            if (wanted[next] > now && ticks + 1000 > target) {
                counter.SetTicks(target);
                return;
            }
        }
        counter.Advance();
    }

    bool ShouldDraw() override {
        int now = Elapsed();
        int warm = kWarmFrames * 1000 / options.fps + 1;
        if (!wanted.empty()) return next < wanted.size() && now >= wanted[next] - warm;
        return now >= options.fromMs - warm && now <= options.toMs;
    }

    void AfterDraw() override {
        int now = Elapsed();
        if (!wanted.empty() ? next >= wanted.size() || now < wanted[next] : now < options.fromMs || now > options.toMs)
            return;
        if (!sized) {
            int w = 0, h = 0;
            SDL_GL_GetDrawableSize(application.Window(), &w, &h);
            writer.Resize(w, h);
            if (!options.sheetPath.empty()) sheet.Resize(int(wanted.size()), w, h);
            sized = true;
        }
        char name[32];
        if (wanted.empty())
            std::snprintf(name, sizeof name, "/%06d.png", frame);
        else
            std::snprintf(name, sizeof name, "/%06dms.png", now);
        if (options.outDir.empty())
            writer.ReadBack();
        else if (!writer.Write(options.outDir + name))
            failed = true;
        if (!options.sheetPath.empty()) sheet.Place(int(next), writer.Rows(), now);
        ++next;
        ++written;
        if (!options.quiet) Progress(now);
    }

    bool ShouldStop() override {
        ++frame;
        if (!wanted.empty()) return failed || next >= wanted.size();
        return failed || Elapsed() >= options.toMs;
    }

    int Written() const { return written; }
    bool Failed() const { return failed; }
    // List mode: whether every wanted time was captured (a run can end early: a closed window).
    bool AllCaptured() const { return next >= wanted.size(); }
    const ContactSheet& Sheet() const { return sheet; }

private:
    int Elapsed() const { return application.demo.timer.elapsed; }

    void Progress(int now) {
        auto wall = std::chrono::steady_clock::now();
        bool last = wanted.empty() ? now >= options.toMs : next >= wanted.size();
        if (written > 1 && wall - lastReport < std::chrono::seconds(1) && !last) return;
        lastReport = wall;
        std::fprintf(stderr, "CAPTURE: %d frames captured, demo time %d.%03d s\n", written, now / 1000, now % 1000);
    }

    Trova01& application;
    VantorGL::cFixedStepCounter& counter;
    const CaptureOptions& options;
    std::vector<int> wanted;  // sorted; empty in span mode
    std::size_t next = 0;     // the first wanted time not yet captured
    FrameWriter writer;
    ContactSheet sheet;
    bool sized = false;
    bool failed = false;
    int frame = 0;  // index of the frame being made; in span mode demo time is frame * 1000 / fps
    int written = 0;
    std::chrono::steady_clock::time_point lastReport;
};

}  // namespace

static TimedApplication application;

int main(int argc, char** argv) {
    application.MarkMainStart();
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenlite-capture: %s\n%s", error.c_str(), kCaptureUsage);
        return 2;
    }
    auto makeFolder = [](const std::filesystem::path& folder) {
        if (folder.empty()) return true;
        std::error_code made;
        std::filesystem::create_directories(folder, made);
        if (made || !std::filesystem::is_directory(folder)) {
            VantorGL::ConsolePrint("CAPTURE", "%s: cannot create the folder", folder.c_str());
            return false;
        }
        return true;
    };
    if (!makeFolder(options.outDir)) return 1;
    if (!options.sheetPath.empty() && !makeFolder(std::filesystem::path(options.sheetPath).parent_path())) return 1;
    // No display: SDL's offscreen driver renders through EGL on whatever GL the machine has.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");

    VantorGL::cFixedStepCounter counter(options.fps);
    VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
    // A sheet alone leaves no files but itself, so no debug.log then.
    if (!options.outDir.empty()) VantorGL::cDebugSystem::Instance()->Open((options.outDir + "/debug.log").c_str());

    application.ConfigureForDemo();
    application.SetFullscreen(false);
    application.SetSize(options.width, options.height);
    application.AllowHeadless(true);
    std::vector<int> times = options.atMs;
    if (times.empty() && !options.sheetPath.empty()) times = SceneMiddles();
    CaptureHooks hooks(application, counter, options, std::move(times));
    application.SetFrameHooks(&hooks);
    application.Run();
    if (application.WindowFailed()) return 1;
    if (!options.quiet) application.ReportStartUp(stderr, "CAPTURE");
    if (hooks.Failed()) return 1;
    if (!hooks.AllCaptured()) {
        VantorGL::ConsolePrint("CAPTURE", "the demo stopped after %d of the asked frames", hooks.Written());
        return 1;
    }
    if (!options.outDir.empty() && !options.quiet)
        std::fprintf(stderr, "CAPTURE: %d frames in %s\n", hooks.Written(), options.outDir.c_str());
    if (!options.sheetPath.empty()) {
        if (!hooks.Sheet().Write(options.sheetPath)) return 1;
        if (!options.quiet)
            std::fprintf(stderr, "CAPTURE: contact sheet of %d frames in %s (%dx%d)\n", hooks.Written(),
                         options.sheetPath.c_str(), hooks.Sheet().Layout().width, hooks.Sheet().Layout().height);
    }
    return 0;
}
