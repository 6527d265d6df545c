// Message boxes: the demo's few fatal and shutdown messages, shown through SDL and always echoed
// on stderr, so a machine without a display still tells the user what happened.
#pragma once

struct SDL_Window;

namespace VantorGL {

enum class cMessageIcon { Error, Warning, Information };

// Shows `text` with `caption` and one OK button; also prints "<module>: <caption>: <text>" on
// stderr. Works before and after a window exists, and with no display at all.
void ShowMessage(const char* module, const char* caption, const char* text, cMessageIcon icon);

// The box alone, without the stderr line (for callers that print their own), owned by `owner`
// when one is given; nothing happens without a display.
void ShowMessageBoxOnly(const char* caption, const char* text, cMessageIcon icon, SDL_Window* owner = nullptr);

// Asks a Yes/No question. Returns true for Yes. Without a display the question goes to stderr
// and the answer is `answerWithoutDisplay`.
bool AskYesNo(const char* module, const char* caption, const char* text, bool answerWithoutDisplay);

}  // namespace VantorGL
