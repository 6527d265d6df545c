// cDrunaBeachScene: the glass tunnel flight (0:43.0 to 0:57.15). The camera flies along +z down a
// tunnel of glass rings lined with spiked tubes, circling the axis, past a crystal, a pair of
// counter-rotating rings and a second crystal; from 10 s on the picture blurs and fades out.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/CubeMapping.h"
#include "render/RenderTextureSystem.h"
#include "render/Vector3.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

class cDrunaBeachScene : public cSceneSystem {
public:
    // Camera of the flight: near 1, far 50000 (the tunnel is 16000 long).
    static constexpr double kNear = 1.0;
    static constexpr double kFar = 50000.0;
    // Local ms after which the second blur grows and the fade picture returns.
    static constexpr int kBlurOutStartMs = 10000;
    // The tunnel: 16 pieces 1000 apart, the first at z = 10000, walking towards -z.
    static constexpr int kTunnelPieces = 16;
    static constexpr float kTunnelFirstZ = 10000.0f;
    static constexpr float kTunnelStep = -1000.0f;
    // The camera starts this far behind flyDistance and circles the axis at this radius.
    static constexpr float kEyeBehind = 2600.0f;
    static constexpr float kOrbitRadius = 50.0f;

    // The pattern's set-up with three targets, then a pool of 100 particles with a random drift
    // (the scene never updates or draws them).
    int Init() override;
    // Clocks, flight, emitter, fades; see the .cpp for the order.
    void Update() override;
    // Cube map of kPassCubeFaces, scene into targetA, two blurs, present, overlays.
    void Render() override;

    // 3D content: kPassMain the main view, kPassCubeFaces a cube-map face (no glass tunnel).
    void DrawContent(int pass);
    // A sculpture refracts sculptureCube, which DrawContent sets for its pass.
    void DrawCrystal(cVector3f position);
    void DrawRingPair(cVector3f position);

    // The flying eye and where it looks (pure; shared by DrawContent and the tests).
    cVector3 FlyingEye() const;
    cVector3 FlyingCenter() const;

    double sceneClock = 0.0;   // += ms x 0.01; turns the ring pair
    float flyDistance = 0.0f;  // += ms x 0.5: how far the camera has flown along +z
    float orbitAngle = 0.0f;   // += ms x 0.001 (radians) around the tunnel axis
    float fadeLevel = 1.0f;    // alpha of the fade picture; grows without bound late on
    float blurAmount = 1.2f;   // blur factor of the second blur pass
    GLuint sculptureCube = 0;  // the registry's cube; in the cube's own pass, its glass view
    cCamera camera;
    cRenderTextureSystem targetA, targetB, targetC;
    cFontSystem font;  // created like every scene's; nothing is printed
};

}  // namespace VantorGL
