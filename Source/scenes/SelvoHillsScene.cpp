// cSelvoHillsScene: the opening's story (wipe, logo, rings on the beat, closing fade), its 3D
// content and the two masked-blur passes over it.
#include "scenes/SelvoHillsScene.h"

#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/TimeSystem.h"

#include <cstdlib>

namespace VantorGL {

namespace {

// Where the logo has shrunk away and beats start to add rings. Compared in single precision, so
// the clamped value itself counts as reached.
constexpr float kProgressFull = 0.03f;

// Beats: spectrum bin 0 above kBeatLevel, at most one per kBeatCooldownMs.
constexpr float kBeatCooldownMs = 400.0f;
constexpr float kFlashAtBeat = 10.0f;
constexpr float kBeatBlurMax = 2.5f;

// Local times of the late story.
constexpr int kTumbleMs = 19000;  // blur pinned low, rings tumble, the title overlay fades out
constexpr int kClosingMs = 24000; // cube sphere and crystal grow fast, the closing picture fades in
constexpr float kRingSpinBeforeShrink = 200.0f;  // degrees of tumble before the rings shrink away

// The four crystal rings, innermost first.
struct sRing {
    float scale;
    float axis[3];
    float ambient;
    float colour[3];
};
constexpr sRing kRings[4] = {
    {0.17f, {1, 2, 3}, 0.1f, {1.0f, 1.0f, 1.0f}},
    {0.18f, {3, 2, 1}, 0.2f, {0.95f, 0.95f, 1.0f}},
    {0.19f, {3, 1, 3}, 0.5f, {0.85f, 0.85f, 1.0f}},
    {0.20f, {5, 2, 1}, 0.7f, {0.7f, 0.7f, 1.0f}},
};

// The cube sphere's parameter grid, shared by the height table and the drawing so cube k always
// gets height k: u from 0 while u < 3.1415, v from -3.1415 while v < 3.1415, steps 0.05. The loop
// variables are single precision, the steps and bounds double, as the grid was first written;
// that gives 63 rows of 126. rowBegin() and rowEnd() frame each u row; cell(u, v, k) stops at
// kCubeCount whatever the float walk does.
template <class RowBegin, class Cell, class RowEnd>
int WalkCubeGrid(RowBegin&& rowBegin, Cell&& cell, RowEnd&& rowEnd) {
    int k = 0;
    for (float u = 0.0f; u < 3.1415; u = float(u + 0.05)) {
        rowBegin();
        for (float v = -3.1415f; v < 3.1415; v = float(v + 0.05)) {
            if (k < cSelvoHillsScene::kCubeCount) cell(u, v, k);
            ++k;
        }
        rowEnd();
    }
    return k;
}

constexpr float kCubeScale = 0.5f;  // each cube is 1 unit across

}  // namespace

int cSelvoHillsScene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC}, camera, 1, 5000);
    FillCubeHeights();
    cubeBatch.assign(std::size_t(kCubeCount) * kCubeVertexCount, sCubeVertex{});
    return 0;
}

int cSelvoHillsScene::FillCubeHeights() {
    return WalkCubeGrid([] {}, [this](float, float, int k) { cubeHeights[k] = float((std::rand() % 100) / 10.0 + 0.3); },
                        [] {});
}

float cSelvoHillsScene::BlurFactor() const {
    return float(2.5 - 50.0 * progress + blurBoost + beatBlur - blurDrop);
}

