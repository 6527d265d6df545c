// OfflineDriver: the fixed-step clock and the headless window around the application's Run.
#include "offline/OfflineDriver.h"

#include "shell/Platform.h"

#include <SDL2/SDL.h>

OfflineDriver::OfflineDriver(TimedApplication& app, int fps) : application(app), counter(fps) {
    VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
}

OfflineDriver::~OfflineDriver() { VantorGL::cTimeSystem::Instance()->UseCounter(nullptr); }

void OfflineDriver::RestartTimeline() {
    counter.SetTicks(0);
    application.RestartDemo();
}

bool OfflineDriver::Run(VantorGL::cFrameHooks& hooks, int width, int height) {
    // No display: SDL's offscreen driver renders through EGL on whatever GL the machine has.
    if (!VantorGL::SystemHasDesktop()) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    application.ConfigureForDemo();
    application.SetFullscreen(false);
    application.SetSize(width, height);
    application.AllowHeadless(true);
    application.SetFrameHooks(&hooks);
    application.Run();
    application.SetFrameHooks(nullptr);
    return !application.WindowFailed();
}
