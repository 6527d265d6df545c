// cStudioOverlay: the studio's Dear ImGui overlay over the demo frame: the timeline bar (every
// scene window as a labelled span, the play head and the loop span; click or drag to seek), the
// demo time as m:ss.fff and as the demo's own time code, the active scenes with their local
// times, bins 0 and 15 of the spectrum over the last seconds against the scenes' beat levels
// with the beats they took, and the frame's passes with their GPU times.
#pragma once

#include "StudioScope.h"
#include "StudioTransport.h"

#include "render/PassTimer.h"
#include "shell/ImGuiWindowContext.h"

#include <imgui.h>

struct SDL_Window;
union SDL_Event;

namespace QuenliteStudio {

// A scene that takes beats from bin 0 above its level, as the overlay names and draws it.
struct sStudioBeatWatch {
    const char* label = "";
    double level = 0;
};

struct sStudioPasses {
    bool supported = false;  // the context can time passes (timer queries)
    bool timed = false;      // the last frame made was timed
    int count = 0;
    const char* names[VantorGL::cPassTimer::kMaxPasses] = {};
    double ms[VantorGL::cPassTimer::kMaxPasses] = {};
};

struct sStudioScene {
    const char* label = "";
    int localMs = 0;  // demo time less the window's start
};

// Everything the overlay shows of one frame, filled by the studio.
struct sStudioView {
    int shownMs = 0;
    bool playing = false, sound = false;
    bool soundAvailable = false;  // a soundtrack and a device to play it on
    double speed = 1;
    bool looping = false, loopSpan = false;
    int loopStartMs = -1, loopEndMs = -1;
    sStudioScene active[16];
    int activeCount = 0;
    const cStudioScope* scope = nullptr;
    const sStudioBeatWatch* watches = nullptr;
    int watchCount = 0;
    const sStudioPasses* passes = nullptr;
    double frameMs = 0, updateMs = 0;
    double replayMs = 0, replayDrawMs = 0;  // the last seek's replay, and its drawn frames' share
    int replayDrawn = 0;
    const char* reload = "";   // what the last reload of data files loaded; empty before the first
    const char* refused = "";  // what the last reload refused; empty when nothing
    double reloadMs = 0, reloadReplayMs = 0;  // its loading, and the replay after it (0 until done)
};

class cStudioOverlay {
public:
    cStudioOverlay() = default;
    ~cStudioOverlay() { Close(); }
    cStudioOverlay(const cStudioOverlay&) = delete;
    cStudioOverlay& operator=(const cStudioOverlay&) = delete;

    // Starts Dear ImGui on the window's current GL context; false (with a STUDIO line) when it
    // cannot, and the studio goes on without an overlay.
    bool Open(SDL_Window* window);
    void Close();
    bool IsOpen() const { return imgui.IsOpen(); }
    void ProcessEvent(const SDL_Event& event);
    // Draws the overlay over the back buffer as it is. A seek asked on the timeline bar goes to
    // `transport`. Leaves the GL state it found (the backend saves and restores it).
    void Draw(const sStudioView& view, cStudioTransport& transport);

private:
    void DrawStatusPanel(const sStudioView& view);
    void DrawPassPanel(const sStudioPasses& passes, ImVec2 display);
    void DrawTimelinePanel(const sStudioView& view, cStudioTransport& transport, ImVec2 display);
    void DrawTimeline(const sStudioView& view, cStudioTransport& transport, float width);
    void DrawSpectrum(const sStudioView& view, float width);

    VantorGL::cImGuiWindowContext imgui;
    SDL_Window* window = nullptr;
    ImVec2 points[cStudioScope::kSamples];  // one curve of the plot, made each frame
};

}  // namespace QuenliteStudio
