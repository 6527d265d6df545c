// cTavikIsleScene: the glass figure and greetings scene. Update runs the demo-time script and the
// beat rule on this member's own state; Render draws the cube map, the figure alone for the rays,
// the main view, two masked blurs, and lays glow, rays and overlays over the presented image.
#include "scenes/TavikIsleScene.h"

#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/TimeSystem.h"

#include <cmath>

namespace VantorGL {

namespace {

// Colours of the glass and the cube sphere.
const cVector3f kGlassColour(0.2f, 0.2f, 0.3f);     // the refraction shader's resting tint
const cVector3f kRayFigureColour(0.1f, 0.1f, 0.1f);  // the figure alone, source of the rays

// The demo-time script of the first member: each step repeats in every frame of [from, to).
constexpr auto& kScript = cTavikIsleScene::kScriptSteps;
constexpr int kFirstLookFrom = kScript[0][0], kFirstLookTo = kScript[0][1];    // fixed camera, no greeting
constexpr int kSecondLookFrom = kScript[1][0], kSecondLookTo = kScript[1][1];  // green flash only
constexpr int kGreeting1From = kScript[2][0], kGreeting1To = kScript[2][1];    // fade flash, moving camera
constexpr int kGreeting2From = kScript[3][0], kGreeting2To = kScript[3][1];
constexpr int kGreeting3From = kScript[4][0], kGreeting3To = kScript[4][1];
constexpr int kLastLookFrom = kScript[5][0], kLastLookTo = kScript[5][1];      // fade flash, fixed camera again
constexpr int kBeatRuleFrom = 87000;   // demo time from which beats step the greetings
constexpr float kBeatCooldownMs = 888;  // at most one beat per 888 ms
constexpr int kFadeOutAfterMs = 28000;  // local time at which the fade picture returns

constexpr float kScriptTint = 0.2f;  // green flash of a script step
constexpr float kBeatTint = 0.1f;    // green flash of a beat
constexpr float kBeatFade = 0.5f;    // fade picture at a beat

bool Within(int t, int from, int to) { return from <= t && t < to; }

}  // namespace

int cTavikIsleScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, {targetC, kTargetFilterNearest}, targetD}, camera, 1, 8000);
    // The cube sphere draws 2016 cubes seven times a frame: one compiled cube instead of 24
    // immediate-mode vertices each time.
    cubeList = glGenLists(1);
    if (cubeList != 0) {
        glNewList(cubeList, GL_COMPILE);
        DrawCube();
        glEndList();
    }
    return 0;
}

void cTavikIsleScene::ReleaseGlObjects() {
    if (cubeList != 0) glDeleteLists(cubeList, 1);
    cubeList = 0;
}

void cTavikIsleScene::Update() {
    cResources& res = *resources;
    cTimeSystem* clock = cTimeSystem::Instance();
    const int dt = clock->Delta();
    const int t = clock->SinceReset();  // demo time

    res.crystalRefractShader.SetCrystalColor(kGlassColour);
    sceneClock += dt * 0.01;
    beatCooldown -= dt;

    if (Within(t, kFirstLookFrom, kFirstLookTo)) {
        cameraMode = 0;
        greeting = 0;
        tintPulse = kScriptTint;
    }
    if (Within(t, kSecondLookFrom, kSecondLookTo)) {
        greeting = 0;
        tintPulse = kScriptTint;
    }
    if (Within(t, kGreeting1From, kGreeting1To)) {
        fadeLevel = 1;
        greeting = 1;
        tintPulse = kScriptTint;
        cameraMode = 1;
    }
    if (Within(t, kGreeting2From, kGreeting2To)) {
        greeting = 2;
        tintPulse = kScriptTint;
        cameraMode = 1;
    }
    if (Within(t, kGreeting3From, kGreeting3To)) {
        greeting = 3;
        tintPulse = kScriptTint;
        cameraMode = 1;
    }
    if (Within(t, kLastLookFrom, kLastLookTo)) {
        fadeLevel = 1;
        greeting = 0;
        tintPulse = kScriptTint;
        cameraMode = 0;
    }

    if (t >= kBeatRuleFrom) {
        if (res.music.SpectrumValue(0) > kBeatLevel && beatCooldown <= 0) {
            fadeLevel = kBeatFade;
            beatCooldown = kBeatCooldownMs;
            greeting += 1;
            tintPulse = kBeatTint;
        }
        if (greeting > 3) greeting = 1;  // after greeting 3 comes greeting 1, in the same update
        cameraMode = 1;
    }

    zoom += dt * 0.001;
    if (zoom >= 1.2f) zoom = 1.2f;
    fadeLevel -= dt * 0.0015;
    if (fadeLevel <= 0) fadeLevel = 0;
    tintPulse -= dt * 0.00015;
    if (tintPulse <= 0) tintPulse = 0;
    // The fade picture comes back; nothing bounds it, GL clamps the alpha.
    if (localTime > kFadeOutAfterMs) fadeLevel += dt * 0.003;
}

