// SettingsDialogView: the settings dialog on Dear ImGui (SDL2 and OpenGL 2 backends), and the
// modal loop of SettingsDialog::Show.
#include "shell/SettingsDialogView.h"

#include "assets/DataPath.h"
#include "assets/PictureDecoder.h"
#include "shell/Console.h"
#include "shell/Platform.h"
#include "shell/SettingsDialog.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace VantorGL {

namespace {

// Liberation Sans, the metric twin of Arial, stands in for "MS Shell Dlg". It runs wider, so at
// 12 pixels the labels keep to their widths in the layout ("Anti-Aliasing:" in 43 units).
constexpr const char* kDialogFontFamily = "Liberation Sans";
constexpr float kDialogFontPixels = 12.0f;

// Colours of the production: deep navy, glacier blue, ice white, cyan glass.
ImVec4 Colour(std::uint32_t rgb, float alpha = 1.0f) {
    return ImVec4(float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f,
                  alpha);
}
constexpr std::uint32_t kDeepNavy = 0x0A1430, kGlacierBlue = 0x7FB4E6, kIceWhite = 0xF4F8FF, kCyanGlass = 0x9FF0FF;

// A control's place in the template, in dialog units.
struct sTemplateRect {
    float x, y, width, height;
};
constexpr sTemplateRect kRunButton = {144, 146, 50, 14};
constexpr sTemplateRect kExitButton = {86, 146, 50, 14};
constexpr sTemplateRect kBanner = {7, 7, 187, 28};
constexpr sTemplateRect kResolutionList = {51, 95, 143, 77};  // height: with the list dropped down
constexpr sTemplateRect kResolutionLabel = {7, 97, 37, 8};
constexpr sTemplateRect kFullscreenBox = {51, 126, 48, 10};
constexpr sTemplateRect kAntiAliasingList = {51, 110, 46, 77};
constexpr sTemplateRect kAntiAliasingLabel = {7, 112, 43, 8};

ImVec2 Pixels(float xUnits, float yUnits) { return ImVec2(xUnits * kDialogUnitX, yUnits * kDialogUnitY); }
void PlaceAt(const sTemplateRect& rect) { ImGui::SetCursorPos(Pixels(rect.x, rect.y)); }

// The dialog font's file as the system finds it; empty when only a non-TrueType face matches
// (ImGui's rasteriser reads TrueType outlines), and ImGui's own font is used.
std::string FindDialogFont() {
    std::string path;
    int faceIndex = 0;
    if (!FindSystemFont(kDialogFontFamily, path, faceIndex) || faceIndex != 0) return {};
    if (path.size() < 4 || (path.compare(path.size() - 4, 4, ".ttf") != 0 && path.compare(path.size() - 4, 4, ".TTF") != 0))
        path.clear();
    return path;
}

void ApplyStyle() {
    ImGuiStyle& style = ImGui::GetStyle();
    ImGui::StyleColorsDark(&style);
    style.WindowPadding = ImVec2(4, 4);  // the dropped lists; the face places by template units
    style.WindowBorderSize = 0;
    style.FramePadding = ImVec2(5, 3);
    style.FrameBorderSize = 1;
    style.FrameRounding = 2;
    style.PopupBorderSize = 1;
    style.ScrollbarSize = 12;
    ImVec4* c = style.Colors;
    c[ImGuiCol_WindowBg] = Colour(0x101D3C);
    c[ImGuiCol_PopupBg] = Colour(kDeepNavy);
    c[ImGuiCol_Text] = Colour(kIceWhite);
    c[ImGuiCol_Border] = Colour(kGlacierBlue, 0.45f);
    c[ImGuiCol_FrameBg] = Colour(kDeepNavy);
    c[ImGuiCol_FrameBgHovered] = Colour(0x16305A);
    c[ImGuiCol_FrameBgActive] = Colour(0x1E3F70);
    c[ImGuiCol_Button] = Colour(0x1E3F70);
    c[ImGuiCol_ButtonHovered] = Colour(0x2F5C8E);
    c[ImGuiCol_ButtonActive] = Colour(kGlacierBlue, 0.8f);
    c[ImGuiCol_Header] = Colour(0x2F5C8E);
    c[ImGuiCol_HeaderHovered] = Colour(kGlacierBlue, 0.55f);
    c[ImGuiCol_HeaderActive] = Colour(kGlacierBlue, 0.8f);
    c[ImGuiCol_CheckMark] = Colour(kCyanGlass);
    c[ImGuiCol_ScrollbarBg] = Colour(kDeepNavy);
    c[ImGuiCol_ScrollbarGrab] = Colour(0x2F5C8E);
}

// The focus mark: a thin cyan frame just outside the control that has the keyboard.
void MarkFocus(ImVec2 min, ImVec2 max) {
    ImGui::GetWindowDrawList()->AddRect(ImVec2(min.x - 2, min.y - 2), ImVec2(max.x + 2, max.y + 2),
                                        ImGui::GetColorU32(Colour(kCyanGlass, 0.9f)), 3.0f, 0, 1.0f);
}

// One drop-down list. The dialog says whether it is down; ImGui's combo popup follows it, and
// opening or choosing with the mouse is told back. `lastSelection` remembers the selection last
// drawn, so a key that moves it scrolls the dropped list to the new choice.
template <typename Choice, int Count>
void DrawList(SettingsDialog& dialog, eSettingsControl which, const char* label, const sTemplateRect& rect,
              const Choice (&choices)[Count], int selection, int& lastSelection) {
    PlaceAt(rect);
    ImVec2 min = ImGui::GetCursorScreenPos();
    float width = rect.width * kDialogUnitX;
    ImVec2 max(min.x + width, min.y + ImGui::GetFrameHeight());

    // ImGui keys a combo's popup on "##ComboPopup" seeded with the combo's own id.
    ImGuiID popupId = ImHashStr("##ComboPopup", 0, ImGui::GetID(label));
    bool wantDown = dialog.Dropped() == which;
    if (wantDown && !ImGui::IsPopupOpen(popupId, ImGuiPopupFlags_None)) ImGui::OpenPopupEx(popupId);

    // The template's height covers the closed list and the dropped part. The dialog is a window
    // of its own here, so the dropped part also stops at the window's bottom edge; with room for
    // fewer than three entries ImGui opens it upwards instead.
    float listHeight = rect.height * kDialogUnitY - (max.y - min.y);
    float roomBelow = ImGui::GetIO().DisplaySize.y - ImGui::GetStyle().DisplaySafeAreaPadding.y - max.y - 1.0f;
    if (roomBelow >= 3.0f * ImGui::GetTextLineHeightWithSpacing() + 2.0f * ImGui::GetStyle().WindowPadding.y)
        listHeight = roomBelow < listHeight ? roomBelow : listHeight;
    ImGui::SetNextWindowSizeConstraints(ImVec2(width, 0), ImVec2(width, listHeight));
    ImGui::SetNextItemWidth(width);
    if (ImGui::BeginCombo(label, choices[selection].text)) {
        if (ImGui::IsWindowAppearing())
            dialog.DropDown(which);  // opened by a click or by a key; takes the focus
        else if (!wantDown)
            ImGui::CloseCurrentPopup();  // folded by a key
        for (int i = 0; i < Count; ++i) {
            bool chosen = i == selection;
            if (ImGui::Selectable(choices[i].text, chosen)) {
                if (which == eSettingsControl::Resolution)
                    dialog.SelectResolution(i);
                else
                    dialog.SelectAntiAliasing(i);
                dialog.DropDown(eSettingsControl::Run);
            }
            if (chosen && (ImGui::IsWindowAppearing() || selection != lastSelection)) ImGui::SetScrollHereY();
        }
        ImGui::EndCombo();
    } else if (wantDown) {
        dialog.DropDown(eSettingsControl::Run);  // closed by a click elsewhere
    }
    lastSelection = selection;
    if (dialog.Focused() == which) MarkFocus(min, max);
}

// A push button; the default one ("Run") carries a brighter frame, as a default button does.
bool DrawButton(SettingsDialog& dialog, eSettingsControl which, const char* text, const sTemplateRect& rect,
                bool isDefault) {
    PlaceAt(rect);
    if (isDefault) {
        ImGui::PushStyleColor(ImGuiCol_Border, Colour(kGlacierBlue));
        ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
    }
    bool pressed = ImGui::Button(text, Pixels(rect.width, rect.height));
    if (isDefault) {
        ImGui::PopStyleVar();
        ImGui::PopStyleColor();
    }
    if (ImGui::IsItemActivated()) dialog.Focus(which);
    if (dialog.Focused() == which) MarkFocus(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
    return pressed;
}

// A static label, placed like the template's and vertically centred on its list's frame.
void DrawLabel(const char* text, const sTemplateRect& rect, const sTemplateRect& list) {
    ImVec2 at = Pixels(rect.x, list.y);
    at.y += ImGui::GetStyle().FramePadding.y;
    ImGui::SetCursorPos(at);
    ImGui::TextUnformatted(text);
}

}  // namespace

bool cSettingsDialogView::Open(SDL_Window* target, bool fitWindow) {
    Close();
    if (!target || !SDL_GL_GetCurrentContext()) {
        ConsolePrint("SETTINGS", "no window with an OpenGL context to show the dialog in");
        return false;
    }
    window = target;
    if (fitWindow) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowTitle(window, kDialogCaption);
        SDL_SetWindowResizable(window, SDL_FALSE);
        SDL_SetWindowSize(window, kDialogWidthPixels, kDialogHeightPixels);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        SDL_ShowCursor(SDL_ENABLE);
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
    }

