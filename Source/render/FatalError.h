// FatalError: the one way the renderer ends the process (no framebuffer objects: exit 99; a
// particle pool misuse: exit 10). The handler is a seam so tests can watch it without exiting.
#pragma once

namespace VantorGL {

// Receives the module tag, the exit code, the message-box caption (nullptr: no box) and the text.
using FatalErrorHandler = void (*)(const char* module, int exitCode, const char* caption,
                                   const char* text);

// Says text on stderr as "MODULE: text", shows it in a message box with no owner window when a
// caption is given (that fails quietly without a display; the stderr line remains), then ends
// the process with exitCode. Under a test handler it returns, and the caller carries on
// harmlessly (each caller documents how).
void FatalError(const char* module, int exitCode, const char* caption, const char* text);

// Replaces the handler and returns the previous one; nullptr restores the default above.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

}  // namespace VantorGL
