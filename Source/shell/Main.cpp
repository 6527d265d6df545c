// Entry point of `quenlite`: reads no command line. It finds the data folder, opens the log,
// configures the one application object and runs it.
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
    int result = application.Run();
    // A run that never got a window is a failure, whatever Run returns.
    return application.WindowFailed() ? 1 : result;
}
