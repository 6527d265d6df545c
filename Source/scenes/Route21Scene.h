// cRoute21Scene: the torus interlude. A fixed camera looks out across a slowly turning torus whose
// tube carries refracting crystals, its up vector swaying so the picture rolls and tilts; two
// masked blurs follow, the second easing from heavy to light as the fade picture lifts.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

#include <cstdint>

namespace VantorGL {

class cRoute21Scene : public cSceneSystem {
public:
    // The common set-up: font, four targets, GL state, camera with near 1 and far 5000.
    int Init() override;
    // Clocks, beat counter and the fade; needs the registry (SetResources) but no GL.
    void Update() override;
    // Cube-map faces, scene image, two masked blurs, present, overlays.
    void Render() override;

    // kPassCubeFaces draws the cube-of-balls only; kPassMain the whole view.
    void DrawContent(int pass);
    // The scene camera of the current sceneClock: eye (700, 0, -100), looking along
    // (-3, 0, 10), its up vector swaying. Stores only; no GL call.
    void SetSwayView();
    // Up vector of the swaying camera at scene clock s (double precision, not normalised).
    static cVector3 SwayUp(double s);
    // Factor of the second blur: 6.7 under the full fade picture, 1.2 once it has lifted.
    float SecondBlurFactor() const { return 5.5f * endFade + 1.2f; }

    double sceneClock = 0.0;  // += frame ms x 0.01; drives the sway and the torus turn
    cCamera camera;
    std::int32_t beatCount = 0;  // raised by a beat and cleared in the same update
    static constexpr float kBeatLevel = 0.1f;  // spectrum bin 0 above this is a beat
    // The camera: it stands and looks, only its up vector moves. Torus, crystals and ball cube
    // are drawn at kModelScale about the origin.
    static constexpr float kEyeX = 700, kEyeY = 0, kEyeZ = -100;
    static constexpr float kLookAtX = 697, kLookAtY = 0, kLookAtZ = -90;
    static constexpr float kModelScale = 5.5f;
    float beatCooldown = 100.0f;  // ms until the next beat may be counted
    float endFade = 1.0f;         // alpha of the fade picture; 1 covers the scene
    cRenderTextureSystem targetA, targetB, targetC, targetD;  // image, first blur, second blur, unused
    cFontSystem font;
};

}  // namespace VantorGL
