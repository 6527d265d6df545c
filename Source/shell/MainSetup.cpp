// Entry point of `quenlite-setup`: the demo exactly as `quenlite` plays it, except that the
// settings dialog comes first (resolution, fullscreen, anti-aliasing, or leave).
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"

// The application object: static, constructed before main and destroyed after it.
static Trova01 application;

int main() {
    VantorGL::cDebugSystem::Instance()->Open("debug.log");
    application.ConfigureForDemo();
    application.SetShowSettings(true);
    int result = application.Run();
    // A run that never got a window is a failure, whatever Run returns.
    return application.WindowFailed() ? 1 : result;
}
