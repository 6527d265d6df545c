// quenlite-capture: plays the demo through the real application object and Run sequence with a
// fixed-step clock and writes the chosen span as numbered PNG frames. Every frame from demo
// time 0 is updated (so every scene's state is what it would be); only the written frames and a
// few just before them are drawn, so a late moment is reached in seconds. Unless --quiet, it
// also says where the start-up went: everything loads before the first frame, so that is the
// viewer's wait.
#include "CaptureOptions.h"
#include "FrameWriter.h"

#include "shell/Console.h"
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <time.h>
#include <unistd.h>

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

using StartClock = std::chrono::steady_clock;

double MillisecondsBetween(StartClock::time_point from, StartClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Milliseconds from the kernel's start of this process to now (the dynamic loader and static
// construction before main), from /proc; 0 where that is not readable.
double MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return 0.0;
    std::size_t close = line.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos) return 0.0;
    std::size_t at = close + 2;
    // starttime is field 22; the text after ')' starts at field 3.
    for (int field = 3; field < 22 && at != std::string::npos; ++field) at = line.find(' ', at) + 1;
    if (at == 0 || at == std::string::npos) return 0.0;
    double startTicks = std::strtod(line.c_str() + at, nullptr);
    timespec now{};
    long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return 0.0;
    double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
    double ms = nowMs - startTicks * 1000.0 / double(ticksPerSecond);
    return ms > 0.0 ? ms : 0.0;
}

// CPU time of the calling thread or of the whole process, in milliseconds.
double CpuMilliseconds(clockid_t which) {
    timespec now{};
    if (clock_gettime(which, &now) != 0) return 0.0;
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
}

// The application with stopwatches around its start-up hooks; the frames are the program's own.
class TimedApplication final : public Trova01 {
public:
    bool LoadStep() override {
        loadStepStart = StartClock::now();
        bool result = Trova01::LoadStep();
        loadStepEnd = StartClock::now();
        return result;
    }
    bool InitGL() override {
        initStart = StartClock::now();
        bool result = Trova01::InitGL();
        initEnd = StartClock::now();
        return result;
    }
    bool UpdateFrame() override {
        if (!framesStarted) {
            framesStarted = true;
            firstFrame = StartClock::now();
            mainThreadCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);  // the frame loop runs on main
            processCpu = CpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
        }
        return Trova01::UpdateFrame();
    }

    // Where the time from process start to the first frame went, on stderr.
    void ReportStartUp(StartClock::time_point mainStart, double beforeMainMs) const {
        if (!framesStarted) return;
        const VantorGL::cLoadTimes& registry = demo.registry.loadTimes;
        double window = MillisecondsBetween(mainStart, loadStepStart);
        double loadingScreen = MillisecondsBetween(loadStepStart, loadStepEnd);
        double init = MillisecondsBetween(initStart, initEnd);
        double sceneSetUp = init - registry.Total();  // the sequencer's Init beyond the registry
        double total = beforeMainMs + MillisecondsBetween(mainStart, firstFrame);
        double accounted = beforeMainMs + window + loadingScreen + init;
        std::fprintf(stderr, "CAPTURE: start-up %.0f ms from process start to the first frame\n", total);
        std::fprintf(stderr,
                     "CAPTURE:   before main %.0f, window %.0f, loading screen %.0f, music %.0f, textures %.0f, "
                     "models %.0f, fonts %.0f, shaders %.0f, targets %.0f, scene set-up %.0f, other %.0f (ms)\n",
                     beforeMainMs, window, loadingScreen, registry.music, registry.textures, registry.models,
                     registry.fonts, registry.shaders, registry.targets, sceneSetUp, total - accounted);
        // Wall time grows when other programs share the cores; CPU time does not.
        std::fprintf(stderr, "CAPTURE:   CPU to the first frame: main thread %.0f ms, whole process %.0f ms\n",
                     mainThreadCpu, processCpu);
    }

private:
    bool framesStarted = false;
    StartClock::time_point loadStepStart, loadStepEnd, initStart, initEnd, firstFrame;
    double mainThreadCpu = 0.0, processCpu = 0.0;
};

}  // namespace

static TimedApplication application;

int main(int argc, char** argv) {
    StartClock::time_point mainStart = StartClock::now();
    double beforeMainMs = MillisecondsSinceProcessStart();
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
    if (!options.quiet) application.ReportStartUp(mainStart, beforeMainMs);
    if (!options.quiet) std::fprintf(stderr, "CAPTURE: %d frames in %s\n", hooks.Written(), options.outDir.c_str());
    return hooks.Failed() ? 1 : 0;
}
