// cWindowsSystem: SDL2 window, GL context, key table and frame loop.
#include "shell/WindowsSystem.h"

#include "shell/Console.h"
#include "shell/MessageBox.h"
#include "shell/Platform.h"
#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cstring>

namespace VantorGL {

int VirtualKeyFromSdl(std::int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return kKeyF1 + (key - SDLK_F1);
    switch (key) {
        case SDLK_ESCAPE: return kKeyEscape;
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN: return 13;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL: case SDLK_RCTRL: return 17;
        case SDLK_LALT: case SDLK_RALT: return 18;
        case SDLK_SPACE: return 32;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        default: return -1;
    }
}

cWindowsSystem::~cWindowsSystem() { ClearFatalErrorDisplay(&fatalStopDisplay); }

bool cWindowsSystem::InitGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return true;
}

bool cWindowsSystem::DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    return true;
}

int cWindowsSystem::ShowSettings() { return ApplySettings(settingsDialog.Show(window)); }

int cWindowsSystem::ApplySettings(const SettingsResult& result) {
    if (result.exit) return 1;
    if (result.resolutionIndex >= 0 && result.resolutionIndex < kResolutionCount) {
        width = kResolutionChoices[result.resolutionIndex].width;
        height = kResolutionChoices[result.resolutionIndex].height;
    }
    fullscreen = result.fullscreen;
    int samples = SamplesForAntiAliasing(result.antiAliasingIndex);
    if (samples >= 0) {
        antiAliasing = samples > 0;
        samplesWanted = samples;
    }
    return 0;
}

int cWindowsSystem::Run() {
    ReturnLargeBlocksWhenFreed();
    // The window that hosts the settings dialog opens windowed: a fullscreen mode switch (or the
    // question about a mode the display lacks) would come before the viewer could choose one.
    bool wantedFullscreen = fullscreen;
    if (showSettings) fullscreen = false;
    bool created = CreateRenderWindow();
    if (showSettings) fullscreen = wantedFullscreen;
    if (!created) {
        windowFailed = true;
        return 0;
    }
    if (showSettings) {
        if (ShowSettings() == 1) {
            DestroyRenderWindow();
            return 0;
        }
        DestroyRenderWindow();
        if (!CreateRenderWindow()) {
            windowFailed = true;
            return 0;
        }
    }
    while (loading) {
        LoadStep();
        SwapBuffers();
    }
    InitGL();
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    MessageLoop();
    DestroyRenderWindow();
    return 0;
}

bool cWindowsSystem::SetFullscreenDisplayMode() {
    SDL_DisplayMode wanted = {};
    wanted.format = bits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest = {};
    bool supported = SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr && closest.w == width &&
                     closest.h == height;
    if (supported && window) supported = SDL_SetWindowDisplayMode(window, &closest) == 0;
    return supported;
}

bool cWindowsSystem::AskUseWindowed() {
    return AskYesNo("WINDOW", "Orin GL",
                    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                    true);
}

// The display mode for fullscreen: the configured size and depth, or the viewer's choice to go
// on windowed. False when the viewer chose to close; every caller then ends the run.
bool cWindowsSystem::ApplyFullscreenMode() {
    if (SetFullscreenDisplayMode()) return true;
    if (AskUseWindowed()) {
        fullscreen = false;
        return true;
    }
    ShowMessage("WINDOW", "ERROR", "Program Will Now Close.", cMessageIcon::Error);
    return false;
}

SDL_Window* cWindowsSystem::cFatalStopDisplay::LeaveFullscreenForMessage() {
    if (!owner.window) return nullptr;
    if (owner.fullscreen) {
        // Back to the desktop's mode and cursor first: the box must not open behind a
        // fullscreen window, and the mode must not outlive the process.
        SDL_SetWindowFullscreen(owner.window, 0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    return owner.window;
}

// One attempt at a window and context with `samples` multisamples (0: none). Quiet on failure:
// the caller tries fewer samples before it reports.
bool cWindowsSystem::TryCreate(int samples) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, bits >= 32 ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
    if (!fullscreen) flags |= SDL_WINDOW_RESIZABLE;
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) return false;
    renderContext = SDL_GL_CreateContext(window);
    if (!renderContext) {
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    return true;
}

bool cWindowsSystem::CreateRenderWindow() {
    if (!videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            ShowMessage("WINDOW", "ERROR", "Failed To Register The Window Class.", cMessageIcon::Warning);
            ConsolePrint("WINDOW", "no display: %s", SDL_GetError());
            return false;
        }
        videoStarted = true;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!headlessAllowed && driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        ConsolePrint("WINDOW", "no display found (video driver \"%s\"); the demo needs one", driver);
        ShowMessage("WINDOW", "ERROR", "Window Creation Error.", cMessageIcon::Warning);
        DestroyRenderWindow();
        return false;
    }
    if (fullscreen && !ApplyFullscreenMode()) {
        DestroyRenderWindow();
        return false;
    }

    // The multisample search: the wanted count, fewer while the driver refuses, then a plain
    // format (4, 2, 0 unless the settings dialog chose a level).
    bool created = false;
    for (int samples = samplesWanted;; samples = FewerSamples(samples)) {
        if (TryCreate(samples)) {
            multisampleSupported = samples > 0;
            multisampleFormat = samples;
            created = true;
            break;
        }
        if (samples == 0) break;
    }
    if (!created) {
        ConsolePrint("WINDOW", "%s", SDL_GetError());
        DestroyRenderWindow();
        ShowMessage("WINDOW", "ERROR", "Window Creation Error.", cMessageIcon::Warning);
        return false;
    }
    if (SDL_GL_MakeCurrent(window, renderContext) != 0) {
        ConsolePrint("WINDOW", "%s", SDL_GetError());
        DestroyRenderWindow();
        ShowMessage("WINDOW", "ERROR", "Can't Activate The GL Rendering Context.", cMessageIcon::Warning);
        return false;
    }
    // Adaptive sync where offered, else plain vsync: the loop does not spin a core.
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);

    // From here a fatal stop gives the display back before its box.
    SetFatalErrorDisplay(&fatalStopDisplay);
    if (fullscreen) {
        // The window exists now: give it the mode found above. The display may still refuse
        // it, and then the viewer's answer to the question stands, No included.
        if (!ApplyFullscreenMode()) {
            DestroyRenderWindow();
            return false;
        }
        if (fullscreen) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
            SDL_ShowCursor(SDL_DISABLE);
        } else {
            SDL_SetWindowResizable(window, SDL_TRUE);  // built for fullscreen, going on windowed
        }
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    ResizeViewport();
    return true;
}

