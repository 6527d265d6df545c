// cSelvoHillsScene: the opening logo and cube-sphere scene (0:00.0 to 0:25.5). On a white ground
// that flashes blue on the beat, the MV outline wipes in and the solid logo fades up; then the logo
// shrinks away while a crystal in a white sphere and a sphere of 7938 spinning cubes grow in, beats
// add crystal rings, and the scene closes into the fade picture. Everything passes a masked blur twice.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/Primitives.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

#include <cstdint>
#include <vector>

namespace VantorGL {

class cSelvoHillsScene : public cSceneSystem {
public:
    // The cube sphere's grid: u over 0..3.1415 and v over -3.1415..3.1415 in steps of 0.05 with
    // single-precision loop variables; 63 rows of 126 cubes.
    static constexpr int kCubeRows = 63;
    static constexpr int kCubesPerRow = 126;
    static constexpr int kCubeCount = kCubeRows * kCubesPerRow;  // 7938

    cSelvoHillsScene() = default;

    // The common set-up (three targets, near 1, far 5000), then FillCubeHeights().
    int Init() override;
    void Update() override;
    void Render() override;
    // The shadow cage's cut height reaches the GPU a frame late.
    int FramesOfHistory() const override { return 1; }
    // The 3D content of one pass (the argument is ignored): clear, crystal, cube sphere, logo, rings.
    void DrawContent(int pass);

    // One height per cube in drawing order: (rand() mod 100) / 10 + 0.3, i.e. 0.3 .. 10.2 in steps
    // of 0.1. Needs no GL. Returns the number of cubes the grid loop visited (kCubeCount).
    int FillCubeHeights();
    // The blur step of both Gaussian passes for the current state.
    float BlurFactor() const;

    double sceneClock = 0.0;  // += ms * 0.01; drives every rotation
    float outlineWipe = 0.0f;  // cut line of the outline wipe, 0..1
    float logoAlpha = 0.0f;    // solid logo, 0..1
    float progress = 0.0f;     // 0..0.03: logo out, crystal and cube sphere in, blur down
    float endFade = 0.0f;      // closing picture alpha; also whitens the clear colour (unbounded)
    float cubeHeights[kCubeCount] = {};
    cCamera camera;
    static constexpr float kBeatLevel = 0.1f;  // spectrum bin 0 above this is a beat
    float beatCooldown = 100.0f;  // ms until the next beat may be taken
    float flash = 0.0f;           // 10 at a beat, -0.1 per ms
    std::int32_t ringCount = -2;  // ring i (1..4) shows when ringCount >= i
    float blurBoost = 5.0f;       // extra blur of the first second
    float overlayAlpha = 0.0f;    // title overlay (may go below 0; GL clamps)
    std::int32_t blurMapMode = 0; // 0: texBlurMapII, 1: texBlurSelvo
    float beatBlur = 0.0f;        // blur added by beats, at most 2.5
    float ringShrink = 0.0f;      // added to every ring's scale, down to -0.2
    float growth = 0.0f;          // late growth of crystal and cube sphere
    float blurDrop = 0.0f;        // blur taken away late in the scene
    bool ringTumble = false;      // rings spin about their own axes too
    float ringSpin = 0.0f;        // that spin, degrees
    cRenderTextureSystem targetA, targetB, targetC;  // scene, first blur, second blur
    cFontSystem font;

    // The cube sphere goes out as one draw: every cube's 24 vertices transformed on the CPU by
    // the cube's own translate, scale and rotations (the matrices the per-cube path would load),
    // under the sphere's matrix. Sized in Init; false or empty takes the per-cube path, one
    // DrawCube per cube, which draws the same picture at thousands of draw calls a frame.
    bool batchCubes = true;
    std::vector<sCubeVertex> cubeBatch;

private:
    void DrawCrystal();
    void DrawCubeSphere();
    void DrawLogo();
    void DrawRings();
};

}  // namespace VantorGL
