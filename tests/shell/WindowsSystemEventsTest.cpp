// Tests for what the viewer does to the window during the show: F1 back and forth (the same
// context, every texture alive, the configured size and mode back), closing the window, a quit
// request, and minimising (no frames until the window comes back), driven headless with
// synthetic SDL events. The display-mode change itself is the platform seam, answered here.
#include "shell/WindowsSystem.h"
#include "timeline/TimeSystem.h"

#include "support/FixedClock.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using namespace VantorGL;

namespace {

// A windowed 64x48 application that counts its frames and lets each test act at frame n.
class EventApp : public cWindowsSystem {
public:
    EventApp() {
        SetFullscreen(false);
        SetShowSettings(false);
        SetSize(64, 48);
        AllowHeadless(true);
    }
    bool SetFullscreenDisplayMode() override { return true; }  // a display that has every mode
    bool LoadStep() override {
        loading = false;
        return true;
    }
    bool InitGL() override {
        cWindowsSystem::InitGL();
        context = SDL_GL_GetCurrentContext();
        const std::uint8_t texel[4] = {10, 200, 30, 255};
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        return true;
    }
    bool UpdateFrame() override {
        ++frames;
        if (atFrame) atFrame(frames);
        if (frames >= 400) SetKey(kKeyEscape, true);  // a backstop: no test runs this far
        return true;
    }
    // Whether the context made in InitGL is current and still holds the texture's texel.
    bool ContextAndTextureAlive() {
        if (SDL_GL_GetCurrentContext() != context || !glIsTexture(texture)) return false;
        std::uint8_t texel[4] = {};
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        return texel[0] == 10 && texel[1] == 200 && texel[2] == 30;
    }
    bool WindowIsFullscreen() const { return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0; }

    std::function<void(int)> atFrame;
    int frames = 0;
    SDL_GLContext context = nullptr;
    GLuint texture = 0;
};

void PushWindowEvent(SDL_Window* window, Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    event.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&event);
}

using WindowEventsTest = VantorGLTest::FrameLoopTest;

}  // namespace

TEST_F(WindowEventsTest, F1KeepsTheContextAndEveryTextureAndBringsTheSizeBack) {
    EventApp app;
    bool aliveThroughout = true, fullscreenBetween = false, windowedAfter = false;
    int widthAfter = 0, heightAfter = 0, windowWidth = 0, windowHeight = 0;
    app.atFrame = [&](int frame) {
        aliveThroughout = aliveThroughout && app.ContextAndTextureAlive();
        if (frame == 3 || frame == 6) app.SetKey(kKeyF1, true);
        if (frame == 5) fullscreenBetween = app.IsFullscreen() && app.WindowIsFullscreen();
        if (frame == 8) {
            windowedAfter = !app.IsFullscreen() && !app.WindowIsFullscreen();
            widthAfter = app.Width();
            heightAfter = app.Height();
            SDL_GetWindowSize(app.Window(), &windowWidth, &windowHeight);
            app.SetKey(kKeyEscape, true);
        }
    };
    ASSERT_EQ(app.Run(), 0);
    ASSERT_FALSE(app.WindowFailed());
    EXPECT_EQ(app.frames, 8);
    EXPECT_TRUE(aliveThroughout) << "F1 lost the context or a texture";
    EXPECT_TRUE(fullscreenBetween);
    EXPECT_TRUE(windowedAfter);
    EXPECT_EQ(widthAfter, 64);
    EXPECT_EQ(heightAfter, 48);
    EXPECT_EQ(windowWidth, 64);
    EXPECT_EQ(windowHeight, 48);
}

// Closing the window and a quit request (the session ending, Ctrl+C in a terminal) both end the
// show at the next frame, and the run takes the window down.
TEST_F(WindowEventsTest, CloseAndQuitEndTheLoop) {
    for (bool close : {true, false}) {
        EventApp app;
        app.atFrame = [&](int frame) {
            if (frame != 5) return;
            if (close) {
                PushWindowEvent(app.Window(), SDL_WINDOWEVENT_CLOSE);
            } else {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
        };
        ASSERT_EQ(app.Run(), 0);
        EXPECT_EQ(app.frames, 5) << (close ? "close" : "quit");
        EXPECT_EQ(app.Window(), nullptr);
    }
}

namespace {
std::atomic<bool> restoreSent{false};
std::atomic<bool> gaveUp{false};
Uint32 SendRestore(Uint32, void* window) {
    restoreSent = true;
    PushWindowEvent(static_cast<SDL_Window*>(window), SDL_WINDOWEVENT_RESTORED);
    return 0;
}
// The bound on the wait: a minimised loop makes no frames, so nothing else would end it.
Uint32 GiveUp(Uint32, void*) {
    gaveUp = true;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return 0;
}
}  // namespace

// Minimised, the loop draws nothing (and Escape waits); restored, the frames come back.
TEST_F(WindowEventsTest, MinimisedDrawsNoFramesUntilRestored) {
    EventApp app;
    restoreSent = false;
    gaveUp = false;
    bool frameWhileMinimised = false;
    SDL_TimerID restore = 0, bound = 0;
    app.atFrame = [&](int frame) {
        if (frame == 3) {
            PushWindowEvent(app.Window(), SDL_WINDOWEVENT_MINIMIZED);
            restore = SDL_AddTimer(150, SendRestore, app.Window());
            bound = SDL_AddTimer(30000, GiveUp, nullptr);
            if (restore == 0 || bound == 0) {
                ADD_FAILURE() << "no SDL timer: " << SDL_GetError();
                app.SetKey(kKeyEscape, true);
            }
        }
        if (frame == 4) {
            frameWhileMinimised = !restoreSent;
            app.SetKey(kKeyEscape, true);
        }
    };
    ASSERT_EQ(app.Run(), 0);
    SDL_RemoveTimer(restore);
    SDL_RemoveTimer(bound);
    EXPECT_FALSE(gaveUp) << "the restore never arrived in 30 s";
    EXPECT_FALSE(frameWhileMinimised) << "a frame was made while minimised";
    EXPECT_EQ(app.frames, 4) << "the frames did not come back after the restore";
}

// A window resized during the show is drawn whole at its new shape: the viewport covers all of
// it and the projection takes its aspect, from the next frame on.
TEST_F(WindowEventsTest, AResizedWindowIsDrawnWholeAtItsNewShape) {
    EventApp app;
    GLint viewport[4] = {};
    GLdouble projection[16] = {};
    app.atFrame = [&](int frame) {
        if (frame == 3) SDL_SetWindowSize(app.Window(), 128, 32);
        if (frame == 5) {
            glGetIntegerv(GL_VIEWPORT, viewport);
            glGetDoublev(GL_PROJECTION_MATRIX, projection);
            app.SetKey(kKeyEscape, true);
        }
    };
    ASSERT_EQ(app.Run(), 0);
    EXPECT_EQ(viewport[2], 128);
    EXPECT_EQ(viewport[3], 32);
    EXPECT_NEAR(projection[5] / projection[0], 128.0 / 32.0, 1e-6) << "the picture keeps the old shape";
}