void cWindowsSystem::DestroyRenderWindow() {
    ClearFatalErrorDisplay(&fatalStopDisplay);
    Release();
    if (fullscreen) SDL_ShowCursor(SDL_ENABLE);  // SDL gives the display mode back with the window
    if (renderContext) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(renderContext);
        renderContext = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

bool cWindowsSystem::ToggleFullscreen() {
    if (!window) return false;
    if (!fullscreen) {
        fullscreen = true;
        if (!ApplyFullscreenMode()) return false;
        if (fullscreen) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
            SDL_ShowCursor(SDL_DISABLE);
        }
    } else {
        fullscreen = false;
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowResizable(window, SDL_TRUE);
        SDL_SetWindowSize(window, width, height);
        SDL_ShowCursor(SDL_ENABLE);
    }
    ResizeViewport();
    return true;
}

void cWindowsSystem::ResizeViewport() {
    if (height == 0) height = 1;
    // The viewport counts drawable pixels (more than the window size on HiDPI screens); the
    // aspect ratio is the same either way.
    int pixelsWide = width, pixelsHigh = height;
    if (window) SDL_GL_GetDrawableSize(window, &pixelsWide, &pixelsHigh);
    if (pixelsHigh == 0) pixelsHigh = 1;
    glViewport(0, 0, pixelsWide, pixelsHigh);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(width) / double(height), nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void cWindowsSystem::SwapBuffers() {
    if (window) SDL_GL_SwapWindow(window);
}

int cWindowsSystem::WindowProc(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            quit = true;
            break;
        case SDL_KEYDOWN: {
            int key = VirtualKeyFromSdl(event.key.keysym.sym);
            SetKey(key, true);
            if (key >= 0 && key < 256) pressedThisDrain[key] = true;
            break;
        }
        case SDL_KEYUP: {
            int key = VirtualKeyFromSdl(event.key.keysym.sym);
            if (latchTaps && key >= 0 && key < 256 && pressedThisDrain[key])
                releaseAfterFrame[key] = true;  // tapped between two frames: let one frame see it
            else
                SetKey(key, false);
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_MINIMIZED: active = false; break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED: active = true; break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    width = event.window.data1;
                    height = event.window.data2;
                    ResizeViewport();
                    break;
                case SDL_WINDOWEVENT_CLOSE: quit = true; break;
                default: break;
            }
            break;
        default:
            break;
    }
    return 0;
}

int cWindowsSystem::MessageLoop() {
    cTimeSystem* clock = cTimeSystem::Instance();
    bool done = false;
    quit = false;
    SDL_Event event;
    latchTaps = false;  // the first drain: the keys of the loading time
    while (!done) {
        // Every waiting event first; a frame only when the queue is empty.
        std::memset(pressedThisDrain, 0, sizeof pressedThisDrain);
        while (SDL_PollEvent(&event)) WindowProc(event);
        latchTaps = true;
        if (quit) break;

        if (active) {
            if (keys[kKeyEscape]) {
                done = true;
            } else {
                UpdateFrame();
                if (frameHooks) frameHooks->BeforeTick();
                clock->Tick();
                if (!frameHooks || frameHooks->ShouldDraw()) {
                    if (!DrawFrame()) done = true;
                    if (frameHooks) frameHooks->AfterDraw();
                    SwapBuffers();
                } else if (IsDone()) {
                    done = true;
                }
                if (frameHooks && frameHooks->ShouldStop()) done = true;
            }
        } else {
            SDL_Delay(10);  // minimised: nothing to draw, the clock and music run on
        }
        if (keys[kKeyF1]) {
            keys[kKeyF1] = false;
            if (!ToggleFullscreen()) return 0;
        }
        for (int key = 0; key < 256; ++key) {
            if (releaseAfterFrame[key]) keys[key] = releaseAfterFrame[key] = false;
        }
    }
    return 0;
}

}  // namespace VantorGL
