// cOrembyCityScene: the crystal cluster scene. The cube sphere is drawn into the cube map and
// into the main view; the glass refracts that cube; the glow pass is blurred radially on top.
#include "scenes/OrembyCityScene.h"

#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

namespace VantorGL {

namespace {
// The cube sphere: radius 10 before the doubling, 110 x 20 = 2200 around (0, 0, 100) in the
// view, so it encloses the camera.
constexpr float kSphereStep = 0.1f;
constexpr float kSphereLimit = 3.1415f;
constexpr float kSphereRadius = 10.0f;
// Camera: from (0, 1400, 1600) / zoom towards the origin.
constexpr double kEyeHeight = 1400.0;
constexpr double kEyeDistance = 1600.0;
constexpr float kZoomMax = 1.2f;
// Local ms thresholds.
constexpr int kFadeInUntil = 12000;  // the fade only falls up to here (it is 0 after 1000 ms)
constexpr int kTunnelFrom = 10000;
constexpr int kFadeOutFrom = 17000;
// Ring i turns at k_i x sceneClock degrees.
constexpr float kRingSpin[4] = {2.0f, 4.0f, -2.0f, -4.0f};
// Spectrum bins the scene listens to.
constexpr int kBeatBin = 0;
constexpr int kGlowBin = 15;
constexpr float kGlowQuiet = 0.099999994f;  // the float just below 0.1
constexpr int kRays = 7;
// The glow group's scale and the green sphere's radius.
constexpr float kGlowGroupScale = 5.0f;
constexpr float kGlowSphereRadius = 20.0f;
constexpr double kGlowMargin = 0.02;  // of the view: a dozen pixels or more for filtering
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
}  // namespace

cOrembyCityScene::cOrembyCityScene() {
    // The loops count in single precision, as the cube sphere was always laid out.
    int k = 0;
    int row = 0;
    for (float u = 0.0f; u < kSphereLimit && row < kSphereRows; u += kSphereStep, ++row) {
        int column = 0;
        for (float v = -kSphereLimit; v < kSphereLimit && column < kSphereColumns; v += kSphereStep, ++column) {
            const float sinU = SinF(u);
            cSphereCube& cube = sphereCubes[k++];
            cube.x = 2.0f * (kSphereRadius * sinU * CosF(v));
            cube.y = 2.0f * (kSphereRadius * sinU * SinF(v));
            cube.z = 2.0f * (kSphereRadius * CosF(u));
            cube.u = u;
            cube.v = v;
        }
    }
}

int cOrembyCityScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC, targetD}, camera, 1, 5000);
    // Bounds of the glow crystal, for limiting the radial glow to where it shows.
    if (!resources) return 0;
    const c3DsModelInfo info = resources->mdlCrystalMany.Info();
    float squared = 0.0f;
    for (float x : {info.boundsMin[0], info.boundsMax[0]})
        for (float y : {info.boundsMin[1], info.boundsMax[1]})
            for (float z : {info.boundsMin[2], info.boundsMax[2]}) squared = std::max(squared, x * x + y * y + z * z);
    crystalRadius = std::sqrt(squared);
    return 0;
}

float cOrembyCityScene::RayAlpha() const { return 1.0f - 3.0f * resources->music.SpectrumValue(kBeatBin); }

float cOrembyCityScene::SphereTint() const { return resources->music.SpectrumValue(kBeatBin) / 6.0f; }

float cOrembyCityScene::GlowScale() const {
    const float bin = resources->music.SpectrumValue(kGlowBin);
    return bin > 0.01f ? 15.0f * bin : kGlowQuiet;
}

float cOrembyCityScene::GlowContentRadius() const {
    // Both crystal copies and the green sphere (radius 20) under the group's scale 5; the second
    // crystal and the sphere are scaled again by the glow scale + 0.3.
    // The model's own placement (never changed by the demo) is counted in as well.
    const c3DsModelSystem& crystal = resources->mdlCrystalMany;
    const float placed = std::sqrt(crystal.position[0] * crystal.position[0] + crystal.position[1] * crystal.position[1] +
                                   crystal.position[2] * crystal.position[2]) +
                         std::fabs(crystal.scale) * crystalRadius;
    const float inner = GlowScale() + 0.3f;
    return kGlowGroupScale * std::max(placed * std::max(1.0f, inner), kGlowSphereRadius * inner);
}

