// FatalError: the one way the program ends the process on a fatal condition (OpenGL older than
// 2.1: exit 1; no framebuffer objects: exit 99; a particle pool misuse: exit 10). The handler
// is a seam so tests can watch it without exiting.
#pragma once

struct SDL_Window;

namespace VantorGL {

// The window a fatal stop must hand back first (the window system registers one while it has a
// window). LeaveFullscreenForMessage restores the desktop's display mode and cursor and returns
// the window to own the message box (nullptr: none); TearDownForExit destroys context and window.
class cFatalErrorDisplay {
public:
    virtual ~cFatalErrorDisplay() = default;
    virtual SDL_Window* LeaveFullscreenForMessage() = 0;
    virtual void TearDownForExit() = 0;
};

// Names the display the default handler restores (nullptr: none).
void SetFatalErrorDisplay(cFatalErrorDisplay* display);
// Forgets `display` if it is the one named; another display stays.
void ClearFatalErrorDisplay(cFatalErrorDisplay* display);

// Receives the module tag, the exit code, the message-box caption (nullptr: no box) and the text.
using FatalErrorHandler = void (*)(const char* module, int exitCode, const char* caption,
                                   const char* text);

// Says text on stderr as "MODULE: text"; when a display is named, takes it out of fullscreen;
// shows the text in a message box owned by its window (no owner without one) when a caption is
// given (that fails quietly without a display; the stderr line remains); tears the window down
// and ends the process with exitCode. Under a test handler it returns, and the caller carries on
// harmlessly (each caller documents how).
void FatalError(const char* module, int exitCode, const char* caption, const char* text);

// Replaces the handler and returns the previous one; nullptr restores the default above.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

}  // namespace VantorGL
