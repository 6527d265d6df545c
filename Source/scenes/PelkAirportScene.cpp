// cPelkAirportScene: set-up of the metaball scene.
#include "scenes/PelkAirportScene.h"

#include "scenes/ScenePattern.h"

namespace VantorGL {

int cPelkAirportScene::Init() {
    ScenePatternFont(font);
    sceneClock = 0.0;
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    targetC.Create(kSceneTargetWidth, kSceneTargetHeight, 1);
    ScenePatternGlState();
    ScenePatternCamera(camera, 1, 5000);
    return 0;
}

}  // namespace VantorGL
