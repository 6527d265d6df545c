// cPelkAirportScene: the metaball scene (1:55.0 to 2:14.0).
// Its own content arrives with the scene work; until then it sets up like every scene and draws nothing.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

class cPelkAirportScene : public cSceneSystem {
public:
    int Init() override;
    void Update() override {}
    void Render() override {}

    double sceneClock = 0.0;
    cCamera camera;
    cRenderTextureSystem targetA, targetB, targetC;
    cFontSystem font;
};

}  // namespace VantorGL
