// Tests for the start-up settings dialog: what "Run", "Exit" and the keys leave in its result,
// how the window system applies a result, the sample counts of the anti-aliasing levels, and one
// headless frame of the ImGui view.
#include "shell/SettingsDialog.h"
#include "shell/SettingsDialogView.h"
#include "shell/WindowsSystem.h"
#include "support/GlTestContext.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

using namespace VantorGL;

TEST(SettingsDialog, StartsZeroedAndRunWithoutTouchingGivesTheInitialChoices) {
    SettingsDialog dialog;
    EXPECT_EQ(dialog.Result().resolutionIndex, 0);
    EXPECT_EQ(dialog.Result().antiAliasingIndex, 0);
    EXPECT_FALSE(dialog.Result().fullscreen);
    EXPECT_FALSE(dialog.Result().exit);

    dialog.Open();
    EXPECT_TRUE(dialog.IsOpen());
    dialog.Run();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(dialog.Result().resolutionIndex, 1);
    EXPECT_EQ(dialog.Result().antiAliasingIndex, 2);
    EXPECT_TRUE(dialog.Result().fullscreen);
    EXPECT_FALSE(dialog.Result().exit);

    cWindowsSystem system;
    system.SetSize(1024, 768);
    system.SetFullscreen(false);
    system.SetAntiAliasing(false);
    EXPECT_EQ(system.ApplySettings(dialog.Result()), 0);
    EXPECT_EQ(system.Width(), 800);
    EXPECT_EQ(system.Height(), 600);
    EXPECT_TRUE(system.IsFullscreen());
    EXPECT_TRUE(system.AntiAliasing());
    EXPECT_EQ(system.SamplesWanted(), 4);
}

TEST(SettingsDialog, ExitAndCloseLeaveTheSelectionsOutAndKeepTheLastRun) {
    SettingsDialog dialog;
    dialog.Open();
    dialog.SelectResolution(8);
    dialog.SetFullscreenChecked(false);
    dialog.Run();

    // A second showing starts from the initial selections again; leaving it keeps the last run.
    dialog.Open();
    EXPECT_EQ(dialog.ResolutionSelection(), 1);
    EXPECT_TRUE(dialog.FullscreenChecked());
    dialog.SelectResolution(0);
    dialog.Exit();  // "Exit", the close box and a closed window all come here
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(dialog.Result().exit);
    EXPECT_EQ(dialog.Result().resolutionIndex, 8);
    EXPECT_FALSE(dialog.Result().fullscreen);

    cWindowsSystem system;
    system.SetSize(1024, 768);
    EXPECT_EQ(system.ApplySettings(dialog.Result()), 1);
    EXPECT_EQ(system.Width(), 1024);  // nothing applied on exit
    EXPECT_TRUE(system.IsFullscreen());
}

TEST(SettingsDialog, EveryResolutionSetsItsSize) {
    const int expected[][2] = {{640, 480},  {800, 600},  {960, 600},  {1024, 768}, {1280, 720},
                               {1280, 768}, {1280, 960}, {1440, 900}, {1680, 1050}};
    ASSERT_EQ(kResolutionCount, 9);
    for (int i = 0; i < kResolutionCount; ++i) {
        SettingsDialog dialog;
        dialog.Open();
        dialog.SelectResolution(i);
        dialog.SetFullscreenChecked(false);
        dialog.Run();
        cWindowsSystem system;
        system.ApplySettings(dialog.Result());
        EXPECT_EQ(system.Width(), expected[i][0]) << kResolutionChoices[i].text;
        EXPECT_EQ(system.Height(), expected[i][1]) << kResolutionChoices[i].text;
        EXPECT_FALSE(system.IsFullscreen());
        EXPECT_EQ(std::to_string(expected[i][0]) + "x" + std::to_string(expected[i][1]), kResolutionChoices[i].text);
    }
}

TEST(SettingsDialog, EveryAntiAliasingLevelSetsTheFlagAndItsSampleCount) {
    const char* texts[] = {"No AA", "2X AA", "4X AA", "6X AA"};
    const int samples[] = {0, 2, 4, 6};
    ASSERT_EQ(kAntiAliasingCount, 4);
    for (int i = 0; i < kAntiAliasingCount; ++i) {
        EXPECT_STREQ(kAntiAliasingChoices[i].text, texts[i]);
        EXPECT_EQ(SamplesForAntiAliasing(i), samples[i]);
        SettingsResult result;
        result.resolutionIndex = 3;
        result.antiAliasingIndex = i;
        cWindowsSystem system;
        system.SetAntiAliasing(i == 0);  // the opposite of what the level says
        system.ApplySettings(result);
        EXPECT_EQ(system.AntiAliasing(), i != 0) << texts[i];
        EXPECT_EQ(system.SamplesWanted(), samples[i]) << texts[i];
    }
    EXPECT_EQ(SamplesForAntiAliasing(-1), -1);
    EXPECT_EQ(SamplesForAntiAliasing(4), -1);
}

