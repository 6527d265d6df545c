// cPelkAirportScene: the orbiting field, the marching-cubes glass blob, and the frame: cube map of
// the surroundings, main view, two masked Gaussian blurs, overlays.
#include "scenes/PelkAirportScene.h"

#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "shell/Console.h"
#include "timeline/TimeSystem.h"

#include <cstring>

namespace VantorGL {

namespace {

// The fade picture: out at 0.001 per ms from the scene's start, back in from 132000 ms
// ("2:12.0") at 0.002 per ms against the fade-out, 0.001 per ms net.
constexpr int kFadeBackMs = 132000;
constexpr float kFadeOutPerMs = 0.001f;
constexpr float kFadeInPerMs = 0.002f;

// A beat: spectrum bin 0 above kBeatLevel, at most once per 400 ms.
constexpr float kBeatCooldownMs = 400.0f;

// The main view stands 250 units in front of the scene's centre, looking at it.
constexpr double kViewDistance = 250.0;
// Grid units to view units (the surface spans -50..50).
constexpr float kBlobScale = 5.0f;
// The backdrop picture at 300 units, 152.88 x 114.66 half-sides: about 92 percent of the height.
constexpr float kBackdropDistance = -300.0f;
constexpr float kBackdropScaleX = 152.88f;
constexpr float kBackdropScaleY = 114.66f;
// The sky sphere (radius about 60 in the model) scaled around the camera and the blob.
constexpr float kSkyScale = 8.5f;
constexpr float kCrystalScale = 0.5f;
const cVector3f kGlass(0.1f, 0.1f, 0.2f);  // tint of the blob and the crystals

// The content's own projection: near is the single-precision 0.01 widened.
constexpr double kContentNear = double(0.01f);
constexpr double kContentFar = 1000.0;

}  // namespace

cPelkAirportScene::cPelkAirportScene() { ResetFieldSources(); }

void cPelkAirportScene::ResetFieldSources() {
    static constexpr float kStrengths[kSourceCount] = {5.0f, 6.0f, 7.0f, 8.0f};
    for (int i = 0; i < kSourceCount; ++i) sources[i] = cFieldSource{0.0f, 0.0f, 0.0f, kStrengths[i]};
}

bool cPelkAirportScene::SetUpGrid() {
    if (!grid.Allocate()) return false;
    return grid.Build(gridResolution);
}

int cPelkAirportScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC});
    ResetFieldSources();
    // Without the grid Init stops before the camera step; DrawContent sets its own camera every
    // frame anyway, the field loops find no points, and the frame shows all but the blob.
    if (!SetUpGrid()) {
        ConsolePrint("SCENE", "cPelkAirportScene: no memory for the metaball grid; the blob is left out");
        return 0;
    }
    ScenePatternCamera(camera, 1, 5000);
    return 0;
}

void cPelkAirportScene::PlaceSources(int demoMs) {
    const float t = float(demoMs) / 1000.0f;
    const float ct = CosF(t), st = SinF(t);
    const float f = 2.0f * ct;
    const float ch = CosF(t / 2.0f), sh = SinF(t / 2.0f);
    const float s5 = SinF(t / 5.0f);
    // The two small wobbles are written with the single-precision 0.2 in double arithmetic.
    const double w = double(0.2f) * double(st);

    sources[0].x = f * ch - 4.0f * ct * ct;
    sources[0].y = f * sh + 4.0f * st * st;
    sources[0].z = -3.0f * ct + f;

    sources[1].x = 5.0f * st + 2.0f * f;
    sources[1].y = s5 - 5.0f * ct * s5 - f / 5.0f;
    sources[1].z = 7.0f * ct - f;

    sources[2].x = float(-5.0 * double(ct) - w);
    sources[2].y = float(5.0 * double(st) - w);
    sources[2].z = float(2.0 * double(st) - w);

    sources[3].x = float(5.0 * double(ct) + w);
    sources[3].y = float(-5.0 * double(st) + w);
    sources[3].z = float(-2.0 * double(st) + w);
}

// The four sources side by side in one SSE register (GCC and Clang vector extensions). Each lane's
// arithmetic is the plain IEEE single-precision operation, so lanes give what scalar code gives.
typedef float SourceLanes __attribute__((vector_size(4 * sizeof(float))));
typedef std::int32_t SourceMask __attribute__((vector_size(4 * sizeof(float))));
static_assert(cPelkAirportScene::kSourceCount == 4, "one lane per source");

