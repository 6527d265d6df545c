// cRoute21Scene: set-up of the torus interlude scene.
#include "scenes/Route21Scene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cRoute21Scene::Init() {
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
