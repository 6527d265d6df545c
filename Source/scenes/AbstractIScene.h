// cAbstractIScene: the scene pattern in its smallest working form, one white sphere drawn through
// one render target and presented with a border. No sequencer owns it; it is the template the
// timeline scenes were written from and the reference for their skeleton.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

// The presented quad sits this far away, so it spans three quarters of the view: a black border.
constexpr float kAbstractPresentDistance = -5.0f;

class cAbstractIScene : public cSceneSystem {
public:
    // The common set-up: font, sceneClock = 0, the target, GL state, camera (near 0.01, far
    // 10000). Returns 0. Needs the GL context.
    int Init() override;
    void Update() override {}
    // The sphere into the target, then the target on the bordered quad.
    void Render() override;

    // Black background and a white sphere of radius 0.2 ten units in front of the camera.
    void DrawContent(int pass);

    double sceneClock = 0.0;
    cCamera camera;
    cRenderTextureSystem target;
    cFontSystem font;
};

}  // namespace VantorGL
