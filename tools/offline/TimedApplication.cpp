// TimedApplication: stopwatches around the start-up hooks and the frame update.
#include "offline/TimedApplication.h"

void TimedApplication::MarkMainStart() {
    mainStart = StartClock::now();
    beforeMainMs = MillisecondsSinceProcessStart();
}

bool TimedApplication::LoadStep() {
    loadStepStart = StartClock::now();
    bool result = Trova01::LoadStep();
    loadStepEnd = StartClock::now();
    return result;
}

bool TimedApplication::InitGL() {
    initStart = StartClock::now();
    demo.SeedRandom(kOfflineRandomSeed);
    bool result = Trova01::InitGL();
    initEnd = StartClock::now();
    return result;
}

bool TimedApplication::UpdateFrame() {
    StartClock::time_point start = StartClock::now();
    if (!framesStarted) {
        framesStarted = true;
        firstFrame = start;
        mainThreadCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);  // the frame loop runs on main
        processCpu = CpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
    }
    bool result = Trova01::UpdateFrame();
    lastUpdateMs = MillisecondsBetween(start, StartClock::now());
    return result;
}

StartUpSplit TimedApplication::Split() const {
    StartUpSplit split;
    if (!framesStarted) return split;
    const VantorGL::cLoadTimes& registry = demo.registry.loadTimes;
    split.beforeMain = beforeMainMs;
    split.window = MillisecondsBetween(mainStart, loadStepStart);
    split.loadingScreen = MillisecondsBetween(loadStepStart, loadStepEnd);
    double init = MillisecondsBetween(initStart, initEnd);
    split.music = registry.music;
    split.textures = registry.textures;
    split.models = registry.models;
    split.fonts = registry.fonts;
    split.shaders = registry.shaders;
    split.targets = registry.targets;
    split.sceneSetUp = init - registry.Total();  // the sequencer's Init beyond the registry
    split.total = beforeMainMs + MillisecondsBetween(mainStart, firstFrame);
    split.other = split.total - (beforeMainMs + split.window + split.loadingScreen + init);
    split.mainThreadCpu = mainThreadCpu;
    split.processCpu = processCpu;
    return split;
}

void TimedApplication::ReportStartUp(std::FILE* out, const char* module) const {
    if (!framesStarted) return;
    StartUpSplit s = Split();
    std::fprintf(out, "%s: start-up %.0f ms from process start to the first frame\n", module, s.total);
    std::fprintf(out,
                 "%s:   before main %.0f, window %.0f, loading screen %.0f, music %.0f, textures %.0f, "
                 "models %.0f, fonts %.0f, shaders %.0f, targets %.0f, scene set-up %.0f, other %.0f (ms)\n",
                 module, s.beforeMain, s.window, s.loadingScreen, s.music, s.textures, s.models, s.fonts, s.shaders,
                 s.targets, s.sceneSetUp, s.other);
    // Wall time grows when other programs share the cores; CPU time does not.
    std::fprintf(out, "%s:   CPU to the first frame: main thread %.0f ms, whole process %.0f ms\n", module,
                 s.mainThreadCpu, s.processCpu);
}
