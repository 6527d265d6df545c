// cCucumberCampingScene: the closing canyon flight, its glow and sky-ray passes and the fades
// that open the scene and end the demo.
#include "scenes/CucumberCampingScene.h"

#include "assets/Resources.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/TimeSystem.h"

#include <algorithm>

namespace VantorGL {

namespace {

constexpr float kFadeInPerMs = 0.001f;         // the cover picture is gone after one second
constexpr float kFadeOutPerMs = 0.002f;        // net +0.001 per ms against the fade-in
constexpr int kFadeOutFromMs = 166000;         // "2:46.0": one second before the demo ends
constexpr float kBlurFactor = 2.5f;  // Gaussian tap step, pixels

// The frame every object of DrawContent is drawn in: the camera's view on the identity, then a
// neutral placement.
template <class Draw>
void DrawPlaced(const cCamera& camera, Draw&& draw) {
    DrawGroupOnCurrent(
        camera,
        [] {
            glTranslatef(0.0f, 0.0f, 0.0f);
            glScalef(1.0f, 1.0f, 1.0f);
        },
        draw);
}

}  // namespace

int cCucumberCampingScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC, targetD, targetE}, camera, 1, 10000);
    return 0;
}

void cCucumberCampingScene::Update() {
    cResources& res = *resources;
    cTimeSystem* clock = cTimeSystem::Instance();
    const int d = clock->Delta();
    res.crystalRefractShader.SetCrystalColor(cVector3f(0.2f, 0.2f, 0.3f));
    sceneClock += d * kClockPerMs;
    fade = std::max(0.0f, fade - d * kFadeInPerMs);
    if (clock->SinceReset() > kFadeOutFromMs) fade = std::min(1.0f, fade + d * kFadeOutPerMs);
}

cVector3 cCucumberCampingScene::EyeAt(double clock) {
    const float slide = float(clock);
    return cVector3((slide - 287.0f) - 20.0f, 150.0f - 20.0f, 430.0f - slide);
}

void cCucumberCampingScene::DrawContent(int pass) {
    cResources& res = *resources;
    ScenePatternPassStart(camera);  // also loads the projection: 45 degrees, 4:3, near 1, far 10000
    camera.SetView(Eye(), cVector3(kCreditsX, kCreditsY, kCreditsZ), cVector3(0, 1, 0));

    if (pass == kPassMain || pass == kPassCubeFaces) {
        DrawPlaced(camera, [&] {
            res.npLightTerWall.Bind(camera);
            res.mdlTerWall.Draw();
            res.npLightTerWall.Unbind();
        });
        // The credits in black first; the main view lays them lit over the same depth.
        DrawPlaced(camera, [&] {
            glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
            res.mdlCreds.Draw();
        });
    }
    if (pass == kPassMain) {
        DrawPlaced(camera, [&] {
            res.npLightTerFloor.Bind(camera);
            res.mdlTerGround.Draw();
            res.npLightTerFloor.Unbind();
        });
        DrawPlaced(camera, [&] {
            // Blending is off here, so the crystals are drawn opaque whatever the function says.
            glBlendFunc(GL_ONE, GL_ONE);
            cCrystalCaveRefractShader& crystal = res.crystalCaveRefractShader;
            crystal.SetRefractionIndex(1.7f);
            // The cube map holds the faces completed this frame.
            DrawRefracted(camera, crystal, cVector3f(0.1f, 0.1f, 0.3f), res.cubeMap.texture,
                          [&] { res.mdlTerCrys.Draw(); });
            crystal.SetRefractionIndex(1.0f);
            glDisable(GL_BLEND);
        });
        DrawPlaced(camera, [&] {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            res.mdlTerSky.Draw();
        });
        DrawPlaced(camera, [&] {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            res.tavikObjectShaderB.Bind(camera);
            res.mdlCreds.Draw();
            res.tavikObjectShaderB.Unbind();
        });
    }
    if (pass == kPassFigureAlone) {  // the sky alone, for the rays
        DrawPlaced(camera, [&] {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            AddModelExtent(skyExtent, res.mdlTerSky);
            res.mdlTerSky.Draw();
        });
    }
}

void cCucumberCampingScene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

    // Every face gets the scene camera's view (DrawContent sets its own camera): walls and the
    // black credits, which the crystals of the main view refract and reflect.
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    skyExtent.Clear();
    frame.Capture("figure alone", targetD, [&] { DrawContent(kPassFigureAlone); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, kBlurFactor});
    frame.Capture("rays", targetE, [&] {
        PostQuadTransform();
        cRadialBlurShader& rays = res.radialBlurShader;
        rays.SetSourceTexture(targetD.texture);
        rays.SetScale(kRayScale);
        rays.SetStart(kRayStart);
        rays.SetIterations(kRayIterations);
        rays.SetCenter(kRayCentreX, kRayCentreY);
        rays.Bind();
        // Only where the rays reach from the crack of sky; the rest keeps the clear colour,
        // which is what the blur of black gives.
        DrawZoomBlurQuad(skyExtent, rays, res.boundedPasses);
        rays.Unbind();
    });
    frame.Present(targetC);
    frame.Pass("ray layers", [&] {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        targetE.BindTexture();
        for (int layer = 0; layer < kRayLayers; ++layer) DrawScreenQuad();
        targetE.UnbindTexture();
    });
    frame.Overlays(res.texOg2, fade, res.texBox01Diffuse);
}

}  // namespace VantorGL
