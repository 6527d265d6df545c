// cPelkAirportScene: the metaball scene (1:55.0 to 2:14.0). Four invisible sources orbit on fixed
// paths; their inverse-square field, sampled on a 31^3 lattice every frame, is drawn at level 1 as
// a glass blob refracting a cube map, with a crystal at each source inside a turning sky sphere.
#pragma once

#include "assets/FontSystem.h"
#include "render/Camera.h"
#include "render/CubeMapping.h"
#include "render/IsoSurfaceGrid.h"
#include "render/RenderTextureSystem.h"
#include "timeline/SceneSystem.h"

#include <cstdint>

namespace VantorGL {

// One field source: a position and a strength; the field it adds at p is s / |p - c|^2.
struct cFieldSource {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float s = 0.0f;
};

class cPelkAirportScene : public cSceneSystem {
public:
    static constexpr int kSourceCount = 4;
    // A grid point exactly on a source takes this squared distance, so its value stays finite.
    static constexpr float kCoincidentR2 = 0.0001f;

    // Sources at their start values; nothing touches GL.
    cPelkAirportScene();

    // The common set-up with three targets, the field sources, the grid (31 points a side over
    // -10..10; on a failed allocation Init returns before the camera step), then the camera.
    int Init() override;
    // Clocks, fades, source paths, the field on every grid point, the (unused) beat counter.
    void Update() override;
    // Cube-map pass (six faces of kPassCubeFaces), main view into targetA, two masked blurs,
    // present, overlays.
    void Render() override;
    // kPassMain: the main view with the blob; kPassCubeFaces: a cube-map face (backdrop, sky,
    // crystals).
    void DrawContent(int pass);

    // Strengths 5, 6, 7, 8, every position at the origin. No GL.
    void ResetFieldSources();
    // Allocate, then lay out gridResolution cubes a side. False when either step fails. No GL.
    bool SetUpGrid();
    // Moves the four sources along their paths for demo time T (milliseconds since the clock's
    // reset). No GL.
    void PlaceSources(int demoMs);
    // Writes the summed field and its normal into every grid point, in one pass over the
    // lattice. Allocates nothing. No GL.
    void EvaluateField();

    double sceneClock = 0.0;
    std::int32_t gridResolution = 30;
    float isoThreshold = 1.0f;
    float endFade = 1.0f;
    cCamera camera;
    std::int32_t beatCount = 0;
    static constexpr float kBeatLevel = 0.1f;  // spectrum bin 0 above this is a beat
    float beatCooldown = 100.0f;
    cRenderTextureSystem targetA, targetB, targetC;
    cIsoSurfaceGrid grid;
    cFontSystem font;

    // The orbiting sources; the scene is their only user, so they live here.
    cFieldSource sources[kSourceCount];
};

}  // namespace VantorGL
