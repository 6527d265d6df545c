// FatalError: stderr line, message box, exit; replaceable for tests.
#include "render/FatalError.h"

#include "shell/Console.h"
#include "shell/MessageBox.h"

#include <cstdlib>

namespace VantorGL {

static void DefaultFatalError(const char* module, int exitCode, const char* caption, const char* text) {
    // The stderr line names the module and the text, so it reads the same with or without a box.
    ConsolePrint(module, "%s", text);
    if (caption) ShowMessageBoxOnly(caption, text, cMessageIcon::Error);
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
