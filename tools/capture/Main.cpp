// quenlite-capture: plays the demo through the real application object and Run sequence with a
// fixed-step clock and writes the chosen span as numbered PNG frames. Every frame from demo
// time 0 is updated (so every scene's state is what it would be); only the written frames and a
// few just before them are drawn, so a late moment is reached in seconds. Unless --quiet, it
// also says where the start-up went: everything loads before the first frame, so that is the
// viewer's wait.
#include "CaptureOptions.h"
#include "FrameWriter.h"
#include "StartUpTimes.h"

#include "shell/Console.h"
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Frames drawn before --from so one-frame-late values and feedback targets are warm.
constexpr int kWarmFrames = 3;

class CaptureHooks final : public VantorGL::cFrameHooks {
public:
    CaptureHooks(Trova01& app, VantorGL::cFixedStepCounter& clockCounter, const CaptureOptions& chosen)
        : application(app), counter(clockCounter), options(chosen) {}

    void BeforeTick() override { counter.Advance(); }

    bool ShouldDraw() override {
        int now = Elapsed();
        int warmFrom = options.fromMs - kWarmFrames * 1000 / options.fps - 1;
        return now >= warmFrom && now <= options.toMs;
    }

    void AfterDraw() override {
        int now = Elapsed();
        if (now < options.fromMs || now > options.toMs) return;
        if (!sized) {
            int w = 0, h = 0;
            SDL_GL_GetDrawableSize(application.Window(), &w, &h);
            writer.Resize(w, h);
            sized = true;
        }
        char name[32];
        std::snprintf(name, sizeof name, "/%06d.png", frame);
        if (!writer.Write(options.outDir + name)) failed = true;
        ++written;
        if (!options.quiet) Progress(now);
    }

    bool ShouldStop() override {
        ++frame;
        return failed || Elapsed() >= options.toMs;
    }

    int Written() const { return written; }
    bool Failed() const { return failed; }

private:
    int Elapsed() const { return application.demo.timer.elapsed; }

    void Progress(int now) {
        auto wall = std::chrono::steady_clock::now();
        if (written > 1 && wall - lastReport < std::chrono::seconds(1) && now < options.toMs) return;
        lastReport = wall;
        std::fprintf(stderr, "CAPTURE: %d frames written, demo time %d.%03d s\n", written, now / 1000, now % 1000);
    }

    Trova01& application;
    VantorGL::cFixedStepCounter& counter;
    const CaptureOptions& options;
    FrameWriter writer;
    bool sized = false;
    bool failed = false;
    int frame = 0;  // index of the frame being made; demo time is frame * 1000 / fps
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
    std::error_code made;
    std::filesystem::create_directories(options.outDir, made);
    if (made || !std::filesystem::is_directory(options.outDir)) {
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot create the folder", options.outDir.c_str());
        return 1;
    }
    // No display: SDL's offscreen driver renders through EGL on whatever GL the machine has.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");

    VantorGL::cFixedStepCounter counter(options.fps);
    VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
    VantorGL::cDebugSystem::Instance()->Open((options.outDir + "/debug.log").c_str());

    application.ConfigureForDemo();
    application.SetFullscreen(false);
    application.SetSize(options.width, options.height);
    application.AllowHeadless(true);
    CaptureHooks hooks(application, counter, options);
    application.SetFrameHooks(&hooks);
    application.Run();
    if (application.WindowFailed()) return 1;
    if (!options.quiet) application.ReportStartUp(stderr, "CAPTURE");
    if (!options.quiet) std::fprintf(stderr, "CAPTURE: %d frames in %s\n", hooks.Written(), options.outDir.c_str());
    return hooks.Failed() ? 1 : 0;
}
