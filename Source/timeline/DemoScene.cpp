// cDemoScene: loading, the initialisation and dispatch orders and the per-frame log line.
#include "timeline/DemoScene.h"

#include "render/Primitives.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

#include <new>

namespace VantorGL {

namespace {

// Destroys an object and builds a default one in the same storage, so every pointer to it (the
// dispatch table, the scenes' `resources`) still names it. The constructors do no GL work and
// never throw.
template <class T, class... Arguments>
void RenewInPlace(T& object, Arguments... arguments) {
    object.~T();
    new (&object) T(arguments...);
}

// A timeline scene renewed: what its Init made on the GL side goes first, since its render
// targets release nothing when destroyed.
template <class Scene>
void RenewScene(Scene& scene) {
    scene.ReleaseGlObjects();
    RenewInPlace(scene);
}

}  // namespace

int cDemoScene::Init() {
    const bool again = loaded;
    if (!loaded) {
        registry.SelectMusic();
        registry.LoadAll();
        loaded = true;
    }
    cDebugSystem::Instance()->Log("cDemoScene", "Dette er ifra Init(void)");

    // Scene Inits change shared state (GL state, the shared particle system): this order decides
    // what is in force when the first frame starts.
    cSceneSystem* const initOrder[] = {&selvoHills,  &workshop,     &tavikIsleFirst,  &orembyCity,      &pelkAirport,
                                       &drunaBeach,  &route21First, &cucumberCamping, &tavikIsleSecond, &route21Second};
    for (cSceneSystem* scene : initOrder) {
        scene->SetResources(&registry);
        if (again && scene == &workshop)
            workshop.ConfigureShared();  // its pictures, targets and program are still there
        else
            scene->Init();
    }
    for (cSceneSystem* scene : dispatch) scene->disabled = false;

    for (int i = 0; i < kTimelineScenes; ++i) dispatch[i]->SetTimeWindow(kTimeline[i].start, kTimeline[i].end);

    cTimeSystem::Instance()->Reset();
    registry.music.Play();
    return 0;
}

void cDemoScene::ResetScenes() {
    registry.music.Stop();
    RenewScene(selvoHills);
    RenewScene(orembyCity);
    RenewScene(drunaBeach);
    RenewScene(tavikIsleFirst);
    RenewScene(route21First);
    RenewScene(tavikIsleSecond);
    RenewScene(route21Second);
    RenewScene(pelkAirport);
    RenewScene(cucumberCamping);
    // Settings back to their defaults and the pool gone; rand() seeded once more with the seed
    // the run started from, so the scenes' random tables come out as they did the first time.
    RenewInPlace(registry.particles, registry.particles.Seed());
    // The one value a scene stores after binding its program (it reaches the GPU a frame late):
    // the first frame after a restart must push the value a fresh run starts with.
    registry.shadowCageShader.SetBlurFactor(cSourceFactorShader::kStartBlurFactor);
    // The sequencer's own clock latches again on its next driver call; its window stays.
    firstCall = true;
    localTime = 0;
    timer.elapsed = 0;
    timer.base = 0;
}

void cDemoScene::Restart() {
    ResetScenes();
    Init();
}

void cDemoScene::Update() {
    registry.music.AnalyseSpectrum();
    for (cSceneSystem* scene : dispatch) scene->RunUpdate();
}

void cDemoScene::Render() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    for (cSceneSystem* scene : dispatch) scene->RunRender();

    // The og3 overlay over everything, mirrored top to bottom; it slightly overflows the screen.
    registry.passTimer.BeginPass("sequencer overlay");
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, -3.65f);
    glScalef(2.08f, 1.56f, 0.0f);
    glScalef(1.0f, -1.0f, 0.0f);
    registry.texOg3.Bind();
    DrawScreenQuad();
    registry.texOg3.Unbind();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    registry.passTimer.EndPass();

    cDebugSystem::Instance()->Log("cDemoScene()", timer.elapsed);
}

}  // namespace VantorGL
