// Message boxes through SDL, echoed on stderr.
#include "shell/MessageBox.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#include <SDL2/SDL.h>

#include <string>

namespace VantorGL {

namespace {

// Message texts keep their line breaks in the box; on stderr they are folded onto one line.
std::string OneLine(const char* text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line;
}

Uint32 SdlFlags(cMessageIcon icon) {
    switch (icon) {
        case cMessageIcon::Error: return SDL_MESSAGEBOX_ERROR;
        case cMessageIcon::Warning: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

// SDL message boxes need a real display; the offscreen and dummy drivers have none.
bool HasDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver) return SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0;
    return SystemHasDesktop();
}

}  // namespace

void ShowMessageBoxOnly(const char* caption, const char* text, cMessageIcon icon, SDL_Window* owner) {
    if (HasDisplay()) SDL_ShowSimpleMessageBox(SdlFlags(icon), caption, text, owner);
}

void ShowMessage(const char* module, const char* caption, const char* text, cMessageIcon icon) {
    ConsolePrint(module, "%s: %s", caption, OneLine(text).c_str());
    ShowMessageBoxOnly(caption, text, icon);
}

bool AskYesNo(const char* module, const char* caption, const char* text, bool answerWithoutDisplay) {
    ConsolePrint(module, "%s: %s", caption, OneLine(text).c_str());
    if (!HasDisplay()) {
        ConsolePrint(module, "no display to ask on; answering %s", answerWithoutDisplay ? "Yes" : "No");
        return answerWithoutDisplay;
    }
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_WARNING, nullptr, caption, text, 2, buttons, nullptr};
    int chosen = -1;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        // A display that cannot draw SDL's box (an X server without its core fonts, say) gets
        // the same default answer as no display, and the console says why.
        ConsolePrint(module, "no box could be shown (%s); answering %s", SDL_GetError(),
                     answerWithoutDisplay ? "Yes" : "No");
        return answerWithoutDisplay;
    }
    return chosen == 1;
}

}  // namespace VantorGL