void cTavikIsleScene::DrawCubeSphere() {
    cResources& res = *resources;
    const double c = sceneClock;
    auto cubes = [&] {
        glPushMatrix();
        res.tavikObjectShaderB.SetColor(cVector3f(0, 0, res.music.SpectrumValue(0) / 6));
        res.tavikObjectShaderB.Bind(camera);
        // Single-precision loop variables stepped by a double: 32 rows of 63 cubes.
        for (float u = 0; u < 3.1415; u += 0.1) {
            glPushMatrix();
            for (float v = -3.1415; v < 3.1415; v += 0.1) {
                glPushMatrix();
                const float px = 10 * SinF(u) * CosF(v);
                const float py = 10 * SinF(u) * SinF(v);
                const float pz = 10 * CosF(u);
                glTranslatef(2 * px, 2 * py, 2 * pz);
                glScalef(1, 1, 1);
                glRotatef(u * c, 1, 0, 0);
                glRotatef(v * c, 0, 1, 0);
                glRotatef(c, 0, 0, 1);
                if (cubeList != 0)
                    glCallList(cubeList);
                else
                    DrawCube();
                glPopMatrix();
            }
            glPopMatrix();
        }
        glPopMatrix();
        res.tavikObjectShaderB.Unbind();
        res.tavikObjectShaderB.SetColor(cVector3f(0, 0, 0));
    };
    DrawGroup(
        camera,
        [&] {
            glTranslatef(0, 0, 100);
            glScalef(210, 210, 210);  // cube centres at radius 20 land 4200 units out
            glRotatef(c, 1, 1, 1);
        },
        cubes);
}

void cTavikIsleScene::DrawFigure(bool withGreeting) {
    cResources& res = *resources;
    const cVector3f colour = withGreeting ? cVector3f(float(tintPulse - 0.2), tintPulse, float(tintPulse - 0.2))
                                          : kRayFigureColour;
    DrawRefractedModel(
        camera, res.crystalRefractShader, colour, res.cubeMap.texture,
        [&] {
            glTranslatef(0, 0, 0);
            glScalef(kFigureScale, kFigureScale, kFigureScale);
            glRotatef(sceneClock, 0, 1, 0);
        },
        [&] {
            if (!withGreeting) {
                AddModelExtent(figureExtent, res.mdlHumanplantMesh);
                AddModelExtent(figureExtent, res.mdlHumanplantHair);
            }
            res.mdlHumanplantMesh.Draw();
            res.mdlHumanplantHair.Draw();
            if (withGreeting) {
                if (greeting == 1) res.mdlGreeting1.Draw();
                if (greeting == 2) res.mdlGreeting2.Draw();
                if (greeting == 3) res.mdlGreeting3.Draw();
            }
        });
    res.crystalRefractShader.SetCrystalColor(kGlassColour);
}

void cTavikIsleScene::MovingView(double c, cVector3& eye, cVector3& centre) {
    eye = cVector3(1500 * std::sin(c / 20), 1600 * std::cos(c / 15) - 400, 2500 * std::cos(c / 25));
    centre = cVector3(0, 1600 * std::cos(c / 25) - 1300, 0);
}

void cTavikIsleScene::DrawContent(int pass) {
    ScenePatternPassStart(camera);

    const double c = sceneClock;
    if (cameraMode == 0) {
        camera.SetView(cVector3(0, 1400 / zoom, 1600 / zoom), cVector3(0, 0, 0), cVector3(0, 1, 0));
    } else if (cameraMode == 1) {
        cVector3 eye, centre;
        MovingView(c, eye, centre);
        camera.SetView(eye, centre, cVector3(0, 1, 0));
    }

    if (pass == kPassMain || pass == kPassCubeFaces) DrawCubeSphere();
    if (pass == kPassFigureAlone) DrawFigure(false);
    if (pass == kPassCubeFaces || pass == kPassFigureAlone) return;
    DrawFigure(true);
}

void cTavikIsleScene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);
    glClearColor(1, 1, 1, 1);

    // Every face gets the same picture (DrawContent sets its own projection and view): the cube
    // sphere as the scene camera sees it, for the glass to refract.
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    figureExtent.Clear();
    frame.Capture("figure alone", targetD, [&] { DrawContent(kPassFigureAlone); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    // targetB is the softened image, targetC the glow.
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, 2.5f});
    frame.Present(targetB);

    // Glow: the second blur screen-blended over the frame.
    frame.Pass("glow", [&] {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
        targetC.BindTexture();
        DrawScreenQuad();
        targetC.UnbindTexture();
    });
    // Light rays: the figure's silhouette blurred outwards from the centre, added, where they can
    // reach from the figure (elsewhere every tap reads black and adds nothing).
    frame.Pass("rays", [&] {
        glBlendFunc(GL_ONE, GL_ONE);
        cRadialBlurShader& rays = res.radialBlurShader;
        rays.SetSourceTexture(targetD.texture);
        rays.SetScale(-0.5f);
        rays.SetStart(1.0f);
        rays.SetIterations(100);
        rays.SetCenter(0.5f, 0.5f);
        rays.Bind();
        DrawZoomBlurQuad(figureExtent, rays, res.boundedPasses);
        rays.Unbind();
    });
    frame.Overlays(res.texOg3, fadeLevel, res.texBox01Diffuse);
}

}  // namespace VantorGL
