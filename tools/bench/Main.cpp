// quenlite-bench: the demo's frame-time benchmark. It plays the demo offline (OfflineDriver: the
// real application object and Run sequence, headless, with a fixed 30 fps clock), updating every
// frame from demo time 0, and draws only the chosen frames (plus three warm-up frames before each
// run of them). Each chosen frame's draw is timed with glFinish on both sides, so the GPU's work
// counts, and charged to every scene of the timeline active at that demo time; the update is
// timed on its own. With --passes each named pass of a timed frame is also timed on the GPU
// (the registry's pass timer) and charged the same way, by scene and pass name.
#include "BenchOptions.h"
#include "BenchReport.h"
#include "BenchStats.h"

#include "offline/OfflineDriver.h"

#include "shell/BuildInfo.h"
#include "shell/ProgramFolders.h"
#include "timeline/DebugSystem.h"
#include "timeline/Timeline.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kFps = kBenchFps;
constexpr int kMaxFrames = kBenchMaxFrames;

// The demo's application object, noting which GL does the drawing and switching the pass timer
// on, when asked, once everything is loaded and before the first frame.
class BenchApplication final : public TimedApplication {
public:
    bool InitGL() override {
        bool result = TimedApplication::InitGL();
        const GLubyte* name = glGetString(GL_RENDERER);
        const GLubyte* version = glGetString(GL_VERSION);
        renderer = name ? reinterpret_cast<const char*>(name) : "unknown";
        glVersion = version ? reinterpret_cast<const char*>(version) : "unknown";
        if (timePasses && !demo.registry.passTimer.Enable())
            std::fprintf(stderr, "BENCH: %s has no timer queries (GL_ARB_timer_query); passes are not timed\n",
                         renderer.c_str());
        return result;
    }
    // The pass timer is on: --passes was asked for and the GL can time them.
    bool PassesTimed() const { return demo.registry.passTimer.Enabled(); }

    bool timePasses = false;
    std::string renderer = "unknown", glVersion = "unknown";
};

class BenchHooks final : public VantorGL::cFrameHooks {
public:
    // `timePasses`: make room for the pass times too.
    BenchHooks(OfflineDriver& offline, const std::vector<BenchSpan>& chosen, bool timePasses)
        : driver(offline), application(offline.Application()), counter(offline.Counter()), spans(chosen),
          passTimer(application.demo.registry.passTimer) {
        // In time order, each row with the scene its member name finds.
        const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
        scenes.resize(VantorGL::kTimelineRows);
        for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
            scenes[i].row = windows[i].row;
            scenes[i].scene = application.demo.Scene(windows[i].row->member);
            if (timePasses) scenes[i].passes.Reserve(kMaxFrames);
        }
        everyUpdate.reserve(kMaxFrames);
        for (const BenchSpan& span : spans) lastMs = std::max(lastMs, span.toMs);
    }

    void BeforeTick() override {
        if (int(everyUpdate.size()) < kMaxFrames) everyUpdate.push_back(application.LastUpdateMs());
        counter.Advance();
    }

    bool ShouldDraw() override {
        int now = Elapsed();
        timed = Chosen(now);
        if (timed) {
            glFinish();  // the warm-up's and the previous frame's work is not this frame's
            passTimer.BeginFrame();  // nothing while the timer is off
            drawStart = StartClock::now();
            return true;
        }
        // Warm-up: the next span starts within the next few frames.
        int warmUntil = now + OfflineWarmMs(kFps, kOfflineWarmFrames);
        return cursor < spans.size() && spans[cursor].fromMs > now && spans[cursor].fromMs <= warmUntil;
    }

    void AfterDraw() override {
        if (!timed) return;
        glFinish();
        double drawMs = MillisecondsBetween(drawStart, StartClock::now());
        double updateMs = application.LastUpdateMs();
        // After the glFinish every query has its result: reading them waits for nothing.
        const bool passes = passTimer.Collect() > 0 || passTimer.Dropped() > 0;
        if (passTimer.Dropped() > 0 && !toldDropped) {
            std::fprintf(stderr, "BENCH: a frame ran more than %d passes; the rest are not timed\n",
                         VantorGL::cPassTimer::kMaxPasses);
            toldDropped = true;
        }
        all.Add(drawMs, updateMs);
        // A frame where two windows meet counts for both scenes, and so do its passes.
        for (SceneEntry& entry : scenes) {
            if (!entry.scene->IsActive()) continue;
            entry.samples.Add(drawMs, updateMs);
            if (passes) entry.passes.AddFrame(passTimer);
        }
        Progress(Elapsed());
    }

    bool ShouldStop() override {
        previousMs = Elapsed();
        return previousMs >= lastMs;
    }

    const std::vector<SceneEntry>& Scenes() const { return scenes; }
    const Samples& All() const { return all; }
    const std::vector<double>& EveryUpdate() const { return everyUpdate; }

