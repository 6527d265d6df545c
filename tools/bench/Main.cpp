// quenlite-bench: the demo's frame-time benchmark. It plays the demo offline (OfflineDriver: the
// real application object and Run sequence, headless, with a fixed 30 fps clock), updating every
// frame from demo time 0, and draws only the chosen frames (plus three warm-up frames before each
// run of them). Each chosen frame's draw is timed with glFinish on both sides, so the GPU's work
// counts, and charged to every scene of the timeline active at that demo time; the update is
// timed on its own. With --passes each named pass of a timed frame is also timed on the GPU
// (the registry's pass timer) and charged the same way, by scene and pass name.
#include "BenchOptions.h"
#include "PassSamples.h"

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

constexpr int kFps = kOfflineFps;
// Every frame of the demo at kFps, with room for the clock's rounding: the most any list holds.
constexpr int kMaxFrames = VantorGL::kDemoEndMs / 1000 * kFps + 2 * kFps;

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

// Milliseconds of the timed frames, fixed capacity (nothing grows while the demo plays).
struct Samples {
    Samples() {
        draw.reserve(kMaxFrames);
        update.reserve(kMaxFrames);
    }
    void Add(double drawMs, double updateMs) {
        if (int(draw.size()) >= kMaxFrames) return;
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
        int warmUntil = now + OfflineWarmMs(kFps);
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

struct Summary {
    int frames = 0;
    double min = 0, median = 0, p95 = 0, updateMedian = 0;
    double total = 0;  // the timed frames' draw times added up
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    if (n == 0) return 0.0;
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// Nearest rank: the smallest value at or above 95 % of the samples.
double Percentile95(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    std::size_t rank = std::size_t(std::ceil(0.95 * double(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

Summary Summarise(const Samples& samples) {
    Summary s;
    s.frames = int(samples.draw.size());
    if (s.frames == 0) return s;
    s.min = *std::min_element(samples.draw.begin(), samples.draw.end());
    s.median = Median(samples.draw);
    s.p95 = Percentile95(samples.draw);
    for (double ms : samples.draw) s.total += ms;
    s.updateMedian = Median(samples.update);
    return s;
}

// The sum of a scene's pass medians: the part of its frame median the named passes account for.
double PassMedianSum(const PassSamples& passes) {
    double sum = 0.0;
    for (int i = 0; i < passes.Count(); ++i) sum += Median(passes.Pass(i).milliseconds);
    return sum;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

void PrintJsonSummary(const Summary& s) {
    if (s.frames == 0) {
        std::printf("{\"frames\": 0, \"min\": null, \"median\": null, \"p95\": null, \"updateMedian\": null, "
                    "\"total\": 0}");
        return;
    }
    std::printf("{\"frames\": %d, \"min\": %.3f, \"median\": %.3f, \"p95\": %.3f, \"updateMedian\": %.3f, "
                "\"total\": %.3f}",
                s.frames, s.min, s.median, s.p95, s.updateMedian, s.total);
}

// "passes": the sum of the pass medians and its share of the frame median, then each pass (name,
// frames that ran it, median, share), in the order they first ran. Shares are fractions.
void PrintJsonPasses(const PassSamples& passes, const Summary& draw) {
    if (draw.frames == 0 || passes.Count() == 0) {
        std::printf(", \"passes\": {\"sum\": null, \"share\": null, \"each\": []}");
        return;
    }
    auto share = [&](double ms) { return draw.median > 0.0 ? ms / draw.median : 0.0; };
    const double sum = PassMedianSum(passes);
    std::printf(", \"passes\": {\"sum\": %.3f, \"share\": %.4f, \"each\": [", sum, share(sum));
    for (int i = 0; i < passes.Count(); ++i) {
        const PassSamples::sPass& pass = passes.Pass(i);
        const double median = Median(pass.milliseconds);
        std::printf("%s{\"name\": %s, \"frames\": %zu, \"median\": %.3f, \"share\": %.4f}", i ? ", " : "",
                    JsonString(pass.name).c_str(), pass.milliseconds.size(), median, share(median));
    }
    std::printf("]}");
}

void PrintJson(const BenchOptions& options, const BenchApplication& app, const BenchHooks& hooks) {
    StartUpSplit s = app.Split();
    std::printf("{\n  \"size\": [%d, %d], \"fps\": %d,\n", options.width, options.height, kFps);
    std::printf("  \"renderer\": %s, \"glVersion\": %s,\n", JsonString(app.renderer).c_str(),
                JsonString(app.glVersion).c_str());
    std::printf("  \"unit\": \"ms\",\n");
    std::printf(
        "  \"startUp\": {\"total\": %.1f, \"beforeMain\": %.1f, \"window\": %.1f, \"loadingScreen\": %.1f, "
        "\"music\": %.1f, \"textures\": %.1f, \"models\": %.1f, \"fonts\": %.1f, \"shaders\": %.1f, "
        "\"targets\": %.1f, \"sceneSetUp\": %.1f, \"other\": %.1f, \"mainThreadCpu\": %.1f, \"processCpu\": %.1f},\n",
        s.total, s.beforeMain, s.window, s.loadingScreen, s.music, s.textures, s.models, s.fonts, s.shaders,
        s.targets, s.sceneSetUp, s.other, s.mainThreadCpu, s.processCpu);
    const std::vector<double>& every = hooks.EveryUpdate();
    std::printf("  \"updateEveryFrame\": {\"frames\": %zu, \"median\": %.3f, \"p95\": %.3f},\n", every.size(),
                Median(every), Percentile95(every));
    std::printf("  \"scenes\": [\n");
    const std::vector<SceneEntry>& scenes = hooks.Scenes();
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const Summary draw = Summarise(scenes[i].samples);
        std::printf("    {\"name\": %s, \"draw\": ", JsonString(scenes[i].row->member).c_str());
        PrintJsonSummary(draw);
        std::printf(", \"label\": %s", JsonString(scenes[i].row->label).c_str());
        if (app.PassesTimed()) PrintJsonPasses(scenes[i].passes, draw);
        std::printf("}%s\n", i + 1 < scenes.size() ? "," : "");
    }
    std::printf("  ],\n  \"all\": ");
    PrintJsonSummary(Summarise(hooks.All()));
    std::printf("\n}\n");
}

// Per scene, each pass's GPU median and its share of the scene's frame median, then their sum.
void PrintPassTable(const BenchHooks& hooks) {
    std::printf("\npasses: GPU time by timer queries, median over the frames that ran each pass; share of the "
                "scene's frame median\n");
    std::printf("%-16s %-18s %6s %9s %8s\n", "scene", "pass", "frames", "median", "share");
    for (const SceneEntry& entry : hooks.Scenes()) {
        const Summary draw = Summarise(entry.samples);
        const PassSamples& passes = entry.passes;
        if (draw.frames == 0 || passes.Count() == 0) continue;
        auto percent = [&](double ms) { return draw.median > 0.0 ? 100.0 * ms / draw.median : 0.0; };
        for (int i = 0; i < passes.Count(); ++i) {
            const PassSamples::sPass& pass = passes.Pass(i);
            const double median = Median(pass.milliseconds);
            std::printf("%-16s %-18s %6zu %9.2f %7.1f%%\n", i == 0 ? entry.row->member : "", pass.name,
                        pass.milliseconds.size(), median, percent(median));
        }
        const double sum = PassMedianSum(passes);
        std::printf("%-16s %-18s %6s %9.2f %7.1f%%  of the frame median %.2f ms\n", "", "sum of passes", "", sum,
                    percent(sum), draw.median);
    }
}

void PrintTable(const BenchOptions& options, const BenchApplication& app, const BenchHooks& hooks) {
    std::printf("quenlite-bench: %dx%d, fixed step %d fps, %d frames timed (draw + glFinish), %zu updated\n",
                options.width, options.height, kFps, int(hooks.All().draw.size()), hooks.EveryUpdate().size());
    std::printf("renderer: %s; OpenGL %s\n", app.renderer.c_str(), app.glVersion.c_str());
    StartUpSplit s = app.Split();
    std::printf("start-up: %.0f ms from process start to the first frame\n", s.total);
    std::printf("  before main %.0f, window %.0f, loading screen %.0f, music %.0f, textures %.0f, models %.0f, "
                "fonts %.0f, shaders %.0f, targets %.0f, scene set-up %.0f, other %.0f (ms)\n",
                s.beforeMain, s.window, s.loadingScreen, s.music, s.textures, s.models, s.fonts, s.shaders, s.targets,
                s.sceneSetUp, s.other);
    // Wall time grows when other programs share the cores; CPU time does not.
    std::printf("  CPU to the first frame: main thread %.0f ms, whole process %.0f ms\n", s.mainThreadCpu,
                s.processCpu);
    const std::vector<double>& every = hooks.EveryUpdate();
    std::printf("update, every frame: median %.3f ms, 95th %.3f ms\n\n", Median(every), Percentile95(every));
    std::printf("%-16s %6s %9s %9s %9s %12s\n", "scene", "frames", "min ms", "median", "95th", "update med");
    auto row = [](const char* name, const Summary& s) {
        if (s.frames == 0) {
            std::printf("%-16s %6d %9s %9s %9s %12s\n", name, 0, "-", "-", "-", "-");
            return;
        }
        std::printf("%-16s %6d %9.2f %9.2f %9.2f %12.3f\n", name, s.frames, s.min, s.median, s.p95, s.updateMedian);
    };
    for (const SceneEntry& entry : hooks.Scenes()) row(entry.row->member, Summarise(entry.samples));
    const Summary all = Summarise(hooks.All());
    row("all", all);
    std::printf("draw time of the timed frames added up: %.1f ms\n", all.total);
    if (app.PassesTimed()) PrintPassTable(hooks);
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
    if (options.json)
        PrintJson(options, application, hooks);
    else
        PrintTable(options, application, hooks);
    return 0;
}
