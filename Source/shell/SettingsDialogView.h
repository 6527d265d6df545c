// SettingsDialogView: draws the start-up settings dialog with Dear ImGui inside an SDL window
// with a current OpenGL context, laid out like its dialog template, and feeds it the viewer's
// mouse and keys. The dialog's behaviour lives in SettingsDialog.
#pragma once

#include "assets/DataManifest.h"
#include "shell/ImGuiWindowContext.h"

#include <vector>

struct SDL_Window;
union SDL_Event;

namespace VantorGL {

class SettingsDialog;

// The template is measured in dialog units of its font, "MS Shell Dlg" 8 pt, whose base units
// at 96 dpi are 6 x 13 pixels: a unit is a quarter of 6 wide and an eighth of 13 high.
constexpr float kDialogUnitX = 6.0f / 4.0f;
constexpr float kDialogUnitY = 13.0f / 8.0f;
constexpr int kDialogWidthUnits = 204;
constexpr int kDialogHeightUnits = 167;
// The window's client size for the dialog: 306 x 271 pixels.
constexpr int kDialogWidthPixels = int(kDialogWidthUnits * kDialogUnitX);
constexpr int kDialogHeightPixels = int(kDialogHeightUnits * kDialogUnitY);

constexpr const char* kDialogCaption = "Moravel :: VantorGL";
constexpr const char* kBannerPath = kBannerPicturePath;  // drawn at its own size

class cSettingsDialogView {
public:
    cSettingsDialogView() = default;
    cSettingsDialogView(const cSettingsDialogView&) = delete;
    cSettingsDialogView& operator=(const cSettingsDialogView&) = delete;
    ~cSettingsDialogView() { Close(); }

    // Starts ImGui on `window`, whose GL context must be current. With `fitWindow` the window
    // becomes the dialog: windowed, the dialog's caption and size, centred, cursor shown.
    // A missing banner is said on stderr and leaves its place empty. False (with a SETTINGS line)
    // when ImGui cannot start on this window.
    bool Open(SDL_Window* window, bool fitWindow = true);
    // One SDL event: the close box and the quit event are "Exit", keys go to the dialog, the
    // mouse goes to ImGui.
    void HandleEvent(const SDL_Event& event, SettingsDialog& dialog);
    // Draws one frame of the dialog into the back buffer (the caller swaps); mouse choices made
    // in it reach `dialog`.
    void DrawFrame(SettingsDialog& dialog);
    // Frees the banner, the font texture and the ImGui context. Safe to call twice.
    void Close();

    bool HasBanner() const { return banner != 0; }

private:
    SDL_Window* window = nullptr;
    cImGuiWindowContext imgui;
    unsigned banner = 0;  // GL texture name, 0 when the picture could not be read
    int bannerWidth = 0, bannerHeight = 0;
    std::vector<unsigned char> fontFile;  // the dialog font's bytes, kept while ImGui uses them
    int lastResolution = -1, lastAntiAliasing = -1;  // to scroll a dropped list to a key's choice
};

}  // namespace VantorGL
