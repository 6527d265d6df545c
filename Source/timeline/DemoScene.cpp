// cDemoScene: loading, the dispatch order of the scenes and the per-frame log line.
#include "timeline/DemoScene.h"

#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

namespace VantorGL {

int cDemoScene::Init() {
    cDebugSystem::Instance()->Log("cDemoScene", "Dette er ifra Init(void)");
    cTimeSystem::Instance()->Reset();
    return 0;
}

void cDemoScene::Update() {}

void cDemoScene::Render() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    cDebugSystem::Instance()->Log("cDemoScene()", timer.elapsed);
}

}  // namespace VantorGL
