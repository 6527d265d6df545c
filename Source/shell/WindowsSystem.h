// cWindowsSystem: the window, its OpenGL context, the key table and the frame loop, on SDL2.
// It fixes the order of a whole run (Run) and lets the application fill in the loading step,
// the post-loading set-up and the per-frame update and drawing through virtual hooks.
//
// Quick manual:
//   - configure width/height/bits/planes/title/fullscreen with the setters, then Run();
//   - Run: CreateRenderWindow, [ShowSettings: the dialog inside that window, then the window is
//     built again with the chosen values], LoadStep+swap while loading, InitGL, show,
//     MessageLoop, DestroyRenderWindow;
//   - one frame: UpdateFrame, clock Tick, DrawFrame (false ends the loop), swap;
//   - Escape (virtual key 27) ends at a frame while active, closing the window ends through the
//     quit event, F1 (112) switches fullscreen and windowed keeping the context and everything
//     created in it.
#pragma once

#include "render/FatalError.h"
#include "shell/SettingsDialog.h"

#include <cstdint>

struct SDL_Window;
union SDL_Event;

namespace VantorGL {

// Virtual-key codes the loop acts on.
constexpr int kKeyEscape = 27;
constexpr int kKeyF1 = 112;

// Maps an SDL key code to the virtual-key code the key table is indexed by (-1: not tracked).
int VirtualKeyFromSdl(std::int32_t sdlKey);

// A seam for programs that drive the loop offline (capture, bench): called around each frame.
class cFrameHooks {
public:
    virtual ~cFrameHooks() = default;
    virtual void BeforeTick() {}              // after UpdateFrame, before the clock ticks
    virtual bool ShouldDraw() { return true; }  // false: skip DrawFrame and the swap
    virtual void AfterDraw() {}               // after DrawFrame, before the swap
    virtual bool ShouldStop() { return false; }
};

class cWindowsSystem {
public:
    cWindowsSystem() = default;
    cWindowsSystem(const cWindowsSystem&) = delete;
    cWindowsSystem& operator=(const cWindowsSystem&) = delete;

    virtual void Release() {}
    // Leaves the window to static destruction as it is (the run has destroyed it); only stops
    // fatal stops from reaching this object.
    virtual ~cWindowsSystem();
    virtual bool InitGL();
    virtual bool LoadStep() { return true; }
    virtual bool UpdateFrame() { return true; }
    virtual bool DrawFrame();
    virtual bool IsDone() { return false; }
    // The settings dialog inside the current window, its result applied; 1 when the viewer chose
    // to exit.
    virtual int ShowSettings();
    virtual int MessageLoop();
    virtual int WindowProc(const SDL_Event& event);

    int Run();
    bool CreateRenderWindow();
    void DestroyRenderWindow();
    void ResizeViewport();
    void SwapBuffers();
    // Switches between fullscreen and windowed in place: the same window and GL context, so
    // every texture, shader, model and target stays alive. False when the switch was refused and
    // the viewer chose to close.
    bool ToggleFullscreen();
    // Applies a settings dialog result: 1 for "exit" (nothing changes); otherwise the resolution
    // sets width and height, the box sets fullscreen, "No AA" clears antiAliasing and asks for
    // no multisampling, the other levels set it and ask for their sample count; an index outside
    // its list leaves its values as they were. Returns 0.
    int ApplySettings(const SettingsResult& result);

    // Setters used by the entry point before Run.
    void SetTitle(const char* text) { title = text; }
    void SetSize(int w, int h) { width = w; height = h; }
    void SetPlanes(float nearDistance, float farDistance) { nearPlane = nearDistance; farPlane = farDistance; }
    void SetBits(int colourBits) { bits = colourBits; }
    void SetFullscreen(bool on) { fullscreen = on; }
    void SetShowSettings(bool on) { showSettings = on; }
    void SetAntiAliasing(bool on) { antiAliasing = on; }
    // The multisample count the window asks for first (fewer when the driver refuses it).
    void SetSamples(int samples) { samplesWanted = samples > 0 ? samples : 0; }
    void SetActive(bool on) { active = on; }
    void SetKey(int virtualKey, bool down) { if (virtualKey >= 0 && virtualKey < 256) keys[virtualKey] = down; }
    bool Key(int virtualKey) const { return virtualKey >= 0 && virtualKey < 256 && keys[virtualKey]; }

    // Offline programs (capture, bench, tests) accept SDL's offscreen driver; the demo itself
    // treats it as "no display" and stops with a message.
    void AllowHeadless(bool on) { headlessAllowed = on; }
    void SetFrameHooks(cFrameHooks* hooks) { frameHooks = hooks; }
    // True when Run ended because no window could be made (the entry point exits non-zero).
    bool WindowFailed() const { return windowFailed; }
    SDL_Window* Window() const { return window; }
    int Width() const { return width; }
    int Height() const { return height; }
    bool IsFullscreen() const { return fullscreen; }
    int Samples() const { return multisampleFormat; }
    int SamplesWanted() const { return samplesWanted; }
    bool AntiAliasing() const { return antiAliasing; }

protected:
    // Platform seams of the fullscreen switch (tests replace them). SetFullscreenDisplayMode
    // gives the window the mode width x height at `bits`, or before the window exists only
    // checks that the display has it; false when the display refuses. AskUseWindowed puts "The
    // Requested Fullscreen Mode Is Not Supported ..." to the viewer: true for Yes.
    virtual bool SetFullscreenDisplayMode();
    virtual bool AskUseWindowed();

    SDL_Window* window = nullptr;
    void* renderContext = nullptr;
    bool keys[256] = {};
    bool active = true;
    bool fullscreen = true;
    float farPlane = 10000.0f;
    float nearPlane = 1.0f;
    int width = 800;
    int height = 600;
    int bits = 32;
    const char* title = "Do a object.SetTitle(char *name)";
    bool showSettings = true;
    bool loading = true;
    bool multisampleSupported = false;
    int multisampleFormat = 0;  // samples of the multisample format granted, 0 if none
    bool antiAliasing = true;
    // Where the multisample search starts: 4, then 2, whatever antiAliasing says, unless the
    // settings dialog's level names its own count.
    int samplesWanted = 4;
    SettingsDialog settingsDialog;  // one per process: keeps its result from one showing to the next

private:
    // What a fatal stop asks of the window while one exists: leave fullscreen (display mode
    // back, cursor shown) so the message box shows over the window, then tear everything down.
    class cFatalStopDisplay final : public cFatalErrorDisplay {
    public:
        explicit cFatalStopDisplay(cWindowsSystem& owner) : owner(owner) {}
        SDL_Window* LeaveFullscreenForMessage() override;
        void TearDownForExit() override { owner.DestroyRenderWindow(); }

    private:
        cWindowsSystem& owner;
    };

    bool ApplyFullscreenMode();
    bool TryCreate(int samples);

    bool videoStarted = false;
    bool headlessAllowed = false;
    bool windowFailed = false;
    bool quit = false;
    // A key pressed and released within one drain of the event queue (a quick tap while a slow
    // frame was drawn) stays down for the next frame, so the frame still sees it. The loop's first
    // drain holds what happened during loading: a tap made then is over, and only a key still
    // held counts at the first frame, so that drain latches nothing.
    bool latchTaps = false;
    bool pressedThisDrain[256] = {};
    bool releaseAfterFrame[256] = {};
    cFrameHooks* frameHooks = nullptr;
    cFatalStopDisplay fatalStopDisplay{*this};
};

}  // namespace VantorGL
