// Tests for the frame loop: the order of the hooks, the clock tick between update and draw,
// Escape, and the end of the demo at 167000 ms, driven headless with the fixed-step clock.
#include "shell/WindowsSystem.h"
#include "support/FixedClock.h"
#include "timeline/DemoScene.h"
#include "timeline/SceneSystem.h"
#include "timeline/TimeSystem.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VantorGL;
using VantorGLTest::FrameLoopTest;

namespace {

// A stand-in for the sequencer: one window over the whole demo, no assets.
class TimelineScene : public cSceneSystem {
public:
    void Render() override { lastRendered = timer.elapsed; ++renders; }
    int lastRendered = -1;
    int renders = 0;
};

// Records the hook order and drives the fixed-step counter.
class RecordingApp : public cWindowsSystem, public cFrameHooks {
public:
    explicit RecordingApp(cFixedStepCounter& c) : counter(c) {
        SetFullscreen(false);
        SetShowSettings(false);
        SetSize(64, 48);
        AllowHeadless(true);
        SetFrameHooks(this);
    }
    bool LoadStep() override {
        calls.push_back("load");
        if (escapeDuringLoad) PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
        if (escapeDuringLoad == kTapped) PushKey(SDL_KEYUP, SDLK_ESCAPE);
        loading = false;
        return true;
    }
    static void PushKey(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
    bool InitGL() override {
        calls.push_back("init");
        cTimeSystem::Instance()->Reset();
        scene.SetTimeWindow(kDemoStartCode, kDemoEndCode);
        return true;
    }
    bool UpdateFrame() override {
        if (calls.size() < 12) calls.push_back("update");
        scene.RunUpdate();
        if (scene.timer.elapsed == pressEscapeAt) SetKey(kKeyEscape, true);
        if (scene.timer.elapsed == pressF1At) SetKey(kKeyF1, true);
        if (scene.timer.elapsed == tapEscapeAt) {
            // Down and up both wait in the queue when the next frame starts.
            PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
            PushKey(SDL_KEYUP, SDLK_ESCAPE);
        }
        return false;
    }
    bool DrawFrame() override {
        if (calls.size() < 12) calls.push_back("draw");
        scene.RunRender();
        return !scene.IsFinished();
    }
    void BeforeTick() override {
        if (calls.size() < 12) calls.push_back("tick");
        counter.Advance();
    }
    cFixedStepCounter& counter;
    TimelineScene scene;
    std::vector<std::string> calls;
    int pressEscapeAt = -1;
    int pressF1At = -1;
    int tapEscapeAt = -1;
    enum { kNone, kHeld, kTapped } escapeDuringLoad = kNone;
};

// A display that has the fullscreen mode when first asked and refuses it once the window
// exists (or always), and a viewer who answers the windowed-instead question.
class RefusingDisplayApp : public RecordingApp {
public:
    RefusingDisplayApp(cFixedStepCounter& c, bool answer) : RecordingApp(c), answerYes(answer) {}
    bool SetFullscreenDisplayMode() override { return window == nullptr && !refuseAlways; }
    bool AskUseWindowed() override {
        ++questions;
        return answerYes;
    }
    bool answerYes;
    bool refuseAlways = false;
    int questions = 0;
};

}  // namespace

TEST_F(FrameLoopTest, HooksRunInOrderAndTheDemoEndsAt167000) {
    cFixedStepCounter& counter = clock.counter;  // 10 ms a frame
    RecordingApp app(counter);
    EXPECT_EQ(app.Run(), 0);
    ASSERT_FALSE(app.WindowFailed());
    std::vector<std::string> expected = {"load", "init", "update", "tick", "draw", "update", "tick", "draw",
                                         "update", "tick", "draw", "update"};
    EXPECT_EQ(app.calls, expected);
    // The frame that first reaches 2:47.0 is still drawn; then the loop ends.
    EXPECT_EQ(app.scene.lastRendered, kDemoEndMs);
    EXPECT_EQ(app.scene.renders, kDemoEndMs / 10 + 1);
}

TEST_F(FrameLoopTest, EscapeEndsAtTheNextFrame) {
    cFixedStepCounter& counter = clock.counter;
    RecordingApp app(counter);
    app.pressEscapeAt = 500;
    app.Run();
    EXPECT_EQ(app.scene.lastRendered, 500);  // the frame in which it went down is finished
}

TEST_F(FrameLoopTest, AQuickTapOfEscapeBetweenTwoFramesStillEnds) {
    cFixedStepCounter& counter = clock.counter;
    RecordingApp app(counter);
    app.tapEscapeAt = 500;
    app.Run();
    EXPECT_EQ(app.scene.lastRendered, 500);
}

// Escape during loading counts only when it is still held as the first frame looks: a tap made
// while the assets loaded is over by then and the demo plays.
TEST_F(FrameLoopTest, EscapeDuringLoadingCountsOnlyWhenStillHeld) {
    cFixedStepCounter& counter = clock.counter;
    {
        RecordingApp app(counter);
        app.escapeDuringLoad = RecordingApp::kTapped;
        app.pressEscapeAt = 500;
        app.Run();
        EXPECT_EQ(app.scene.lastRendered, 500) << "a tap during loading ended the demo";
    }
    {
        RecordingApp app(counter);
        app.escapeDuringLoad = RecordingApp::kHeld;
        app.Run();
        EXPECT_EQ(app.scene.renders, 0) << "a held Escape ends before the first frame";
    }
}

TEST(VirtualKeys, TheLoopsKeysMapToTheirCodes) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), 27);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), 112);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_CAPSLOCK), -1);
}

