// cTavikIsleScene: set-up of the glass figure and greetings scene.
#include "scenes/TavikIsleScene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cTavikIsleScene::Init() {
    ScenePatternFont(font);
    sceneClock = 0.0;
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetC.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetD.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    ScenePatternGlState();
    ScenePatternCamera(camera, 1, 8000);
    return 0;
}

}  // namespace VantorGL
