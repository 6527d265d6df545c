// cStudio: the studio's frame loop, replays, input, F12 and what the overlay shows.
#include "Studio.h"

#include "offline/OfflineClock.h"
#include "offline/ToolArguments.h"
#include "shell/Console.h"
#include "timeline/DemoScene.h"
#include "timeline/TimeCode.h"
#include "timeline/Timeline.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace QuenliteStudio {

namespace {

// The plot and the overlay read bins 0 and 15 (what the scenes read for beats and glow).
constexpr int kBeatBin = 0;
constexpr int kGlowBin = 15;

// The longest the script's waitreload waits for a changed file.
constexpr int kAwaitReloadSeconds = 30;

std::int64_t SteadyNs() { return VantorGL::cAudioDevice::SteadyNowNs(); }

double MsSince(std::int64_t fromNs) { return double(SteadyNs() - fromNs) / 1e6; }

}  // namespace

cStudio::cStudio(const StudioOptions& chosen, std::string folder)
    : options(chosen),
      startedIn(std::move(folder)),
      counter(kOfflineFps),
      transport(kOfflineFps, VantorGL::kDemoEndMs) {
    VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
    // The scenes that take beats from spectrum bin 0, in time order. A scene's cooldown rises
    // only in the update where it takes a beat (it counts down by the frame's delta otherwise).
    auto watch = [&](const auto& scene) -> sWatchedScene {
        return {&scene, &scene.beatCooldown, demo.MemberName(&scene), scene.kBeatLevel};
    };
    watched = {watch(demo.selvoHills),      watch(demo.tavikIsleFirst), watch(demo.route21First),
               watch(demo.tavikIsleSecond), watch(demo.route21Second),  watch(demo.pelkAirport)};
    for (int i = 0; i < kWatchedScenes; ++i)
        watches[i] = {VantorGL::FindTimelineRow(watched[i].member)->label, watched[i].level};
}

cStudio::~cStudio() { VantorGL::cTimeSystem::Instance()->UseCounter(nullptr); }

bool cStudio::InitGL() {
    TimedApplication::InitGL();
    passes.supported = VantorGL::cPassTimer::Supported() && demo.registry.passTimer.Enable();
    if (!overlay.Open(window)) overlayShown = false;
    voice.Attach(demo.registry.music.Stream());
    ResizeKept();
    std::string error;
    script.Parse(options.script, error);  // checked with the command line
    if (options.fromMs > 0) transport.SeekTo(options.fromMs);
    dataWatch.Start();
    transport.SetPlaying(true);
    return true;
}

void cStudio::Release() {
    voice.Detach();
    overlay.Close();
    demo.registry.passTimer.Release();
    kept.Release();
}

// --- input -----------------------------------------------------------------------------------

void cStudio::HandleEvent(const SDL_Event& event) {
    overlay.ProcessEvent(event);
    if (event.type == SDL_KEYDOWN) {
        HandleKey(event.key.keysym.sym, (event.key.keysym.mod & KMOD_SHIFT) != 0);
        return;
    }
    if (event.type == SDL_KEYUP) return;
    WindowProc(event);  // quit, minimise, resize
    if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
        quitWanted = true;
}

void cStudio::HandleKey(int key, bool shift) {
    const int second = shift ? 10000 : 1000;
    switch (key) {
        case SDLK_SPACE: transport.TogglePlay(); break;
        case SDLK_LEFT: transport.SeekBy(-second); break;
        case SDLK_RIGHT: transport.SeekBy(second); break;
        case SDLK_HOME: transport.SeekTo(0); break;
        case SDLK_COMMA: transport.StepBack(); break;
        case SDLK_PERIOD: transport.StepForward(); break;
        case SDLK_LEFTBRACKET: transport.MarkLoopStart(); break;
        case SDLK_RIGHTBRACKET: transport.MarkLoopEnd(); break;
        case SDLK_l: transport.ToggleLoop(); break;
        case SDLK_UP: transport.Faster(); break;
        case SDLK_DOWN: transport.Slower(); break;
        case SDLK_TAB: overlayShown = !overlayShown && overlay.IsOpen(); break;
        case SDLK_F5:
            ReloadData(cStudioDataWatch::ReloadableRows());
            dataWatch.TakeAsLoaded();
            break;
        case SDLK_F12: shotWanted = true; break;
        case SDLK_ESCAPE: quitWanted = true; break;
        case SDLK_F1:
            if (!ToggleFullscreen()) quitWanted = true;
            break;
        default:
            if (key >= SDLK_1 && key <= SDLK_9 && std::size_t(key - SDLK_1) < VantorGL::kTimelineRows)
                transport.SeekTo(VantorGL::TimelineByStart()[key - SDLK_1].startMs);
            break;
    }
}

