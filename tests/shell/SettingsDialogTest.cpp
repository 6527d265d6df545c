// Tests for the start-up settings dialog: what "Run", "Exit" and the keys leave in its result,
// how the window system applies a result (the size and samples each label names), and one
// headless frame of the ImGui view.
#include "shell/SettingsDialog.h"
#include "shell/SettingsDialogView.h"
#include "shell/WindowsSystem.h"
#include "support/GlTestContext.h"
#include "support/ScratchFolder.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace VantorGL;

namespace {

// The size a resolution entry's label names ("1024x768"); {0, 0} when the label names none.
std::pair<int, int> SizeInLabel(const char* text) {
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &end) != 2) return {0, 0};
    return {w, h};
}

// The sample count an anti-aliasing label names: "No AA" none, "4X AA" four; -1 for anything else.
int SamplesInLabel(const char* text) {
    if (std::string(text) == "No AA") return 0;
    int n = 0;
    char rest[8] = {};
    if (std::sscanf(text, "%dX %7s", &n, rest) != 2 || std::string(rest) != "AA") return -1;
    return n;
}

}  // namespace

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
    EXPECT_EQ(dialog.Result().resolutionIndex, kInitialResolution);
    EXPECT_EQ(dialog.Result().antiAliasingIndex, kInitialAntiAliasing);
    EXPECT_TRUE(dialog.Result().fullscreen);
    EXPECT_FALSE(dialog.Result().exit);

    // The window gets what the entries shown at opening say, whatever it had before.
    const char* resolutionShown = kResolutionChoices[kInitialResolution].text;
    const char* antiAliasingShown = kAntiAliasingChoices[kInitialAntiAliasing].text;
    cWindowsSystem system;
    system.SetSize(1, 1);
    system.SetFullscreen(false);
    system.SetAntiAliasing(false);
    system.SetSamples(0);
    EXPECT_EQ(system.ApplySettings(dialog.Result()), 0);
    EXPECT_EQ(std::pair(system.Width(), system.Height()), SizeInLabel(resolutionShown)) << resolutionShown;
    EXPECT_TRUE(system.IsFullscreen());
    EXPECT_EQ(system.SamplesWanted(), SamplesInLabel(antiAliasingShown)) << antiAliasingShown;
    EXPECT_EQ(system.AntiAliasing(), system.SamplesWanted() > 0) << antiAliasingShown;
}

TEST(SettingsDialog, ExitAndCloseLeaveTheSelectionsOutAndKeepTheLastRun) {
    SettingsDialog dialog;
    dialog.Open();
    const int last = kResolutionCount - 1;
    dialog.SelectResolution(last);
    dialog.SetFullscreenChecked(false);
    dialog.Run();

    // A second showing starts from the initial selections again; leaving it keeps the last run.
    dialog.Open();
    EXPECT_EQ(dialog.ResolutionSelection(), kInitialResolution);
    EXPECT_TRUE(dialog.FullscreenChecked());
    dialog.SelectResolution(0);
    dialog.Exit();  // "Exit", the close box and a closed window all come here
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(dialog.Result().exit);
    EXPECT_EQ(dialog.Result().resolutionIndex, last);
    EXPECT_FALSE(dialog.Result().fullscreen);

    cWindowsSystem system;
    system.SetSize(1024, 768);
    EXPECT_EQ(system.ApplySettings(dialog.Result()), 1);
    EXPECT_EQ(system.Width(), 1024);  // nothing applied on exit
    EXPECT_TRUE(system.IsFullscreen());
}

// Choosing an entry gives the window the size its label names; the list runs from small to
// large without repeats, every size a plausible window (at least 640 x 480, between 4:3 and 16:9).
TEST(SettingsDialog, EveryResolutionSetsTheSizeItsLabelNames) {
    ASSERT_GT(kResolutionCount, 1);
    std::pair<int, int> previous{0, 0};
    for (int i = 0; i < kResolutionCount; ++i) {
        const char* label = kResolutionChoices[i].text;
        const std::pair<int, int> named = SizeInLabel(label);
        SettingsDialog dialog;
        dialog.Open();
        dialog.SelectResolution(i);
        dialog.SetFullscreenChecked(false);
        dialog.Run();
        cWindowsSystem system;
        system.SetSize(1, 1);
        system.ApplySettings(dialog.Result());
        EXPECT_EQ(std::pair(system.Width(), system.Height()), named) << label;
        EXPECT_FALSE(system.IsFullscreen());

        EXPECT_GE(named.first, 640) << label;
        EXPECT_GE(named.second, 480) << label;
        const double aspect = double(named.first) / std::max(named.second, 1);
        EXPECT_GE(aspect, 4.0 / 3.0 - 1e-9) << label;
        EXPECT_LE(aspect, 16.0 / 9.0 + 1e-9) << label;
        EXPECT_GT(named, previous) << label << " after " << previous.first << "x" << previous.second;
        previous = named;
    }
}