TEST(SettingsDialog, IndicesOutsideTheListsLeaveTheirValues) {
    cWindowsSystem system;
    system.SetSize(1024, 768);
    system.SetAntiAliasing(false);
    system.SetFullscreen(true);
    SettingsResult result;
    for (int bad : {-1, 9, 1000}) {
        result.resolutionIndex = bad;
        result.antiAliasingIndex = bad < 0 ? bad : bad - 5;  // -1, 4, 995
        result.fullscreen = false;
        EXPECT_EQ(system.ApplySettings(result), 0);
        EXPECT_EQ(system.Width(), 1024);
        EXPECT_EQ(system.Height(), 768);
        EXPECT_FALSE(system.AntiAliasing());
        EXPECT_EQ(system.SamplesWanted(), 4);
        EXPECT_FALSE(system.IsFullscreen());  // the box always applies
    }
    // Selections outside the lists are refused while the dialog is up.
    SettingsDialog dialog;
    dialog.Open();
    dialog.SelectResolution(9);
    dialog.SelectAntiAliasing(-1);
    EXPECT_EQ(dialog.ResolutionSelection(), 1);
    EXPECT_EQ(dialog.AntiAliasingSelection(), 2);
}

TEST(SettingsDialog, RefusedSampleCountsFallBackDownwards) {
    std::vector<int> tried;
    for (int s = 6;; s = FewerSamples(s)) {
        tried.push_back(s);
        if (s == 0) break;
    }
    EXPECT_EQ(tried, (std::vector<int>{6, 4, 2, 0}));
    EXPECT_EQ(FewerSamples(4), 2);
    EXPECT_EQ(FewerSamples(2), 0);
    EXPECT_EQ(FewerSamples(0), 0);
    EXPECT_EQ(FewerSamples(3), 2);
    // The entry point's window keeps its search, 4 then 2, whatever its flag says.
    cWindowsSystem system;
    system.SetAntiAliasing(false);
    EXPECT_EQ(system.SamplesWanted(), 4);
}

TEST(SettingsDialog, AWindowAskingForMoreSamplesThanTheDriverHasGetsFewer) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    cWindowsSystem system;
    system.AllowHeadless(true);
    system.SetFullscreen(false);
    system.SetSize(64, 48);
    system.SetSamples(64);  // more than any driver offers
    if (!system.CreateRenderWindow()) GTEST_SKIP() << "no OpenGL window available";
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_LT(system.Samples(), 64);
    EXPECT_EQ(system.Samples(), samples);  // the count granted is the count the context has
    system.DestroyRenderWindow();

    system.SetSamples(0);  // "No AA": a plain format
    ASSERT_TRUE(system.CreateRenderWindow());
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(system.Samples(), 0);
    EXPECT_EQ(samples, 0);
    system.DestroyRenderWindow();
}

TEST(SettingsDialog, KeysMoveTheFocusChangeTheListsAndEndTheDialog) {
    SettingsDialog dialog;
    dialog.Open();
    ASSERT_EQ(dialog.Focused(), eSettingsControl::Resolution);
    dialog.Key(eSettingsKey::Down);
    dialog.Key(eSettingsKey::Down);
    EXPECT_EQ(dialog.ResolutionSelection(), 3);
    for (int i = 0; i < 20; ++i) dialog.Key(eSettingsKey::Up);  // stops at the top, no wrap
    EXPECT_EQ(dialog.ResolutionSelection(), 0);

    dialog.Key(eSettingsKey::Tab);  // tab order: Run, Exit, Resolution, Fullscreen, AntiAliasing
    EXPECT_EQ(dialog.Focused(), eSettingsControl::Fullscreen);
    dialog.Key(eSettingsKey::Space);
    EXPECT_FALSE(dialog.FullscreenChecked());
    dialog.Key(eSettingsKey::Tab);
    EXPECT_EQ(dialog.Focused(), eSettingsControl::AntiAliasing);
    dialog.Key(eSettingsKey::Up);
    dialog.Key(eSettingsKey::Up);
    dialog.Key(eSettingsKey::Up);
    EXPECT_EQ(dialog.AntiAliasingSelection(), 0);
    dialog.Key(eSettingsKey::Tab);  // wraps to the first control
    EXPECT_EQ(dialog.Focused(), eSettingsControl::Run);
    dialog.Key(eSettingsKey::Tab, true);
    EXPECT_EQ(dialog.Focused(), eSettingsControl::AntiAliasing);

    // A dropped list folds on Enter without ending the dialog; the next Enter runs.
    dialog.Key(eSettingsKey::OpenList);
    EXPECT_EQ(dialog.Dropped(), eSettingsControl::AntiAliasing);
    dialog.Key(eSettingsKey::Down);
    dialog.Key(eSettingsKey::Enter);
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.Dropped(), eSettingsControl::Run);
    dialog.Key(eSettingsKey::Enter);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_FALSE(dialog.Result().exit);
    EXPECT_EQ(dialog.Result().resolutionIndex, 0);
    EXPECT_EQ(dialog.Result().antiAliasingIndex, 1);
    EXPECT_FALSE(dialog.Result().fullscreen);
}

