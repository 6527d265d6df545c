// cStudio: the demo's application object under the studio's own frame loop. Demo time comes
// from a fixed-step counter the studio sets each frame (from the steady clock while playing,
// by whole steps while stepping, replayed from 0:00 for a seek), so every frame it shows is
// one the capture tool would make at that time. The music plays through a voice of its own,
// restarted at the shown time's sample whenever the picture jumps.
//
// Quick manual:
//   - construct with the options, then Run() as any application (window, loading, InitGL,
//     MessageLoop);
//   - one studio frame: events and the script's command, the transport's NextFrame (hold,
//     replay, step, play), the demo frame kept in a texture (or the kept one drawn again, for
//     a few loops after anything happened: a held window otherwise keeps its picture), F12
//     from the picture as it is then, the overlay on top, swap;
//   - the sequencer's pictures never see the overlay: it is drawn after the frame is kept;
//   - data files that change on disk (or all of them, F5) are loaded again in place between
//     frames, and a replay to the time shown follows, as for a seek.
#pragma once

#include "StudioDataWatch.h"
#include "StudioKeptFrame.h"
#include "StudioOptions.h"
#include "StudioOverlay.h"
#include "StudioScope.h"
#include "StudioScript.h"
#include "StudioTransport.h"
#include "StudioVoice.h"

#include "offline/FrameWriter.h"
#include "offline/TimedApplication.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace QuenliteStudio {

class cStudio final : public TimedApplication {
public:
    // `startedIn`: the folder F12 and the script's screens write into (the studio itself moves
    // into the data folder).
    cStudio(const StudioOptions& options, std::string startedIn);
    ~cStudio() override;

    bool InitGL() override;
    int MessageLoop() override;
    void Release() override;

private:
    void HandleEvent(const SDL_Event& event);
    void HandleKey(int key, bool shift);
    void RunScriptCommand();
    // The frames of a straight play from 0:00 at the fixed step up to `targetMs`, updated only,
    // the last few drawn, exactly as the capture tool plays them.
    void Replay(int targetMs);
    // One frame of the frame loop's order: update, the counter set to `nextTicks`, tick, draw.
    void DemoFrame(std::int64_t nextTicks, bool timed);
    // UpdateFrame with the beats the scenes took in it and its spectrum put on the scope.
    void UpdateWatched();
    void ResizeKept();
    void WriteShot();
    void WriteScreen(const std::string& path);
    void PrintStatus();
    // Starts, stops or moves the voice after a frame; `jumped`: the picture did not follow on.
    void FollowWithSound(bool jumped);
    std::int64_t MusicFrameAtCounter();
    void FillView(sStudioView& view) const;
    // Loads `rows` again (the music's voice let go of its stream meanwhile), says what came of
    // it on stdout and in the overlay, and replays to the time shown.
    void ReloadData(const std::vector<const VantorGL::cDataFile*>& rows);

    StudioOptions options;
    std::string startedIn;
    VantorGL::cFixedStepCounter counter;
    cStudioTransport transport;
    cStudioScope scope;
    cStudioOverlay overlay;
    cStudioScript script;
    FrameWriter writer;
    bool overlayShown = true;
    bool shotWanted = false;
    std::string screenPath;  // the script's screen: the window with the overlay, this frame
    bool quitWanted = false;
    bool fresh = true;  // the timeline is as Init left it: a replay needs no Restart first

    // The last demo frame, kept for the frames that hold it (paused) and for F12.
    cStudioKeptFrame kept;
    // A held frame is drawn again only while it may look different: for this many loops after an
    // event, a script command, a new demo frame or a reload (the overlay settles over a few
    // frames). Otherwise the window keeps its picture and the studio sleeps in its wait.
    static constexpr int kHeldRedraws = 3;
    int heldRedraws = kHeldRedraws;

    // The soundtrack's own voice; it plays while the studio plays at normal speed.
    cStudioVoice voice;

    // The scenes whose beats the scope marks, and how the overlay names them.
    static constexpr int kWatchedScenes = 6;
    struct sWatchedScene {
        const VantorGL::cSceneSystem* scene = nullptr;
        const float* cooldown = nullptr;  // its beatCooldown
        const char* member = "";          // its row of the timeline
        double level = 0;                 // bin 0 above this is a beat
    };
    std::array<sWatchedScene, kWatchedScenes> watched;
    sStudioBeatWatch watches[kWatchedScenes];

    // The data folder's watch, and what the last reload did: the files it loaded, its own time
    // and the time of the replay after it (filled when that replay is done), the files refused.
    cStudioDataWatch dataWatch;
    int reloads = 0;
    std::string reloadText, refusedText;
    double reloadMs = 0.0, reloadReplayMs = 0.0;
    bool reloadReplayPending = false;
    // The script's waitreload: steady time it gives up at (0: not waiting), reloads before it.
    std::int64_t awaitReloadUntilNs = 0;
    int reloadsBeforeAwait = 0;

    // What the overlay shows of the latest frames.
    double frameMs = 0.0;
    int replays = 0;  // seeks made, loop wraps included
    long long framesShown = 0;  // windows presented
    double replayMs = 0.0, replayDrawMs = 0.0;  // the last one, and the part of it spent drawing
    int replayDrawnFrames = 0;
    sStudioPasses passes;
};

}  // namespace QuenliteStudio
