// Tests for the run with the settings dialog first (quenlite-setup's path): Exit leaves before
// anything loads, Run builds the window again at the chosen size. The dialog's answer is given
// through ShowSettings, so what is tested is Run's handling of it.
#include "shell/WindowsSystem.h"
#include "timeline/TimeSystem.h"

#include "support/FixedClock.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

using namespace VantorGL;

namespace {

class SettingsRunApp : public cWindowsSystem {
public:
    explicit SettingsRunApp(SettingsResult answer) : answer(answer) {
        SetFullscreen(true);  // the configured mode; the dialog's window opens windowed anyway
        SetShowSettings(true);
        SetSize(64, 48);
        AllowHeadless(true);
    }
    bool SetFullscreenDisplayMode() override { return true; }
    int ShowSettings() override {
        dialogWindowed = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0;
        return ApplySettings(answer);
    }
    bool LoadStep() override {
        ++loadSteps;
        SDL_GetWindowSize(window, &loadWidth, &loadHeight);
        loading = false;
        return true;
    }
    bool UpdateFrame() override {
        ++frames;
        SetKey(kKeyEscape, true);
        return true;
    }
    SettingsResult answer;
    bool dialogWindowed = false;
    int loadSteps = 0, frames = 0, loadWidth = 0, loadHeight = 0;
};

using SettingsRunTest = VantorGLTest::FrameLoopTest;

}  // namespace

TEST_F(SettingsRunTest, ExitLeavesWithoutLoading) {
    SettingsResult exit;
    exit.exit = true;
    SettingsRunApp app(exit);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(app.WindowFailed());
    EXPECT_TRUE(app.dialogWindowed);
    EXPECT_EQ(app.loadSteps, 0);
    EXPECT_EQ(app.frames, 0);
    EXPECT_EQ(app.Window(), nullptr);
}

TEST_F(SettingsRunTest, RunBuildsTheWindowAgainAtTheChosenSize) {
    SettingsResult run;
    run.resolutionIndex = 0;
    run.fullscreen = false;
    SettingsRunApp app(run);
    EXPECT_EQ(app.Run(), 0);
    ASSERT_FALSE(app.WindowFailed());
    EXPECT_TRUE(app.dialogWindowed);
    EXPECT_EQ(app.loadSteps, 1);
    EXPECT_EQ(app.frames, 1);
    EXPECT_EQ(app.loadWidth, kResolutionChoices[0].width);
    EXPECT_EQ(app.loadHeight, kResolutionChoices[0].height);
    EXPECT_FALSE(app.IsFullscreen());
}
