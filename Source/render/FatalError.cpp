// FatalError: stderr line, message box, exit; replaceable for tests.
#include "render/FatalError.h"

#include "shell/Console.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace VantorGL {

static void DefaultFatalError(const char* module, int exitCode, const char* caption, const char* text) {
    ConsolePrint(module, "%s", text);
    if (caption) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
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
