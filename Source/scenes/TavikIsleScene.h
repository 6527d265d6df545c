// cTavikIsleScene: the glass plant figure inside a sphere of spinning cubes that pulse blue with
// the music, a greeting line of the same glass behind it, light rays from its silhouette and a
// screen glow. The sequencer holds two independent members: a scripted one at 0:57.15 and a
// beat-driven one at 1:36.4.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "render/ScreenExtent.h"
#include "timeline/SceneSystem.h"

#include <epoxy/gl.h>

namespace VantorGL {

class cTavikIsleScene : public cSceneSystem {
public:
    // The common set-up with four targets (targetC nearest, the others linear), near 1, far 8000;
    // plus a display list holding one cube of the cube sphere.
    int Init() override;
    // What Init made beyond the targets it was handed, before a renewal: the cube list. Needs
    // the context.
    void ReleaseGlObjects();
    // Clocks, the demo-time script (first member), the beat rule from 87000 ms (second member),
    // zoom, fade and tint decay, and the fade-out after 28 s of local time. Makes no GL call.
    void Update() override;
    // Cube map of the cube sphere, figure alone (rays), main view, two masked blurs, present,
    // screen glow, additive rays, overlays.
    void Render() override;
    // Draws the 3D content of one pass (kPassMain, kPassCubeFaces, or kPassFigureAlone: the figure
    // alone) with its own projection and view.
    void DrawContent(int pass);

    // The figure's size in the scene: its 8-unit model stands 1200 units tall.
    static constexpr float kFigureScale = 150;
    // The first member's script, in demo ms: six steps, each repeated in every frame of its
    // [from, to): a fixed look, a green flash, greetings 1, 2 and 3 on the moving camera, the
    // fixed look again. The soundtrack accents each step and the beat report checks them.
    static constexpr int kScriptSteps[6][2] = {{57050, 57200}, {62400, 62550}, {66790, 67000},
                                               {71740, 71850}, {76840, 76940}, {81340, 81490}};
    // The script points that show greeting 1, 2 and 3, then none again.
    static constexpr int kGreetingFromMs[4] = {kScriptSteps[2][0], kScriptSteps[3][0], kScriptSteps[4][0],
                                               kScriptSteps[5][0]};
    // The moving camera (cameraMode 1) at scene clock `c`; its up vector stays (0, 1, 0). The data
    // generator places the greetings along this path.
    static void MovingView(double c, cVector3& eye, cVector3& centre);

    double sceneClock = 0.0;   // += frame ms x 0.01; drives rotations and the moving camera
    float zoom = 1.0f;         // divides the fixed camera's distance; grows to 1.2
    float fadeLevel = 1.0f;    // alpha of the fade picture; not bounded above (GL clamps it)
    cCamera camera;
    int cameraMode = 0;        // 0: fixed camera above and in front; 1: moving camera
    // Spectrum bin 0 above this is a beat (a double: 0.05f itself counts).
    static constexpr double kBeatLevel = 0.05;
    float beatCooldown = 100;  // ms until the next beat may be taken
    float tintPulse = 0.0f;    // added to the figure's glass colour; decays
    int greeting = 0;          // greeting model shown: 0 none, 1..3
    cRenderTextureSystem targetA;  // scene image
    cRenderTextureSystem targetB;  // first blur
    cRenderTextureSystem targetC;  // second blur (nearest filter)
    cRenderTextureSystem targetD;  // figure alone, source of the light rays
    cFontSystem font;              // created like every scene's; nothing is printed
    // Where the figure alone lies on the screen this frame: the rays are drawn only where they
    // can reach from it.
    cScreenExtent figureExtent;

private:
    void DrawCubeSphere();
    void DrawFigure(bool withGreeting);

    GLuint cubeList = 0;  // one DrawCube(), compiled in Init; 0 draws it directly
};

}  // namespace VantorGL
