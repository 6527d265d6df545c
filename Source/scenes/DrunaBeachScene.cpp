// cDrunaBeachScene: the glass tunnel flight. Every frame renders the tubes and sculptures into the
// registry's cube map, draws the full view (with the glass tunnel refracting that cube) into
// targetA, blurs it twice and lays the og2 picture and the fade over it.
#include "scenes/DrunaBeachScene.h"

#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

namespace VantorGL {

namespace {

// The sculptures along the axis, in drawing order.
const cVector3f kFirstCrystalAt(0.0f, 0.0f, 4000.0f);
const cVector3f kRingPairAt(0.0f, 0.0f, 2000.0f);
const cVector3f kSecondCrystalAt(0.0f, 0.0f, 0.0f);
const cVector3f kSculptureGlass(0.3f, 0.3f, 0.4f);  // tint of the crystals and the ring pair

constexpr int kParticleCount = 100;

// A sculpture along the axis: glass at `position` refracting `cube`, twice its model's size,
// turned by `turn()`.
template <class Turn, class Draw>
void DrawSculpture(const cCamera& camera, cResources& res, GLuint cube, cVector3f position, Turn&& turn,
                   Draw&& draw) {
    DrawRefractedModel(
        camera, res.crystalRefractShader, kSculptureGlass, cube,
        [&] {
            glTranslatef(position.x, position.y, position.z);
            glScalef(2.0f, 2.0f, 2.0f);
            turn();
        },
        draw);
}

}  // namespace

int cDrunaBeachScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC}, camera, kNear, kFar);

    cResources& res = *resources;
    res.particles.CreateParticles(kParticleCount);
    // The drift's y is drawn first, its x second.
    const float driftY = float(RandomRange(-0.001f, 0.001f));
    const float driftX = float(RandomRange(-0.001f, 0.001f));
    res.particles.SetAcceleration(driftX, driftY, 0.3f);
    return 0;
}

void cDrunaBeachScene::Update() {
    const int dt = cTimeSystem::Instance()->Delta();
    sceneClock += dt * 0.01;
    flyDistance += float(dt * 0.5);
    orbitAngle += float(dt * 0.001);
    resources->particles.SetEmitterPosition(kOrbitRadius * SinF(-orbitAngle), kOrbitRadius * CosF(-orbitAngle),
                                            flyDistance + 1000.0f);
    fadeLevel -= float(dt * 0.001);
    if (fadeLevel <= 0.0f) fadeLevel = 0.0f;
    if (localTime > kBlurOutStartMs) {
        blurAmount += float(dt * 0.01);
        fadeLevel += float(dt * 0.0013);  // unbounded: the fade quad's alpha is clamped by GL
    }
}

cVector3 cDrunaBeachScene::FlyingEye() const {
    return cVector3(kOrbitRadius * SinF(-orbitAngle), kOrbitRadius * CosF(-orbitAngle), flyDistance - kEyeBehind);
}

cVector3 cDrunaBeachScene::FlyingCenter() const { return cVector3(0.0, 0.0, flyDistance + 10.0f); }

void cDrunaBeachScene::DrawCrystal(cVector3f position) {
    cResources& res = *resources;
    DrawSculpture(
        camera, res, sculptureCube, position,
        [&] { glRotatef(position.z, 1.0f, 1.0f, 1.0f); },  // the z position doubles as the turn in degrees
        [&] { res.mdlCrystalWide.Draw(); });
}

void cDrunaBeachScene::DrawRingPair(cVector3f position) {
    cResources& res = *resources;
    DrawSculpture(
        camera, res, sculptureCube, position,
        [&] {
            glRotatef(5.0f, 1.0f, 0.0f, 0.0f);
            glRotatef(float(3.0 * sceneClock), 0.0f, 0.0f, 1.0f);
        },
        [&] {
            res.mdlCrystalRing1.Draw();
            // Undo the first ring's turn and go twice as far back, tilted: minus three times its rate.
            glRotatef(float(-6.0 * sceneClock), 0.0f, 0.0f, 1.0f);
            glRotatef(-10.0f, 1.0f, 0.0f, 0.0f);
            res.mdlCrystalRing2.Draw();
        });
}

void cDrunaBeachScene::DrawContent(int pass) {
    cResources& res = *resources;
    ScenePatternPassStart(camera);

    // The flying camera is not applied: every block below looks through it on its own matrix.
    camera.SetView(FlyingEye(), FlyingCenter(), cVector3(0, 1, 0));

    auto atTunnelStart = [] {
        glTranslatef(0.0f, 0.0f, kTunnelFirstZ);
        glScalef(1.0f, 1.0f, 1.0f);
    };
    // Spiked tubes, 16 copies from z = 10000 down to z = -5000.
    DrawGroupOnCurrent(camera, atTunnelStart, [&] {
        res.tavikObjectShaderA.Bind(camera);
        for (int i = 0; i < kTunnelPieces; ++i) {
            if (i > 0) glTranslatef(0.0f, 0.0f, kTunnelStep);
            res.mdlSpiketube.Draw();
        }
        res.tavikObjectShaderA.Unbind();
    });
    // The sculptures below refract the cube; in the cube's own pass, these tubes.
    sculptureCube = pass == kPassCubeFaces ? res.cubeMap.ShowFacesDrawnSoFar() : res.cubeMap.texture;

    // The glass tunnel at the same places; left out of the cube-map faces.
    if (pass != kPassCubeFaces) {
        const cVector3f tunnelGlass(0.0f, 0.02f, 0.0f);
        DrawRefractedModel(camera, res.crystalRefractShader, tunnelGlass, res.cubeMap.texture, atTunnelStart, [&] {
            for (int i = 0; i < kTunnelPieces; ++i) {
                if (i > 0) glTranslatef(0.0f, 0.0f, kTunnelStep);
                res.mdlTunnel.Draw();
            }
        });
    }

    DrawCrystal(kFirstCrystalAt);
    DrawRingPair(kRingPairAt);
    DrawCrystal(kSecondCrystalAt);
}

void cDrunaBeachScene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

    // The cube map: every face gets the same flying view (DrawContent sets its own camera), so
    // the glass refracts the tubes and sculptures as seen from the eye.
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, 2.5f},
                   {res.texBlurMapII.texture, blurAmount});
    frame.Present(targetC);
    frame.Overlays(res.texOg2, fadeLevel, res.texBox01Diffuse);
}

}  // namespace VantorGL
