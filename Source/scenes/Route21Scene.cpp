// cRoute21Scene: the torus interlude, shown twice by the sequencer as two independent objects,
// each with its own clocks and fade.
#include "scenes/Route21Scene.h"

#include "assets/Resources.h"
#include "render/Primitives.h"
#include "scenes/SceneFrame.h"
#include "scenes/ScenePattern.h"
#include "timeline/TimeSystem.h"

#include <cmath>

namespace VantorGL {

namespace {

constexpr double kClockRate = 0.01;         // sceneClock units per frame millisecond
constexpr float kBeatCooldownMs = 400.0f;   // at most one beat per 400 ms
constexpr float kFadeOutPerMs = 0.0015f;    // the fade picture lifts in about 667 ms
constexpr float kFadeInPerMs = 0.003f;      // after 1:55.0 it comes back (net 0.0015 per ms)
constexpr int kFadeBackAfterMs = 115000;    // "1:55.0", the end of the second showing
constexpr double kTurnPerClock = 5.0;       // degrees of torus turn per sceneClock unit: 50 per second
constexpr float kFirstBlurFactor = 2.5f;

}  // namespace

int cRoute21Scene::Init() {
    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC, targetD}, camera, 1, 5000);
    return 0;
}

void cRoute21Scene::Update() {
    cResources& res = *resources;
    const int dt = cTimeSystem::Instance()->Delta();

    // The registry's tint, restored in case another scene changed it.
    res.crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});
    sceneClock += dt * kClockRate;
    beatCooldown -= float(dt);
    if (res.music.SpectrumValue(0) > kBeatLevel && beatCooldown <= 0.0f) {
        beatCount += 1;
        beatCooldown = kBeatCooldownMs;
    }
    // Beats are counted and forgotten at once: the swaying view is the only one ever seen.
    if (beatCount > 0) beatCount = 0;

    endFade -= float(dt) * kFadeOutPerMs;
    if (endFade <= 0.0f) endFade = 0.0f;
    // Unbounded on purpose: GL clamps the overlay's alpha.
    if (cTimeSystem::Instance()->SinceReset() > kFadeBackAfterMs) endFade += float(dt) * kFadeInPerMs;
}

cVector3 cRoute21Scene::SwayUp(double s) {
    return cVector3(1.0 - std::sin(s / 5.0 + 5.214), 2.0 * std::sin(s / 10.0 + 1.45315), std::cos(s / 8.0 + 1.548));
}

void cRoute21Scene::SetSwayView() {
    // The eye stands 704 from the torus's axis and looks 65 degrees away from it, across the
    // ring's passing tube; the view never moves, only rolls.
    camera.SetView(cVector3(kEyeX, kEyeY, kEyeZ), cVector3(kLookAtX, kLookAtY, kLookAtZ), SwayUp(sceneClock));
}

void cRoute21Scene::DrawContent(int pass) {
    cResources& res = *resources;

    ScenePatternPassStart(camera);
    SetSwayView();

    // The ball cube at the centre: both passes.
    auto centred = [] {
        glTranslatef(0.0f, 0.0f, 0.0f);
        glScalef(kModelScale, kModelScale, kModelScale);
    };
    DrawGroupOnCurrent(camera, centred, [&] {
        res.tavikObjectShaderA.Bind(camera);
        res.mdlCuball.Draw();
        res.tavikObjectShaderA.Unbind();
    });

    if (pass == kPassCubeFaces) return;

    // The torus in the pillar-room material.
    auto turning = [&] {
        centred();
        glRotatef(float(kTurnPerClock * sceneClock), 0.0f, 1.0f, 0.0f);
    };
    DrawGroupOnCurrent(camera, turning, [&] {
        res.npLightPillar.SetAmbient(0.3f);
        res.npLightPillar.LightColor = {0.5f, 0.5f, 0.5f};
        res.npLightPillar.Light2Color = {0.4f, 0.4f, 1.0f};
        res.npLightPillar.Bind(camera);
        res.mdlTorus.Draw();
        res.npLightPillar.Unbind();

        // Its crystals, added over it; they refract the cube drawn this frame.
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        DrawRefracted(camera, res.crystalCaveRefractShader, {-0.1f, -0.1f, 0.1f}, res.cubeMap.texture,
                      [&] { res.mdlTorusCrystals.Draw(); });
        glDisable(GL_BLEND);
    });
}

void cRoute21Scene::Render() {
    cResources& res = *resources;
    cSceneFrame frame(res.passTimer);

    // Every face gets the same picture (DrawContent sets its own projection and view): the ball
    // cube the torus's crystals refract.
    frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });
    frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
    frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {res.texBlurMap.texture, kFirstBlurFactor},
                   {res.texBlurMapII.texture, SecondBlurFactor()});
    frame.Present(targetC);
    frame.Overlays(res.texOg2, endFade, res.texBox01Diffuse);
}

}  // namespace VantorGL