// "No" to the fullscreen question ends the run wherever it is asked: when the display refuses
// the mode only once the window exists, and at F1 during the show. "Yes" goes on windowed.
TEST_F(FrameLoopTest, NoToTheFullscreenQuestionEndsTheRunOnEveryPath) {
    cFixedStepCounter& counter = clock.counter;
    {
        RefusingDisplayApp app(counter, false);
        app.SetFullscreen(true);
        testing::internal::CaptureStderr();
        EXPECT_EQ(app.Run(), 0);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(app.questions, 1);
        EXPECT_TRUE(app.WindowFailed());
        EXPECT_TRUE(app.calls.empty()) << "the demo went on after No: " << app.calls.front();
        EXPECT_EQ(app.Window(), nullptr);
        EXPECT_NE(said.find("WINDOW: ERROR: Program Will Now Close.\n"), std::string::npos) << said;
    }
    {
        RefusingDisplayApp app(counter, true);
        app.SetFullscreen(true);
        app.pressEscapeAt = 100;
        testing::internal::CaptureStderr();
        app.Run();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(app.questions, 1);
        EXPECT_FALSE(app.IsFullscreen());
        EXPECT_EQ(app.scene.lastRendered, 100) << "Yes goes on windowed";
    }
    {
        RefusingDisplayApp app(counter, false);
        app.refuseAlways = true;
        app.pressF1At = 300;  // windowed start; F1 asks for fullscreen
        testing::internal::CaptureStderr();
        app.Run();
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(app.questions, 1);
        EXPECT_EQ(app.scene.lastRendered, 300) << "the show went on after No at F1";
        EXPECT_EQ(app.Window(), nullptr);
        EXPECT_NE(said.find("Program Will Now Close."), std::string::npos) << said;
    }
}

// The real fullscreen seams on SDL's offscreen display: the desktop's own size is a fullscreen
// mode (that display lists one mode of any size, so a refusal cannot be shown here), and with no
// display to ask on, the question answers Yes and says so, so the run goes on windowed.
TEST_F(FrameLoopTest, TheRealDisplayHasItsOwnModeAndAnswersYesWithoutAViewer) {
    class RealDisplayApp : public RecordingApp {
    public:
        using RecordingApp::RecordingApp;
        using cWindowsSystem::AskUseWindowed;
        using cWindowsSystem::SetFullscreenDisplayMode;
    } app(clock.counter);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0) << SDL_GetError();
    app.SetSize(desktop.w, desktop.h);
    EXPECT_TRUE(app.SetFullscreenDisplayMode()) << desktop.w << "x" << desktop.h;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(app.AskUseWindowed());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no display to ask on; answering Yes"), std::string::npos) << said;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
