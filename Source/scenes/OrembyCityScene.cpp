// cOrembyCityScene: set-up of the crystal cluster scene.
#include "scenes/OrembyCityScene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cOrembyCityScene::Init() {
    ScenePatternFont(font);
    sceneClock = 0.0;
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetC.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetD.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    ScenePatternGlState();
    ScenePatternCamera(camera, 1, 5000);
    return 0;
}

}  // namespace VantorGL
