// cRoute21Scene: the torus interlude scene (twice: 1:26.4 and 1:50.0).
// Its own content arrives with the scene work; until then it sets up like every scene and draws nothing.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

class cRoute21Scene : public cSceneSystem {
public:
    int Init() override;
    void Update() override {}
    void Render() override {}

    double sceneClock = 0.0;
    cCamera camera;
    cRenderTextureSystem targetA, targetB, targetC, targetD;
    cFontSystem font;
};

}  // namespace VantorGL
