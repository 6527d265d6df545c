// cOrembyCityScene: the crystal cluster scene (0:25.5 to 0:43.0). Glass crystals and four
// counter-rotating rings inside a sphere of spinning cubes, refracting a cube map of that sphere,
// seven light rays pulsing with the music, a green glow smeared by a radial blur, and a tunnel.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

class cOrembyCityScene : public cSceneSystem {
public:
    // The cube sphere: rows u = 0, 0.1, .. while u < 3.1415 (32) and in each row
    // v = -3.1415, -3.0415, .. while v < 3.1415 (63), single precision as the loops count them.
    static constexpr int kSphereRows = 32;
    static constexpr int kSphereColumns = 63;
    static constexpr int kSphereCubes = kSphereRows * kSphereColumns;  // 2016 per pass

    // Builds the cube table (no GL).
    cOrembyCityScene();

    // Font, four 1024 x 768 targets, the shared GL state, camera near 1, far 5000. Returns 0.
    int Init() override;
    // Clocks, zoom, the fades and the tunnel (needs `resources`; no GL call).
    void Update() override;
    // Cube map of the cube sphere, glow pass, main view, two masked blurs, the additive radial
    // glow, then the og2 overlay and the fade picture at `fadeLevel`.
    void Render() override;
    // One pass of 3D content: kPassMain the main view, kPassCubeFaces the cube-map environment,
    // kPassFigureAlone the glow.
    void DrawContent(int pass);

    // The music-driven values DrawContent uses (read from the registry's spectrum).
    // Ray colour and alpha: 1 - 3 x bin 0 (negative when loud; GL clamps it to 0).
    float RayAlpha() const;
    // Blue tint of the cube sphere: bin 0 / 6.
    float SphereTint() const;
    // Extra scale of the glow crystal's second copy: 15 x bin 15 above 0.01, else the float just
    // below 0.1. The copy is drawn at this + 0.3.
    float GlowScale() const;

    // Half width and height, as shares of the view (0.5 = the whole view), of the part of the
    // frame the radial glow can reach: the glow pass draws only a sphere of
    // GlowContentRadius() around the origin, which sits at the centre of the view, and the blur
    // reads each pixel's colour from between it and halfway to the centre. Outside this box the
    // glow adds exactly nothing, so it is not drawn there.
    void GlowScreenExtent(float& halfWidth, float& halfHeight) const;
    // The glow pass over the presented frame: targetD's glow crystal blurred outwards from the
    // centre and added, inside GlowScreenExtent's box (the whole view when passes are unbounded).
    void AddGlow();
    // World radius enclosing everything the glow pass draws this frame.
    float GlowContentRadius() const;

    double sceneClock = 0.0;  // += ms x 0.01 each update; drives every rotation
    float zoom = 1.0f;        // camera distance divisor, up to 1.2
    float fadeLevel = 1.0f;   // alpha of the fade picture
    // Where each cube of the sphere sits (2p) and its row and column angles u, v.
    struct cSphereCube {
        float x, y, z, u, v;
    };
    cSphereCube sphereCubes[kSphereCubes];
    float crystalRadius = 0.0f;  // of mdlCrystalMany, from its vertices (Init)
    cCamera camera;
    bool tunnelOn = false;      // the tunnel is drawn (from local 10000 on)
    float tunnelHeight = 0.0f;  // tunnel y scale factor, up to 1
    float tunnelWidth = 0.0f;   // tunnel x and z scale factor, up to 1
    cRenderTextureSystem targetA;  // main image (kPassMain)
    cRenderTextureSystem targetB, targetC;  // first and second blur pass
    cRenderTextureSystem targetD;  // glow image (kPassFigureAlone)
    cFontSystem font;              // created like every scene's; nothing is printed

private:
    void DrawCubeSphere();
    void DrawRingsAndTunnel();
    void DrawGlow();
    void DrawCrystalsAndRays();
};

}  // namespace VantorGL
