// Entry point of `quenlite`: reads no command line and no environment. It opens the log,
// configures the one application object and runs it.
#include "shell/Trova01.h"
#include "timeline/DebugSystem.h"

// The application object: static, constructed before main and destroyed after it.
static Trova01 application;

int main() {
    VantorGL::cDebugSystem::Instance()->Open("debug.log");
    application.ConfigureForDemo();
    int result = application.Run();
    // A run that never got a window is a failure, whatever Run returns.
    return application.WindowFailed() ? 1 : result;
}
