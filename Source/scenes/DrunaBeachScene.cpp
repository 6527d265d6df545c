// cDrunaBeachScene: set-up of the glass tunnel flight scene.
#include "scenes/DrunaBeachScene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cDrunaBeachScene::Init() {
    ScenePatternFont(font);
    sceneClock = 0.0;
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetC.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    ScenePatternGlState();
    ScenePatternCamera(camera, 1, 50000);
    return 0;
}

}  // namespace VantorGL
