// Entry point of `quenlite-setup`: the demo exactly as `quenlite` plays it, except that the
// settings dialog comes first (resolution, fullscreen, anti-aliasing, or leave).
#include "shell/ProgramFolders.h"
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"

// The application object: static, constructed before main and destroyed after it.
static Trova01 application;

int main() {
    // Started away from the data (double-clicked, or installed), the demo moves to it first; the log
    // then opens in that folder, or in the user's state folder where it cannot be written.
    VantorGL::EnterDataFolder("APP");
    VantorGL::cDebugSystem::Instance()->Open(VantorGL::DebugLogPath().c_str());
    application.ConfigureForDemo();
    application.SetShowSettings(true);
    int result = application.Run();
    // A run that never got a window is a failure, whatever Run returns.
    return application.WindowFailed() ? 1 : result;
}
