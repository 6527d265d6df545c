// cSceneSystem: window tests and the two drivers.
#include "timeline/SceneSystem.h"

#include "timeline/TimeCode.h"
#include "timeline/TimeSystem.h"

namespace VantorGL {

void cSceneTimer::SetStart(const char* code) { start = ParseTimeCode(code); }
void cSceneTimer::SetEnd(const char* code) { end = ParseTimeCode(code); }
void cSceneTimer::SetTimeWindow(const char* startCode, const char* endCode) {
    SetStart(startCode);
    SetEnd(endCode);
}

void cSceneSystem::LatchBase() {
    if (!firstCall) return;
    cTimeSystem* clock = cTimeSystem::Instance();
    timer.base = clock->Now();
    timer.elapsed = clock->Now() - timer.base;
    firstCall = false;
}

int cSceneSystem::RunUpdate() {
    LatchBase();
    cTimeSystem* clock = cTimeSystem::Instance();
    timer.elapsed = clock->Now() - timer.base;
    if (disabled) return 0;
    if (IsActive()) {
        localTime += clock->Delta();
        Update();
    }
    return 0;
}

int cSceneSystem::RunRender() {
    LatchBase();
    if (disabled) return 0;
    if (IsActive()) Render();
    return 0;
}

}  // namespace VantorGL
