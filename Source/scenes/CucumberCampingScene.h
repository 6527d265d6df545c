// cCucumberCampingScene: the closing canyon scene (2:14.0 to the end of the demo at 2:47.0).
// A camera slides through the "Ter" canyon towards the credits; the picture gets a doubly blurred
// glow, light rays zoom-blurred out of the sky opening, and a fade in at the start and out at the end.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "render/ScreenExtent.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

class cCucumberCampingScene : public cSceneSystem {
public:
    // The common set-up with five targets, near 1 and far 10000.
    int Init() override;
    // Advances sceneClock, fades in over the first second and out from demo time 166000 ms on.
    void Update() override;
    // Cube faces, sky, main view, two masked blurs, rays added three times, overlays.
    void Render() override;
    // Clears, places the camera on its slide and draws the canyon for `pass`: kPassMain,
    // kPassCubeFaces (walls and black credits) or kPassFigureAlone (the sky alone).
    void DrawContent(int pass);

    // The eye on its slide at the current sceneClock (float arithmetic, as the view is built).
    cVector3 Eye() const { return EyeAt(sceneClock); }
    // The eye at scene clock `clock`: from (-307, 130, 430) at the scene's start to (23, 130, 100)
    // at the end of the demo, looking at the credits (kCreditsX, kCreditsY, kCreditsZ).
    static cVector3 EyeAt(double clock);

    static constexpr double kClockPerMs = double(0.01f);  // sceneClock units per frame millisecond
    static constexpr float kCreditsX = 225.0f, kCreditsY = 60.0f, kCreditsZ = -342.0f;
    // The rays: a zoom blur of the sky alone towards a point near the top-left corner, added
    // kRayLayers times over.
    static constexpr float kRayScale = -0.5f, kRayStart = 1.0f, kRayCentreX = 0.1f, kRayCentreY = 1.0f;
    static constexpr int kRayIterations = 100;
    static constexpr int kRayLayers = 3;

    double sceneClock = 0.0;  // frame ms x 0.01 accumulated: the camera's slide
    float fade = 1.0f;        // alpha of the fade picture; 1 hides the scene
    cCamera camera;
    // targetA main view, targetB and targetC the two blur stages, targetD the sky alone,
    // targetE its rays.
    cRenderTextureSystem targetA, targetB, targetC, targetD, targetE;
    cFontSystem font;
    // Where the crack of sky lies on the screen this frame: the rays are drawn only where they
    // can reach from it.
    cScreenExtent skyExtent;
};

}  // namespace VantorGL