void cSelvoHillsScene::Update() {
    const int dt = cTimeSystem::Instance()->Delta();
    const float beatLevel = resources ? resources->music.SpectrumValue(0) : 0.0f;

    sceneClock += dt * 0.01;
    beatCooldown -= dt;
    blurBoost -= dt * 0.005;
    if (blurBoost <= 0) blurBoost = 0;
    if (timer.elapsed >= 30) outlineWipe += dt * 0.000181;  // the wipe takes about 5.5 s
    if (outlineWipe >= 1) {
        outlineWipe = 1;
        logoAlpha += dt * 0.001;
        if (logoAlpha >= 1) {
            logoAlpha = 1;
            progress += 0.0001f;  // once per update, whatever the frame time
        }
    }
    if (beatLevel > kBeatLevel && beatCooldown <= 0) {
        if (logoAlpha >= 1) progress += dt * 0.0001;
        beatCooldown = kBeatCooldownMs;
        flash = kFlashAtBeat;
        if (progress >= kProgressFull) {
            ringCount += 1;
            blurMapMode = 1;
            beatBlur += dt * 0.01;
            if (beatBlur > kBeatBlurMax) beatBlur = kBeatBlurMax;
        }
    }
    if (progress >= kProgressFull) progress = kProgressFull;
    flash -= dt * 0.1;
    if (flash <= 0) flash = 0;
    if (ringCount >= 7) overlayAlpha += dt * 0.0005;
    if (overlayAlpha >= 1) blurDrop += dt * 0.0043;
    if (localTime > kTumbleMs) {
        blurDrop = 2.5f;
        ringTumble = true;
        ringSpin += dt * 0.1;
        overlayAlpha -= dt * 0.001;  // no floor: GL clamps the colour
    }
    if (ringSpin >= kRingSpinBeforeShrink) {
        ringShrink -= dt * 0.00025;
        if (ringShrink < -0.2f) ringShrink = -0.2f;
    }
    if (localTime > kClosingMs) {
        growth += dt * 0.0015;
        endFade += dt * 0.001;  // no ceiling: the clear colour saturates
        ringCount = 0;
    }
}

void cSelvoHillsScene::DrawContent(int) {
    const float w = 1.0f - flash / 30.0f + endFade;
    const float bl = 1.0f - flash / 20.0f + endFade;
    glClearColor(w, w, bl, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    camera.SetView(cVector3(0, 0, -50), cVector3(0, 0, -1), cVector3(0, 1, 0));  // looks along +z
    camera.Apply();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    DrawCrystal();
    DrawCubeSphere();
    if (progress < kProgressFull) DrawLogo();
    DrawRings();
}

// The crystal cluster twice (the second smaller and turned) inside a plain white sphere.
void cSelvoHillsScene::DrawCrystal() {
    cResources& res = *resources;
    const float s = 6 * progress + growth;
    DrawGroup(
        camera,
        [&] {
            glTranslatef(0.0f, 0.0f, 100.0f);
            glScalef(s, s, s);
            glRotatef(float(sceneClock), 0.0f, 1.0f, 0.0f);
        },
        [&] {
            glColor3f(1.0f, 1.0f, 1.0f);
            res.crystalRingShader.SetAmbient(0.1f);
            res.crystalRingShader.Light2Color = cVector3f(1.0f, 1.0f, 1.0f);
            res.crystalRingShader.Bind(camera);
            res.mdlCrystalMany.Draw();
            glScalef(0.3f, 0.3f, 0.3f);
            glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
            res.mdlCrystalMany.Draw();
            res.crystalRingShader.Unbind();
            DrawIcoSphere(3, false, 20.0f);
        });
}

// 7938 cubes on a sphere of radius 10, each pushed out along its own direction by its height
// times growth / 2 and spun by its grid angles; the beat flash jolts every rotation.
void cSelvoHillsScene::DrawCubeSphere() {
    cResources& res = *resources;
    const float g = growth + 60 * progress;
    const double clock = sceneClock;
    const float beat = flash;
    const float push = growth / 2;
    // Cube k sits at p * (1 + growth * h_k / 2), p on the sphere of radius 10.
    auto place = [&](float u, float v, int k, float t[3]) {
        const float px = 10 * SinF(u) * CosF(v);
        const float py = 10 * SinF(u) * SinF(v);
        const float pz = 10 * CosF(u);
        const float out = push * cubeHeights[k];
        t[0] = px + out * px;
        t[1] = py + out * py;
        t[2] = pz + out * pz;
    };
    auto cubes = [&] {
        glPushMatrix();
        res.tavikObjectShaderB.SetColor(cVector3f(0.0f, 0.0f, res.music.SpectrumValue(0) / 2));
        res.tavikObjectShaderB.Bind(camera);
        if (batchCubes && cubeBatch.size() == std::size_t(kCubeCount) * kCubeVertexCount) {
            sCubeVertex* vertex = cubeBatch.data();
            WalkCubeGrid([] {},
                         [&](float u, float v, int k) {
                             float t[3];
                             place(u, v, k, t);
                             vertex = EmitTransformedCube(vertex, t, kCubeScale, float(u * clock + beat),
                                                          float(v * clock + beat), float(beat + clock));
                         },
                         [] {});
            DrawCubeBatch(cubeBatch.data(), int(cubeBatch.size()));
        } else {
            WalkCubeGrid([] { glPushMatrix(); },
                         [&](float u, float v, int k) {
                             float t[3];
                             place(u, v, k, t);
                             glPushMatrix();
                             glTranslatef(t[0], t[1], t[2]);
                             glScalef(kCubeScale, kCubeScale, kCubeScale);
                             glRotatef(float(u * clock + beat), 1.0f, 0.0f, 0.0f);
                             glRotatef(float(v * clock + beat), 0.0f, 1.0f, 0.0f);
                             glRotatef(float(beat + clock), 0.0f, 0.0f, 1.0f);
                             DrawCube();
                             glPopMatrix();
                         },
                         [] { glPopMatrix(); });
        }
        glPopMatrix();
        res.tavikObjectShaderB.Unbind();
        res.tavikObjectShaderB.SetColor(cVector3f(0.0f, 0.0f, 0.0f));
    };
    DrawGroup(
        camera,
        [&] {
            glTranslatef(0.0f, 0.0f, 100.0f);
            glScalef(g, g, g + 5);
            glRotatef(float(sceneClock), 1.0f, 1.0f, 1.0f);
        },
        cubes);
}

// The MV outline, cut by the shadow cage at outlineWipe (the value stored after Bind, so it takes
// effect one frame later), then the solid logo at logoAlpha; both shrink as progress grows and
// swell with the beat flash.
void cSelvoHillsScene::DrawLogo() {
    cResources& res = *resources;
    float k = float(0.3 - 10.0 * progress + flash / 150.0);
    if (k < 0) k = 0;

    auto place = [&] {
        glTranslatef(0.0f, 0.0f, 0.0f);
        glScalef(k, k, k);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    };
    DrawGroup(camera, place, [&] {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        res.shadowCageShader.Bind();
        res.shadowCageShader.SetBlurFactor(outlineWipe);
        res.mdlMVOutline.Draw();
        res.shadowCageShader.Unbind();
    });
    DrawGroup(camera, place, [&] {
        res.mvLogoShader.SetAlpha(logoAlpha);
        res.mvLogoShader.Bind(camera);
        res.mdlMVLogo.Draw();
        res.mvLogoShader.Unbind();
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_BLEND);
    });
}