    if (!imgui.Open(window)) {
        ConsolePrint("SETTINGS", "Dear ImGui cannot start on this window");
        Close();
        return false;
    }
    ImGuiIO& io = ImGui::GetIO();
    ApplyStyle();

    std::string fontPath = FindDialogFont();
    if (!fontPath.empty()) {
        std::ifstream in(PathFromText(fontPath), std::ios::binary);
        fontFile.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ImFont* font = nullptr;
    if (!fontFile.empty()) {
        ImFontConfig config;
        config.FontDataOwnedByAtlas = false;  // fontFile keeps the bytes
        font = io.Fonts->AddFontFromMemoryTTF(fontFile.data(), int(fontFile.size()), kDialogFontPixels, &config);
    }
    if (!font) io.Fonts->AddFontDefault();

    cRawImage picture;
    std::string error;
    std::string path = ResolveDataPath(kBannerPath);
    if (DecodeImageFile(path, picture, error)) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // Its own size: OpenGL 2.1 takes sides that are not powers of two.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.width, picture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     picture.rgba.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        banner = name;
        bannerWidth = picture.width;
        bannerHeight = picture.height;
    } else {
        ConsolePrint("SETTINGS", "%s: %s", kBannerPath, error.c_str());
    }
    lastResolution = lastAntiAliasing = -1;
    return true;
}