TEST(SettingsDialog, EscapeFoldsAListFirstThenExits) {
    SettingsDialog dialog;
    dialog.Open();
    dialog.Key(eSettingsKey::Space);  // drops the focused resolution list
    EXPECT_EQ(dialog.Dropped(), eSettingsControl::Resolution);
    dialog.Key(eSettingsKey::Escape);
    EXPECT_TRUE(dialog.IsOpen());
    dialog.Key(eSettingsKey::Escape);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(dialog.Result().exit);

    // Enter with "Exit" focused presses "Exit", as a focused push button takes the default.
    dialog.Open();
    dialog.Focus(eSettingsControl::Exit);
    dialog.Key(eSettingsKey::Enter);
    EXPECT_TRUE(dialog.Result().exit);
    // Keys after the dialog has ended change nothing.
    dialog.Key(eSettingsKey::Enter);
    EXPECT_TRUE(dialog.Result().exit);
}

namespace {

SDL_Event KeyDown(SDL_Keycode key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

// Pixels at (x, y) from the top left, in the dialog's own coordinates.
std::uint32_t PixelAt(const VantorGLTest::GlTestContext& gl, const std::vector<std::uint8_t>& rgba, int x, int y) {
    std::size_t at = (std::size_t(gl.Height() - 1 - y) * gl.Width() + x) * 4;
    return std::uint32_t(rgba[at]) << 16 | std::uint32_t(rgba[at + 1]) << 8 | rgba[at + 2];
}

}  // namespace

TEST(SettingsDialogView, DrawsTheDialogHeadlessAndTakesItsKeys) {
    VantorGLTest::GlTestContext gl(kDialogWidthPixels, kDialogHeightPixels);
    REQUIRE_GL(gl);
    SettingsDialog dialog;
    dialog.Open();
    cSettingsDialogView view;
    // The banner is read from the data folder, as the programs read it from the repository root.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(QUENLITE_SOURCE_DIR);
    bool opened = view.Open(gl.Window(), false);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(view.HasBanner()) << "no generated data folder under " << QUENLITE_SOURCE_DIR;
    for (int frame = 0; frame < 3; ++frame) view.DrawFrame(dialog);
    std::vector<std::uint8_t> closed = gl.ReadPixels();
    // The banner's first pixel row of colour lies at (11, 12) and differs from the dialog's face.
    std::uint32_t face = PixelAt(gl, closed, 3, 3);
    EXPECT_NE(PixelAt(gl, closed, 40, 30), face);
    // Nothing drawn yet under the fullscreen box's right, between the lists' texts.
    int probeX = int(150 * kDialogUnitX), probeY = int(128 * kDialogUnitY);
    EXPECT_EQ(PixelAt(gl, closed, probeX, probeY), face);

    // F4 drops the resolution list over the controls below it; Escape folds it again.
    SDL_Event f4 = KeyDown(SDLK_F4);
    view.HandleEvent(f4, dialog);
    for (int frame = 0; frame < 3; ++frame) view.DrawFrame(dialog);
    EXPECT_EQ(dialog.Dropped(), eSettingsControl::Resolution);
    std::vector<std::uint8_t> dropped = gl.ReadPixels();
    EXPECT_NE(PixelAt(gl, dropped, probeX, probeY), face);

    SDL_Event escape = KeyDown(SDLK_ESCAPE);
    view.HandleEvent(escape, dialog);
    for (int frame = 0; frame < 3; ++frame) view.DrawFrame(dialog);
    EXPECT_EQ(dialog.Dropped(), eSettingsControl::Run);
    EXPECT_EQ(PixelAt(gl, gl.ReadPixels(), probeX, probeY), face);
    EXPECT_TRUE(dialog.IsOpen());

    SDL_Event close = {};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    view.HandleEvent(close, dialog);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(dialog.Result().exit);
    view.Close();
    EXPECT_FALSE(view.HasBanner());
}