void cPelkAirportScene::EvaluateField() {
    const SourceLanes cx = {sources[0].x, sources[1].x, sources[2].x, sources[3].x};
    const SourceLanes cy = {sources[0].y, sources[1].y, sources[2].y, sources[3].y};
    const SourceLanes cz = {sources[0].z, sources[1].z, sources[2].z, sources[3].z};
    const SourceLanes cs = {sources[0].s, sources[1].s, sources[2].s, sources[3].s};
    const float coincident = kCoincidentR2;
    SourceMask coincidentBits;
    for (int i = 0; i < 4; ++i) std::memcpy(&coincidentBits[i], &coincident, sizeof(float));

    // One pass over the lattice in memory order: every point's value and normal are written from
    // scratch (this is also the per-frame clearing), summed in source order 0..3, so each point
    // gets exactly what adding the sources' fields one after another would give.
    cIsoSurfaceGrid::SamplePoint* const points = grid.points;
    const int count = grid.pointCount;
    for (int p = 0; p < count; ++p) {
        cIsoSurfaceGrid::SamplePoint& point = points[p];
        const SourceLanes dx = point.position.x - cx;
        const SourceLanes dy = point.position.y - cy;
        const SourceLanes dz = point.position.z - cz;
        SourceLanes r2 = dx * dx + dy * dy + dz * dz;
        // r2 exactly 0 becomes 0.0001 (0 + 0.0001); any other r2 gets + 0, which leaves it as is.
        // (A cast between vector types of one size keeps the bits.)
        r2 += (SourceLanes)((r2 == 0.0f) & coincidentBits);
        const SourceLanes q = cs / r2;
        const SourceLanes k = cs / (r2 * r2);
        const SourceLanes nx = dx * k, ny = dy * k, nz = dz * k;
        point.value = ((q[0] + q[1]) + q[2]) + q[3];
        // The sums start from 0 as the cleared point does (it turns a lone -0 into +0).
        point.normal.Set((((0.0f + nx[0]) + nx[1]) + nx[2]) + nx[3], (((0.0f + ny[0]) + ny[1]) + ny[2]) + ny[3],
                         (((0.0f + nz[0]) + nz[1]) + nz[2]) + nz[3]);
    }
}

void cPelkAirportScene::Update() {
    cResources& res = *resources;
    cTimeSystem* clock = cTimeSystem::Instance();
    const int dt = clock->Delta();
    const int demoMs = clock->SinceReset();

    res.crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});
    sceneClock += dt * 0.01;
    beatCooldown -= float(dt);

    endFade -= float(dt) * kFadeOutPerMs;
    if (endFade <= 0.0f) endFade = 0.0f;
    if (demoMs > kFadeBackMs) {
        endFade += float(dt) * kFadeInPerMs;
        if (endFade >= 1.0f) endFade = 1.0f;
    }

    // The paths follow demo time, not sceneClock. Clearing the grid and summing the four fields
    // happen together in EvaluateField's single pass.
    PlaceSources(demoMs);
    EvaluateField();

    // Counted and cleared in the same update: only the first view is ever used.
    if (res.music.SpectrumValue(0) > kBeatLevel && beatCooldown <= 0.0f) {
        beatCount += 1;
        beatCooldown = kBeatCooldownMs;
    }
    if (beatCount > 0) beatCount = 0;
}

void cPelkAirportScene::DrawContent(int pass) {
    cResources& res = *resources;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    const cVector3 origin(0, 0, 0), ahead(0, 0, -1), up(0, 1, 0);
    camera.SetPerspective(45.0, 4.0 / 3.0, kContentNear, kContentFar);
    camera.SetView(origin, ahead, up);
    camera.Apply();

    // Backdrop, seen from the origin.
    glLoadIdentity();
    camera.Look();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, kBackdropDistance);
    glScalef(kBackdropScaleX, kBackdropScaleY, 0.0f);
    res.texArt1.Bind();
    DrawScreenQuad();
    res.texArt1.Unbind();

    camera.SetPerspective(45.0, 4.0 / 3.0, kContentNear, kContentFar);
    camera.SetView(origin, ahead, up);
    camera.Apply();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();

    // Every block below starts from this view with its own camera.Look().
    camera.SetView(cVector3(0, 0, -kViewDistance), origin, up);

    // Sky sphere (both passes).
    DrawGroupOnCurrent(
        camera,
        [&] {
            glTranslatef(0.0f, 0.0f, 0.0f);
            glScalef(kSkyScale, kSkyScale, kSkyScale);
            glRotatef(float(sceneClock), 1.0f, 1.0f, 1.0f);
        },
        [&] {
            res.texArt1B.Bind();
            res.mdlSkySphere.Draw();
            res.texArt1B.Unbind();
        });

    // The crystals below refract the cube; in the cube's own pass, backdrop and sky.
    const GLuint crystalCube = pass == kPassCubeFaces ? res.cubeMap.ShowFacesDrawnSoFar() : res.cubeMap.texture;

    // The blob (main view only): it refracts this frame's cube.
    if (pass == kPassMain) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glLoadIdentity();
        camera.Look();
        glTranslatef(0.0f, 0.0f, 0.0f);
        glScalef(kBlobScale, kBlobScale, kBlobScale);
        DrawRefracted(camera, res.crystalRefractShader, kGlass, res.cubeMap.texture, [&] {
            glPushMatrix();
            grid.Polygonise(isoThreshold);
            glPopMatrix();
        });
    }

    // A crystal tumbling at each source (both passes).
    for (const cFieldSource& source : sources) {
        DrawRefractedModel(
            camera, res.crystalRefractShader, kGlass, crystalCube,
            [&] {
                glTranslatef(kBlobScale * source.x, kBlobScale * source.y, kBlobScale * source.z);
                glScalef(kCrystalScale, kCrystalScale, kCrystalScale);
                glRotatef(float(4.0 * sceneClock), source.x, source.y, source.z);
            },
            [&] { res.mdlCrystalMany.Draw(); });
    }
}

void cPelkAirportScene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);

    // The surroundings for the glass. DrawContent sets its own projection and view, so all six
    // faces hold the same picture.
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, 2.5f});
    frame.Present(targetC);
    frame.Overlays(res.texOg2, endFade, res.texBox01Diffuse);
}

}  // namespace VantorGL