// Each level turns multisampling on exactly when its label asks for samples, and asks for the
// count the label names; the levels grow from "No AA" upwards.
TEST(SettingsDialog, EveryAntiAliasingLevelAsksForTheSamplesItsLabelNames) {
    ASSERT_GT(kAntiAliasingCount, 1);
    EXPECT_EQ(SamplesInLabel(kAntiAliasingChoices[0].text), 0) << kAntiAliasingChoices[0].text;
    int previous = -1;
    for (int i = 0; i < kAntiAliasingCount; ++i) {
        const char* label = kAntiAliasingChoices[i].text;
        const int named = SamplesInLabel(label);
        EXPECT_GT(named, previous) << label;
        previous = named;
        EXPECT_EQ(SamplesForAntiAliasing(i), named) << label;
        SettingsResult result;
        result.resolutionIndex = kInitialResolution;
        result.antiAliasingIndex = i;
        cWindowsSystem system;
        system.SetAntiAliasing(named == 0);  // the opposite of what the level says
        system.SetSamples(named == 0 ? 4 : 0);
        system.ApplySettings(result);
        EXPECT_EQ(system.AntiAliasing(), named != 0) << label;
        EXPECT_EQ(system.SamplesWanted(), named) << label;
    }
    EXPECT_EQ(SamplesForAntiAliasing(-1), -1);
    EXPECT_EQ(SamplesForAntiAliasing(kAntiAliasingCount), -1);
}

TEST(SettingsDialog, IndicesOutsideTheListsLeaveTheirValues) {
    // Values no entry of either list gives, so any entry applied by mistake shows.
    cWindowsSystem system;
    system.SetSize(1001, 701);
    system.SetAntiAliasing(false);
    system.SetSamples(3);
    system.SetFullscreen(true);
    SettingsResult result;
    for (int bad : {-1, 0, 1000}) {  // 0: one past each list's end
        result.resolutionIndex = bad == 0 ? kResolutionCount : bad;
        result.antiAliasingIndex = bad == 0 ? kAntiAliasingCount : bad;
        result.fullscreen = false;
        EXPECT_EQ(system.ApplySettings(result), 0);
        EXPECT_EQ(system.Width(), 1001);
        EXPECT_EQ(system.Height(), 701);
        EXPECT_FALSE(system.AntiAliasing());
        EXPECT_EQ(system.SamplesWanted(), 3);
        EXPECT_FALSE(system.IsFullscreen());  // the box always applies
    }
    // Selections outside the lists are refused while the dialog is up.
    SettingsDialog dialog;
    dialog.Open();
    dialog.SelectResolution(kResolutionCount);
    dialog.SelectAntiAliasing(-1);
    EXPECT_EQ(dialog.ResolutionSelection(), kInitialResolution);
    EXPECT_EQ(dialog.AntiAliasingSelection(), kInitialAntiAliasing);
}

// From the largest level down, a refused count falls through every smaller level of the list to
// a plain format and stops there; a count between levels falls to the next one below.
TEST(SettingsDialog, RefusedSampleCountsFallBackDownwards) {
    std::vector<int> tried, levels;
    for (int i = kAntiAliasingCount - 1; i >= 0; --i) levels.push_back(SamplesForAntiAliasing(i));
    for (int s = levels.front();; s = FewerSamples(s)) {
        tried.push_back(s);
        if (s == 0 || tried.size() > 20) break;
    }
    for (int level : levels)
        EXPECT_NE(std::find(tried.begin(), tried.end(), level), tried.end()) << level << " is never tried";
    EXPECT_TRUE(std::is_sorted(tried.rbegin(), tried.rend()) && std::adjacent_find(tried.begin(), tried.end()) == tried.end());
    EXPECT_EQ(tried.back(), 0);
    EXPECT_EQ(FewerSamples(0), 0);
    EXPECT_EQ(FewerSamples(3), 2);
    // A window nobody configured still asks for multisampling, with a count to fall back to,
    // whatever its flag says.
    cWindowsSystem system;
    system.SetAntiAliasing(false);
    EXPECT_GT(FewerSamples(system.SamplesWanted()), 0);
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
    EXPECT_EQ(dialog.ResolutionSelection(), kInitialResolution + 2);
    for (int i = 0; i < 20; ++i) dialog.Key(eSettingsKey::Up);  // stops at the top, no wrap
    EXPECT_EQ(dialog.ResolutionSelection(), 0);

    dialog.Key(eSettingsKey::Tab);  // tab order: Run, Exit, Resolution, Fullscreen, AntiAliasing
    EXPECT_EQ(dialog.Focused(), eSettingsControl::Fullscreen);
    dialog.Key(eSettingsKey::Space);
    EXPECT_FALSE(dialog.FullscreenChecked());
    dialog.Key(eSettingsKey::Tab);
    EXPECT_EQ(dialog.Focused(), eSettingsControl::AntiAliasing);
    for (int i = 0; i < kAntiAliasingCount; ++i) dialog.Key(eSettingsKey::Up);
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
    bool opened = false;
    {
        VantorGLTest::WorkingFolder dataHome(QUENLITE_SOURCE_DIR);
        opened = view.Open(gl.Window(), false);
    }
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