void cStudio::RunScriptCommand() {
    if (awaitReloadUntilNs != 0) {
        if (reloads == reloadsBeforeAwait && SteadyNs() < awaitReloadUntilNs) return;
        if (reloads == reloadsBeforeAwait)
            VantorGL::ConsolePrint("STUDIO", "waitreload: no data file changed in %d s", kAwaitReloadSeconds);
        awaitReloadUntilNs = 0;
    }
    const sStudioCommand* command = script.Next();
    if (!command) return;
    heldRedraws = kHeldRedraws;
    switch (command->kind) {
        case sStudioCommand::eKind::Key: HandleKey(command->key, command->shift); break;
        case sStudioCommand::eKind::Seek: transport.SeekTo(command->value); break;
        case sStudioCommand::eKind::Screen: screenPath = command->path; break;
        case sStudioCommand::eKind::Status: PrintStatus(); break;
        case sStudioCommand::eKind::Quit: quitWanted = true; break;
        case sStudioCommand::eKind::Wait: break;
        case sStudioCommand::eKind::WaitReload:
            reloadsBeforeAwait = reloads;
            awaitReloadUntilNs = SteadyNs() + std::int64_t(kAwaitReloadSeconds) * 1'000'000'000;
            break;
    }
}

// --- frames ----------------------------------------------------------------------------------

void cStudio::UpdateWatched() {
    float before[kWatchedScenes];
    for (int i = 0; i < kWatchedScenes; ++i) before[i] = *watched[i].cooldown;
    UpdateFrame();
    const int ms = demo.timer.elapsed;
    for (int i = 0; i < kWatchedScenes; ++i)
        if (watched[i].scene->IsActive() && *watched[i].cooldown > before[i]) scope.AddBeat(ms, i);
    scope.AddSample(ms, demo.registry.music.SpectrumValue(kBeatBin), demo.registry.music.SpectrumValue(kGlowBin));
}

void cStudio::Replay(int targetMs) {
    const std::int64_t start = SteadyNs();
    if (!fresh) {
        counter.SetTicks(0);
        RestartDemo();
    }
    fresh = false;
    scope.Clear();
    VantorGL::cTimeSystem* clock = VantorGL::cTimeSystem::Instance();
    const int warm = OfflineWarmMs(kOfflineFps, demo.FramesOfHistoryAt(targetMs));
    replayDrawnFrames = 0;
    replayDrawMs = 0.0;
    for (;;) {
        UpdateWatched();
        const int now = demo.timer.elapsed;
        StepToward(counter, now, targetMs);
        clock->Tick();
        if (now >= targetMs - warm) {
            const std::int64_t drawStart = SteadyNs();
            DrawFrame();
            glFinish();  // so the split below says where the time went
            replayDrawMs += MsSince(drawStart);
            ++replayDrawnFrames;
        }
        if (now >= targetMs) break;
    }
    replayMs = MsSince(start);
    ++replays;
    if (reloadReplayPending) {
        reloadReplayPending = false;
        reloadReplayMs = replayMs;
        std::printf("STUDIO: %s in %.0f ms, then replayed in %.0f ms\n", reloadText.c_str(), reloadMs, replayMs);
        std::fflush(stdout);
    }
    passes.timed = false;
}

void cStudio::DemoFrame(std::int64_t nextTicks, bool timed) {
    fresh = false;
    UpdateWatched();
    counter.SetTicks(nextTicks);
    VantorGL::cTimeSystem::Instance()->Tick();
    VantorGL::cPassTimer& timer = demo.registry.passTimer;
    timed = timed && timer.Enabled();
    if (timed) timer.BeginFrame();
    DrawFrame();
    if (!timed) {
        passes.timed = false;
        return;
    }
    glFinish();
    timer.Collect();
    passes.timed = true;
    passes.count = timer.Passes();
    for (int i = 0; i < passes.count; ++i) {
        passes.names[i] = timer.Name(i);
        passes.ms[i] = timer.Milliseconds(i);
    }
}

