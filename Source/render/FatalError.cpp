// FatalError: stderr line, message box, exit; replaceable for tests.
#include "render/FatalError.h"

#include "shell/Console.h"
#include "shell/MessageBox.h"

#include <cstdlib>

namespace VantorGL {

static cFatalErrorDisplay* fatalErrorDisplay = nullptr;

void SetFatalErrorDisplay(cFatalErrorDisplay* display) { fatalErrorDisplay = display; }

void ClearFatalErrorDisplay(cFatalErrorDisplay* display) {
    if (fatalErrorDisplay == display) fatalErrorDisplay = nullptr;
}

static void DefaultFatalError(const char* module, int exitCode, const char* caption, const char* text) {
    // The stderr line names the module and the text, so it reads the same with or without a box.
    ConsolePrint(module, "%s", text);
    // A changed display mode could outlive the process, and a box behind a fullscreen window
    // would look like a hang: the desktop comes back before the box.
    cFatalErrorDisplay* display = fatalErrorDisplay;
    SDL_Window* owner = display ? display->LeaveFullscreenForMessage() : nullptr;
    if (caption) ShowMessageBoxOnly(caption, text, cMessageIcon::Error, owner);
    if (display) display->TearDownForExit();
    std::exit(exitCode);
}

static FatalErrorHandler fatalErrorHandler = DefaultFatalError;

void FatalError(const char* module, int exitCode, const char* caption, const char* text) {
    fatalErrorHandler(module, exitCode, caption, text);
}

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
    FatalErrorHandler previous = fatalErrorHandler;
    fatalErrorHandler = handler ? handler : DefaultFatalError;
    return previous == DefaultFatalError ? nullptr : previous;
}

}  // namespace VantorGL