void cOrembyCityScene::GlowScreenExtent(float& halfWidth, float& halfHeight) const {
    halfWidth = halfHeight = 0.5f;
    // The sphere's centre is the point the camera looks at: its outline is a circle around the
    // centre of the view, of tangent-angle R / sqrt(D^2 - R^2).
    const double eyeY = kEyeHeight / zoom, eyeZ = kEyeDistance / zoom;
    const double distance2 = eyeY * eyeY + eyeZ * eyeZ;
    const double radius = GlowContentRadius();
    if (radius * radius >= distance2 * 0.99) return;
    const double tanHalfFovy = std::tan(camera.fovy * 0.5 * kDegreesToRadians);
    const double ndcY = radius / std::sqrt(distance2 - radius * radius) / tanHalfFovy;
    const double ndcX = ndcY / camera.aspect;
    // Texture offsets (half the NDC offsets) twice over for the blur's reach towards the centre,
    // spread by the screen quad's 3 percent overlap, plus a margin for the linear filter.
    const double reach = 2.0 * kQuadOverlap;
    halfWidth = float(std::min(0.5, ndcX * 0.5 * reach + kGlowMargin));
    halfHeight = float(std::min(0.5, ndcY * 0.5 * reach + kGlowMargin));
}

void cOrembyCityScene::Update() {
    const float dt = float(cTimeSystem::Instance()->Delta());
    // DrawContent changes the tint while drawing and leaves this one behind.
    resources->crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});
    sceneClock += dt * 0.01;
    zoom += dt * 0.001f;
    if (zoom > kZoomMax) zoom = kZoomMax;
    if (localTime <= kFadeInUntil) {
        fadeLevel -= dt * 0.001f;
        if (fadeLevel < 0.0f) fadeLevel = 0.0f;
    }
    if (localTime > kTunnelFrom) {
        tunnelOn = true;
        tunnelHeight += dt * 0.003f;
        tunnelWidth += dt * 0.0005f;
    }
    if (localTime > kFadeOutFrom) {
        fadeLevel += dt * 0.001f;
        if (fadeLevel > 1.0f) fadeLevel = 1.0f;
    }
    if (tunnelHeight > 1.0f) tunnelHeight = 1.0f;
    if (tunnelWidth > 1.0f) tunnelWidth = 1.0f;
}

// --- drawing ---

void cOrembyCityScene::DrawCubeSphere() {
    cResources& res = *resources;
    const float clock = float(sceneClock);
    DrawGroup(
        camera,
        [&] {
            glTranslatef(0.0f, 0.0f, 100.0f);
            glScalef(110.0f, 110.0f, 110.0f);
            glRotatef(clock, 1.0f, 1.0f, 1.0f);
        },
        [&] {
            glPushMatrix();
            res.tavikObjectShaderB.SetColor({0.0f, 0.0f, SphereTint()});
            res.tavikObjectShaderB.Bind(camera);
            // Each cube: translate 2p, spin about x by u x clock, about y by v x clock, about z by
            // clock. (The unit scale between translation and spin is left out: it changes nothing.)
            const cSphereCube* cube = sphereCubes;
            for (int row = 0; row < kSphereRows; ++row) {
                glPushMatrix();
                for (int column = 0; column < kSphereColumns; ++column, ++cube) {
                    glPushMatrix();
                    glTranslatef(cube->x, cube->y, cube->z);
                    glRotatef(float(cube->u * sceneClock), 1.0f, 0.0f, 0.0f);
                    glRotatef(float(cube->v * sceneClock), 0.0f, 1.0f, 0.0f);
                    glRotatef(clock, 0.0f, 0.0f, 1.0f);
                    DrawCube();
                    glPopMatrix();
                }
                glPopMatrix();
            }
            glPopMatrix();
            res.tavikObjectShaderB.Unbind();
            res.tavikObjectShaderB.SetColor({0.0f, 0.0f, 0.0f});
        });
}

void cOrembyCityScene::DrawRingsAndTunnel() {
    cResources& res = *resources;
    const float clock = float(sceneClock);
    c3DsModelSystem* const rings[4] = {&res.mdlCrystalRing1, &res.mdlCrystalRing2, &res.mdlCrystalRing3,
                                       &res.mdlCrystalRing4};
    res.crystalRefractShader.SetCrystalColor({0.3f, 0.3f, 0.3f});
    res.crystalRefractShader.SetCubeMap(res.cubeMap.texture);
    res.crystalRefractShader.Bind(camera);
    for (int i = 0; i < 4; ++i) {
        DrawGroup(
            camera,
            [&] {
                glScalef(2.0f, 2.0f, 2.0f);
                glRotatef(75.0f, 1.0f, 0.0f, 0.0f);
                glRotatef(15.0f, 0.0f, 1.0f, 0.0f);
                glRotatef(kRingSpin[i] * clock, 0.0f, 0.0f, 1.0f);
            },
            [&] { rings[i]->Draw(); });
    }
    if (tunnelOn) {
        DrawGroup(
            camera,
            [&] {
                glTranslatef(-200.0f, 800.0f, 0.0f);
                glScalef(2.0f * tunnelWidth, 2.0f * tunnelHeight, 2.0f * tunnelWidth);
                glRotatef(75.0f, 1.0f, 0.0f, 0.0f);
                glRotatef(15.0f, 0.0f, 1.0f, 0.0f);
                glRotatef(-4.0f * clock, 0.0f, 0.0f, 1.0f);
            },
            [&] { res.mdlTunnel.Draw(); });
    }
    res.crystalRefractShader.Unbind();
}