// The kept frame follows the drawable's size.
void cStudio::ResizeKept() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    if (kept.Fits(w, h)) return;
    // A new size loses the kept picture: while paused the frame shown is made again at it.
    if (kept.Made() && !transport.Playing()) transport.SeekTo(transport.Target());
    kept.Resize(w, h);
    writer.Resize(w, h);
}

std::int64_t cStudio::MusicFrameAtCounter() {
    // The sequencer's music started at clock zero; the counter holds the next frame's time.
    return counter.Read() * VantorGL::cAudioDevice::kRate / (std::int64_t(kOfflineFps) * 1000);
}

void cStudio::FollowWithSound(bool jumped) {
    // Silent through a loop's wrap too: the replay that follows takes its own time.
    const bool wanted = transport.Playing() && transport.SpeedIndex() == kNormalSpeed &&
                        transport.NextFrame() != eStudioFrame::Seek;
    voice.Follow(wanted, jumped, MusicFrameAtCounter());
}

// --- pictures out ----------------------------------------------------------------------------

void cStudio::WriteShot() {
    char name[40];
    std::snprintf(name, sizeof name, "quenlite-%06dms.png", transport.ShownMs());
    std::filesystem::path folder(options.shots.empty() ? startedIn : options.shots);
    if (folder.is_relative()) folder = std::filesystem::path(startedIn) / folder;
    const std::string path = (folder / name).string();
    if (writer.Write(path)) VantorGL::ConsolePrint("STUDIO", "wrote %s", path.c_str());
}

void cStudio::WriteScreen(const std::string& file) {
    std::filesystem::path path(file);
    if (path.is_relative()) path = std::filesystem::path(startedIn) / path;
    if (writer.Write(path.string())) VantorGL::ConsolePrint("STUDIO", "wrote %s", path.c_str());
}

void cStudio::PrintStatus() {
    char clock[24], code[24];
    FormatToolTime(transport.ShownMs(), clock, sizeof clock);
    VantorGL::FormatTimeCode(transport.ShownMs(), code, sizeof code);
    const long long music = voice.MixedFrames();
    char from[24] = "-", to[24] = "-";
    if (transport.LoopStartMs() >= 0) FormatToolTime(transport.LoopStartMs(), from, sizeof from);
    if (transport.LoopEndMs() >= 0) FormatToolTime(transport.LoopEndMs(), to, sizeof to);
    std::printf("STUDIO: %s (time code \"%s\") %s at %gx, music %s at frame %lld, loop %s (span %s to %s), "
                "%d replays (the last %.0f ms, %d frames drawn in %.0f ms), %lld frames shown\n",
                clock, code, transport.Playing() ? "playing" : "paused", transport.Speed(),
                voice.Playing() ? "playing" : "stopped", music, transport.Looping() ? "on" : "off", from, to, replays,
                replayMs, replayDrawnFrames, replayDrawMs, framesShown);
    std::fflush(stdout);
}

void cStudio::FillView(sStudioView& view) const {
    view.shownMs = transport.ShownMs();
    view.playing = transport.Playing();
    view.sound = voice.Playing();
    view.soundAvailable = voice.Attached();
    view.speed = transport.Speed();
    view.looping = transport.Looping();
    view.loopSpan = transport.HasLoopSpan();
    view.loopStartMs = transport.LoopStartMs();
    view.loopEndMs = transport.LoopEndMs();
    view.activeCount = 0;
    for (std::size_t i = 0; i < VantorGL::kTimelineRows && view.activeCount < 16; ++i) {
        const VantorGL::cSceneSystem* scene = demo.DispatchOrder()[i];
        if (!scene->IsActive()) continue;
        view.active[view.activeCount++] = {VantorGL::kTimeline[i].label, scene->timer.elapsed - scene->timer.start};
    }
    view.scope = &scope;
    view.watches = watches;
    view.watchCount = kWatchedScenes;
    view.passes = &passes;
    view.frameMs = frameMs;
    view.updateMs = LastUpdateMs();
    view.replayMs = replayMs;
    view.replayDrawMs = replayDrawMs;
    view.replayDrawn = replayDrawnFrames;
    view.reload = reloadText.c_str();
    view.refused = refusedText.c_str();
    view.reloadMs = reloadMs;
    view.reloadReplayMs = reloadReplayMs;
}

// --- data ----------------------------------------------------------------------------------