private:
    int Elapsed() const { return driver.Elapsed(); }

    // True when the frame at `now` is timed: it lies inside a span, or it is the first frame at
    // or after a span's start (a one-instant span between two frames). Spans are sorted and do
    // not overlap; `cursor` skips the ones already behind.
    bool Chosen(int now) {
        while (cursor < spans.size() && spans[cursor].fromMs <= previousMs && spans[cursor].toMs < now) ++cursor;
        for (std::size_t i = cursor; i < spans.size() && spans[i].fromMs <= now; ++i)
            if (now <= spans[i].toMs || previousMs < spans[i].fromMs) return true;
        return false;
    }

    void Progress(int now) {
        StartClock::time_point wall = StartClock::now();
        if (wall - lastReport < std::chrono::seconds(5)) return;
        lastReport = wall;
        std::fprintf(stderr, "BENCH: %zu frames timed, demo time %d.%03d s\n", all.draw.size(), now / 1000,
                     now % 1000);
    }

    OfflineDriver& driver;
    TimedApplication& application;
    VantorGL::cFixedStepCounter& counter;
    const std::vector<BenchSpan>& spans;
    VantorGL::cPassTimer& passTimer;
    bool toldDropped = false;
    std::vector<SceneEntry> scenes;
    Samples all;
    std::vector<double> everyUpdate;
    std::size_t cursor = 0;
    int previousMs = -1;  // demo time of the frame before this one
    int lastMs = 0;
    bool timed = false;
    StartClock::time_point drawStart, lastReport = StartClock::now();
};

// Spans sorted by start, merged where they overlap, so each frame is timed at most once.
std::vector<BenchSpan> Merged(const std::vector<BenchSpan>& sorted) {
    std::vector<BenchSpan> merged;
    for (const BenchSpan& span : sorted) {
        if (!merged.empty() && span.fromMs <= merged.back().toMs)
            merged.back().toMs = std::max(merged.back().toMs, span.toMs);
        else
            merged.push_back(span);
    }
    return merged;
}

}  // namespace

static BenchApplication application;

int main(int argc, char** argv) {
    application.MarkMainStart();
    BenchOptions options;
    std::string error;
    if (!ParseBenchOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenlite-bench: %s\n%s", error.c_str(), kBenchUsage);
        return 2;
    }
    if (options.help) {
        std::printf("quenlite-bench %s, Moravel - Quenlite 2010\n", VantorGL::kQuenliteVersion);
        std::fputs(kBenchUsage, stdout);
        return 0;
    }
    VantorGL::EnterDataFolder("BENCH");
    std::vector<BenchSpan> spans = Merged(options.spans);

    // A benchmark makes no sound unless a driver is asked for.
    if (!std::getenv("SDL_AUDIODRIVER")) SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");

    OfflineDriver driver(application, kFps);
    // The demo's own log goes on being written (it is part of a frame's cost), out of the way.
    std::filesystem::path log =
        std::filesystem::temp_directory_path() / ("quenlite-bench-" + std::to_string(::getpid()) + ".log");
    VantorGL::cDebugSystem::Instance()->Open(log.c_str());

    application.timePasses = options.passes;
    application.demo.registry.boundedPasses = !options.unbounded;
    BenchHooks hooks(driver, spans, options.passes);
    const bool ran = driver.Run(hooks, options.width, options.height);
    std::error_code ignored;
    std::filesystem::remove(log, ignored);
    if (!ran) return 1;
    for (const SceneEntry& entry : hooks.Scenes())
        if (entry.passes.LeftOut() > 0)
            std::fprintf(stderr, "BENCH: %s: %d pass times had no room and are left out\n", entry.row->member,
                         entry.passes.LeftOut());
    BenchResults results;
    results.width = options.width;
    results.height = options.height;
    results.renderer = application.renderer;
    results.glVersion = application.glVersion;
    results.startUp = application.Split();
    results.passesTimed = application.PassesTimed();
    results.scenes = &hooks.Scenes();
    results.all = &hooks.All();
    results.everyUpdate = &hooks.EveryUpdate();
    if (options.json)
        PrintBenchJson(results);
    else
        PrintBenchTable(results);
    return 0;
}