void cOrembyCityScene::DrawGlow() {
    cResources& res = *resources;
    DrawGroup(
        camera,
        [&] {
            glScalef(5.0f, 5.0f, 5.0f);
            glRotatef(float(sceneClock), 0.0f, 1.0f, 0.0f);
        },
        [&] {
            glColor3f(0.0f, 1.0f, 0.0f);
            DrawRefracted(camera, res.crystalRefractShader, {0.0f, 0.1f, 0.0f}, res.cubeMap.texture, [&] {
                res.mdlCrystalMany.Draw();
                cDebugSystem::Instance()->Log("cOrembyCityScene", res.music.SpectrumValue(kGlowBin));
                // The second copy grows with bin 15 (0.4 in silence).
                const float s = GlowScale() + 0.3f;
                glScalef(s, s, s);
                glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
                res.mdlCrystalMany.Draw();
            });
            DrawIcoSphere(3, false, 20.0f);  // in the current green, at the second copy's scale
        });
}

void cOrembyCityScene::DrawCrystalsAndRays() {
    cResources& res = *resources;
    const float clock = float(sceneClock);
    DrawRefractedModel(
        camera, res.crystalRefractShader, {0.1f, 0.1f, 0.1f}, res.cubeMap.texture,
        [&] {
            glScalef(5.0f, 5.0f, 5.0f);
            glRotatef(clock, 0.0f, 1.0f, 0.0f);
        },
        [&] {
            res.mdlCrystalMany.Draw();
            glScalef(0.3f, 0.3f, 0.3f);
            glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
            res.mdlCrystalMany.Draw();
        });
    res.crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});

    // Seven rays 45 degrees apart; loud frames (bin 0 above one third) make them vanish.
    DrawGroup(
        camera,
        [&] {
            glScalef(1.1f, 1.0f, 1.0f);
            glRotatef(clock, 0.0f, 0.0f, 1.0f);
        },
        [&] {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_ALPHA_TEST);
            glEnable(GL_BLEND);
            res.texRayAlpha.Bind();
            for (int i = 0; i < kRays; ++i) {
                const float a = RayAlpha();
                glColor4f(a, a, a, a);
                res.mdlRay.Draw();
                if (i < kRays - 1) glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
            }
            res.texRayAlpha.Unbind();
            glDisable(GL_ALPHA_TEST);
            glDisable(GL_BLEND);
        });
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void cOrembyCityScene::DrawContent(int pass) {
    // Loads the scene's projection and replaces whatever view the caller had set.
    ScenePatternPassStart(camera);
    camera.SetView(cVector3(0, kEyeHeight / zoom, kEyeDistance / zoom), cVector3(0, 0, 0), cVector3(0, 1, 0));

    if (pass == kPassMain || pass == kPassCubeFaces) DrawCubeSphere();
    if (pass == kPassMain) DrawRingsAndTunnel();
    if (pass == kPassFigureAlone) DrawGlow();
    if (pass == kPassMain) DrawCrystalsAndRays();
}

void cOrembyCityScene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

    // The cube map: DrawContent sets the scene camera itself, so every face receives the same
    // picture of the cube sphere seen from the scene camera (squeezed into the square face).
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    frame.Capture("figure alone", targetD, [&] { DrawContent(kPassFigureAlone); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, 2.5f});
    frame.Present(targetC);
    frame.Pass("glow", [&] { AddGlow(); });
    frame.Overlays(res.texOg2, fadeLevel, res.texBox01Diffuse);
}

void cOrembyCityScene::AddGlow() {
    cResources& res = *resources;
    // The glow crystal alone, smeared outwards from the centre and added onto the frame.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    res.radialBlurShader.SetSourceTexture(targetD.texture);
    res.radialBlurShader.SetScale(-0.5f);
    res.radialBlurShader.SetStart(1.0f);
    res.radialBlurShader.SetIterations(100);
    res.radialBlurShader.SetCenter(0.5f, 0.5f);
    res.radialBlurShader.Bind();
    // Only where the glow can reach: elsewhere every tap reads black and the sum adds nothing.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    float halfWidth = 0.5f, halfHeight = 0.5f;
    if (res.boundedPasses) GlowScreenExtent(halfWidth, halfHeight);
    const int left = int(std::floor((0.5f - halfWidth) * float(viewport[2])));
    const int bottom = int(std::floor((0.5f - halfHeight) * float(viewport[3])));
    const int right = int(std::ceil((0.5f + halfWidth) * float(viewport[2])));
    const int top = int(std::ceil((0.5f + halfHeight) * float(viewport[3])));
    glScissor(viewport[0] + left, viewport[1] + bottom, right - left, top - bottom);
    glEnable(GL_SCISSOR_TEST);
    DrawScreenQuad();
    glDisable(GL_SCISSOR_TEST);
    res.radialBlurShader.Unbind();
}

}  // namespace VantorGL