void cStudio::ReloadData(const std::vector<const VantorGL::cDataFile*>& rows) {
    const std::int64_t start = SteadyNs();
    VantorGL::cResources& registry = demo.registry;
    bool music = false;
    for (const VantorGL::cDataFile* row : rows) music = music || row->kind == VantorGL::cDataKind::Music;
    if (music) voice.Detach();  // the mixer reads the stream the reload replaces
    std::vector<std::string> loaded, refused;
    for (const VantorGL::cDataFile* row : rows) {
        std::vector<std::string>& list = registry.Reload(*row) ? loaded : refused;
        const std::string name = VantorGL::PathInDataFolder(row->path);
        if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);  // two members, one file
    }
    // A few names, then a count: F5 loads some sixty files, too many for one line of the overlay.
    auto joined = [](const std::vector<std::string>& names) {
        constexpr std::size_t kNamed = 3;
        std::string text;
        for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) text += (i ? ", " : "") + names[i];
        if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
        return text;
    };
    if (music) voice.Attach(registry.music.Stream());
    const double ms = MsSince(start);
    ++reloads;
    refusedText.clear();
    if (!refused.empty()) {
        refusedText = joined(refused) + " refused (see the console): the previous content stays";
        std::printf("STUDIO: %s\n", refusedText.c_str());
        std::fflush(stdout);
    }
    if (loaded.empty()) return;  // nothing new to show
    reloadMs = ms;
    reloadText = "reloaded " + joined(loaded);
    // The scenes made their own data from the old content at Init: the replay starts over.
    fresh = false;
    reloadReplayPending = true;
    reloadReplayMs = 0.0;
    transport.SeekTo(transport.Target());
}

// --- the loop --------------------------------------------------------------------------------

int cStudio::MessageLoop() {
    SDL_Event event;
    sStudioView view;
    std::int64_t last = SteadyNs();
    while (!quitWanted) {
        // Paused with nothing asked, the studio waits for input instead of spinning.
        const bool idle = transport.NextFrame() == eStudioFrame::Hold && (script.Done() || awaitReloadUntilNs != 0) &&
                          !shotWanted;
        if (idle ? SDL_WaitEventTimeout(&event, 50) : SDL_PollEvent(&event)) {
            HandleEvent(event);
            while (SDL_PollEvent(&event)) HandleEvent(event);
            heldRedraws = kHeldRedraws;
        }
        RunScriptCommand();
        if (quitWanted) break;
        if (dataWatch.Poll(SteadyNs())) {
            ReloadData(dataWatch.Changed());
            heldRedraws = kHeldRedraws;
        }
        if (!active) {  // minimised: nothing is drawn, play time runs on
            SDL_Delay(10);
            continue;
        }
        ResizeKept();

        const eStudioFrame made = transport.NextFrame();
        if (made != eStudioFrame::Hold) {
            heldRedraws = kHeldRedraws;
        } else if (heldRedraws > 0) {
            --heldRedraws;
        } else if (!shotWanted && screenPath.empty()) {
            last = SteadyNs();
            continue;  // nothing to draw anew
        }
        switch (made) {
            case eStudioFrame::Seek: Replay(transport.SeekTarget()); break;
            case eStudioFrame::Step: DemoFrame(transport.StepTicks(counter.Read()), overlayShown); break;
            case eStudioFrame::Play: DemoFrame(transport.PlayTicks(counter.Read(), SteadyNs()), overlayShown); break;
            case eStudioFrame::Hold: kept.Show(); break;
        }
        if (made != eStudioFrame::Hold) kept.Keep();
        transport.Shown(made, demo.timer.elapsed, counter.Read(), SteadyNs());
        FollowWithSound(made == eStudioFrame::Seek || made == eStudioFrame::Step);

        // F12 and the script's screens read the back buffer: the demo's frame alone first, then
        // with the overlay over it.
        if (shotWanted) WriteShot();
        shotWanted = false;
        if (overlayShown) {
            FillView(view);
            overlay.Draw(view, transport);
        }
        if (!screenPath.empty()) WriteScreen(screenPath);
        screenPath.clear();
        SwapBuffers();
        ++framesShown;
        const std::int64_t now = SteadyNs();
        frameMs = double(now - last) / 1e6;
        last = now;
    }
    voice.Stop();
    return 0;
}

}  // namespace QuenliteStudio