// Rings 1..ringCount (at most four) around the centre, tilted and turning with the clock; from
// the tumble on each also spins about its own axis.
void cSelvoHillsScene::DrawRings() {
    cResources& res = *resources;
    c3DsModelSystem* const models[4] = {&res.mdlCrystalRing1, &res.mdlCrystalRing2, &res.mdlCrystalRing3,
                                        &res.mdlCrystalRing4};
    for (int i = 0; i < 4; ++i) {
        if (ringCount < i + 1) continue;
        const sRing& ring = kRings[i];
        const float r = ringShrink + ring.scale;
        DrawGroup(
            camera,
            [&] {
                glTranslatef(0.0f, 0.0f, 50.0f);
                glScalef(r, r, r);
                glRotatef(75.0f, 1.0f, 0.0f, 0.0f);
                glRotatef(15.0f, 0.0f, 1.0f, 0.0f);
                glRotatef(float(sceneClock), 0.0f, 0.0f, 1.0f);
                if (ringTumble) glRotatef(ringSpin, ring.axis[0], ring.axis[1], ring.axis[2]);
            },
            [&] {
                res.crystalRingShader.SetAmbient(ring.ambient);
                res.crystalRingShader.Light2Color = cVector3f(ring.colour[0], ring.colour[1], ring.colour[2]);
                res.crystalRingShader.Bind(camera);
                models[i]->Draw();
                res.crystalRingShader.Unbind();
            });
    }
}

void cSelvoHillsScene::Render() {
    if (!resources) return;
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    const GLuint map = blurMapMode == 0 ? res.texBlurMapII.texture : res.texBlurSelvo.texture;
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {map, BlurFactor()});
    frame.Present(targetC);
    glColor4f(1.0f, 1.0f, 1.0f, overlayAlpha);  // the logo picture fades in and out
    frame.Overlays(res.texLogoScene, endFade, res.texBox01Diffuse);
}

}  // namespace VantorGL
