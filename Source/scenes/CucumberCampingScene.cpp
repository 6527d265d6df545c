// cCucumberCampingScene: set-up of the closing canyon scene.
#include "scenes/CucumberCampingScene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cCucumberCampingScene::Init() {
    ScenePatternFont(font);
    sceneClock = 0.0;
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetC.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetD.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetE.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    ScenePatternGlState();
    ScenePatternCamera(camera, 1, 10000);
    return 0;
}

}  // namespace VantorGL