void cSettingsDialogView::Close() {
    if (banner) {
        GLuint name = banner;
        glDeleteTextures(1, &name);
        banner = 0;
    }
    imgui.Close();
    fontFile.clear();
    window = nullptr;
}

void cSettingsDialogView::HandleEvent(const SDL_Event& event, SettingsDialog& dialog) {
    if (!imgui.IsOpen()) return;
    switch (event.type) {
        case SDL_QUIT:
            dialog.Exit();
            return;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                dialog.Exit();
                return;
            }
            break;
        case SDL_KEYDOWN: {
            bool shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
            switch (event.key.keysym.sym) {
                case SDLK_UP: dialog.Key(eSettingsKey::Up); return;
                case SDLK_DOWN: dialog.Key(alt ? eSettingsKey::OpenList : eSettingsKey::Down); return;
                case SDLK_LEFT: dialog.Key(eSettingsKey::Left); return;
                case SDLK_RIGHT: dialog.Key(eSettingsKey::Right); return;
                case SDLK_TAB: dialog.Key(eSettingsKey::Tab, shift); return;
                case SDLK_SPACE: dialog.Key(eSettingsKey::Space); return;
                case SDLK_RETURN: case SDLK_KP_ENTER: dialog.Key(eSettingsKey::Enter); return;
                case SDLK_ESCAPE: dialog.Key(eSettingsKey::Escape); return;
                case SDLK_F4: dialog.Key(eSettingsKey::OpenList); return;
                default: break;
            }
            break;
        }
        default:
            break;
    }
    imgui.ProcessEvent(event);
}

void cSettingsDialogView::DrawFrame(SettingsDialog& dialog) {
    if (!imgui.IsOpen()) return;
    imgui.NewFrame();

    ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("##settings", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoNav);

    PlaceAt(kBanner);
    if (banner)
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(banner)),
                     ImVec2(float(bannerWidth), float(bannerHeight)));

    DrawLabel("Resolution:", kResolutionLabel, kResolutionList);
    DrawLabel("Anti-Aliasing:", kAntiAliasingLabel, kAntiAliasingList);

    // The fullscreen box and the buttons first: an open list is drawn over them.
    PlaceAt(kFullscreenBox);
    bool checked = dialog.FullscreenChecked();
    if (ImGui::Checkbox("Fullscreen", &checked)) dialog.SetFullscreenChecked(checked);
    if (ImGui::IsItemActivated()) dialog.Focus(eSettingsControl::Fullscreen);
    if (dialog.Focused() == eSettingsControl::Fullscreen) MarkFocus(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());

    bool exitPressed = DrawButton(dialog, eSettingsControl::Exit, "Exit", kExitButton, false);
    bool runPressed = DrawButton(dialog, eSettingsControl::Run, "Run", kRunButton, true);

    DrawList(dialog, eSettingsControl::AntiAliasing, "##antialiasing", kAntiAliasingList, kAntiAliasingChoices,
             dialog.AntiAliasingSelection(), lastAntiAliasing);
    DrawList(dialog, eSettingsControl::Resolution, "##resolution", kResolutionList, kResolutionChoices,
             dialog.ResolutionSelection(), lastResolution);

    ImGui::End();
    ImGui::Render();

    int pixelsWide = 0, pixelsHigh = 0;
    SDL_GL_GetDrawableSize(window, &pixelsWide, &pixelsHigh);
    glViewport(0, 0, pixelsWide, pixelsHigh);
    ImVec4 background = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    glClearColor(background.x, background.y, background.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    imgui.DrawRendered();

    // Buttons act after the frame is complete, as a click's release would.
    if (exitPressed) dialog.Exit();
    else if (runPressed) dialog.Run();
}

SettingsResult SettingsDialog::Show(SDL_Window* window) {
    Open();
    cSettingsDialogView view;
    if (!view.Open(window)) {
        Exit();
        return result;
    }
    SDL_Event event;
    while (open) {
        // Wait for the viewer rather than spin: the dialog changes only on input.
        if (SDL_WaitEventTimeout(&event, 100)) {
            view.HandleEvent(event, *this);
            while (open && SDL_PollEvent(&event)) view.HandleEvent(event, *this);
        }
        if (!open) break;
        view.DrawFrame(*this);
        SDL_GL_SwapWindow(window);
    }
    view.Close();
    return result;
}

}  // namespace VantorGL
