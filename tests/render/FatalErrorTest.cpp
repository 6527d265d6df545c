// Fatal stops give the display back: out of fullscreen with the cursor shown before the box,
// the window torn down before the exit code, and only while the window system holds a window.
#include "render/FatalError.h"

#include "shell/WindowsSystem.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>

using namespace VantorGL;

namespace {

// Says on stderr what a fatal stop asked of it, in order.
class LoggingDisplay final : public cFatalErrorDisplay {
public:
    SDL_Window* LeaveFullscreenForMessage() override {
        std::fprintf(stderr, "left fullscreen\n");
        return nullptr;
    }
    void TearDownForExit() override { std::fprintf(stderr, "torn down\n"); }
};

// A headless window whose display takes any fullscreen mode; its teardown says what state the
// window was left in when it came.
class HeadlessWindow : public cWindowsSystem {
public:
    HeadlessWindow() {
        AllowHeadless(true);
        SetShowSettings(false);
        SetSize(64, 48);
    }
    void Release() override {
        if (!window) return;
        const bool inFullscreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
        std::fprintf(stderr, "released fullscreen=%d cursor=%d\n", inFullscreen, SDL_ShowCursor(SDL_QUERY));
    }
    bool SetFullscreenDisplayMode() override { return true; }
};

}  // namespace

TEST(FatalErrorDeathTest, TheDisplayIsLeftBeforeTheBoxAndTornDownBeforeTheExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static LoggingDisplay display;
            SetFatalErrorDisplay(&display);
            FatalError("TARGET", 99, "Error", "no framebuffer objects");
        },
        testing::ExitedWithCode(99), "^TARGET: no framebuffer objects\nleft fullscreen\ntorn down\n$");
}

// The window system's own window, fullscreen: the particle pool's stop (code 10, no box) finds
// it out of fullscreen with the cursor back when it tears it down.
TEST(FatalErrorDeathTest, AFullscreenWindowIsRestoredAndDestroyed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
            static HeadlessWindow app;
            app.SetFullscreen(true);
            if (!app.CreateRenderWindow()) std::exit(3);
            if (!app.IsFullscreen()) std::exit(4);
            FatalError("PARTICLES", 10, nullptr, "DrawAll before CreateParticles");
        },
        testing::ExitedWithCode(10),
        "^PARTICLES: DrawAll before CreateParticles\nreleased fullscreen=0 cursor=1\n$");
}

// Once the window is destroyed the window system is no longer asked.
TEST(FatalErrorDeathTest, OnlyAWindowThatExistsIsAsked) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
            static HeadlessWindow app;
            app.SetFullscreen(false);
            if (!app.CreateRenderWindow()) std::exit(3);
            app.DestroyRenderWindow();
            std::fprintf(stderr, "destroyed\n");
            FatalError("PARTICLES", 10, nullptr, "first");
        },
        testing::ExitedWithCode(10), "^released fullscreen=0 cursor=1\ndestroyed\nPARTICLES: first\n$");
}
