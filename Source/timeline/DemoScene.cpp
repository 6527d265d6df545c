// cDemoScene: loading, the scene members by name (in Init order), the schedule built from the
// time line table, and the per-frame log line.
#include "timeline/DemoScene.h"

#include "render/Primitives.h"
#include "scenes/ScenePattern.h"
#include "shell/Console.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

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

// A timeline scene renewed: what its Init made on the GL side beyond the targets it was handed
// (the sequencer takes those back from the registry) goes first.
template <class Scene>
void RenewScene(Scene& scene) {
    if constexpr (requires { scene.ReleaseGlObjects(); }) scene.ReleaseGlObjects();
    RenewInPlace(scene);
}

// One scene member: its name, as the time line table writes it, and the member itself.
struct sSceneMember {
    const char* name;
    cSceneSystem& (*of)(cDemoScene& demo);
    void (*renew)(cDemoScene& demo);
};

// The member's name is written once: the row takes it both as text and as the member.
#define SCENE_MEMBER(member)                                                 \
    sSceneMember {                                                           \
        #member, [](cDemoScene& demo) -> cSceneSystem& { return demo.member; }, \
            [](cDemoScene& demo) { RenewScene(demo.member); }                \
    }

// Every scene member, in Init order: scene Inits change shared state (GL state, the shared
// particle system), so this order decides what is in force when the first frame starts.
constexpr sSceneMember kSceneMembers[] = {
    SCENE_MEMBER(selvoHills),   SCENE_MEMBER(workshop),        SCENE_MEMBER(tavikIsleFirst),
    SCENE_MEMBER(orembyCity),   SCENE_MEMBER(pelkAirport),     SCENE_MEMBER(drunaBeach),
    SCENE_MEMBER(route21First), SCENE_MEMBER(cucumberCamping), SCENE_MEMBER(tavikIsleSecond),
    SCENE_MEMBER(route21Second),
};

#undef SCENE_MEMBER

const sSceneMember* FindMember(const char* name) {
    for (const sSceneMember& member : kSceneMembers)
        if (std::strcmp(member.name, name) == 0) return &member;
    return nullptr;
}

// Every row of the time line names a member: a misspelt row fails the build.
constexpr bool EveryRowNamesAMember() {
    for (const sTimelineRow& row : kTimeline) {
        bool found = false;
        for (const sSceneMember& member : kSceneMembers) found = found || std::string_view(member.name) == row.member;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryRowNamesAMember(), "a kTimeline row names no cDemoScene member");

}  // namespace

cDemoScene::cDemoScene() {
    for (int i = 0; i < kTimelineScenes; ++i) dispatch[i] = &FindMember(kTimeline[i].member)->of(*this);
}

cSceneSystem* cDemoScene::Scene(const char* member) {
    const sSceneMember* found = member ? FindMember(member) : nullptr;
    return found ? &found->of(*this) : nullptr;
}

const char* cDemoScene::MemberName(const cSceneSystem* scene) const {
    cDemoScene& self = const_cast<cDemoScene&>(*this);  // `of` only takes the member's address
    for (const sSceneMember& member : kSceneMembers)
        if (&member.of(self) == scene) return member.name;
    return nullptr;
}

int cDemoScene::FramesOfHistoryAt(int ms) const {
    int frames = 0;
    for (const cSceneSystem* scene : dispatch)
        if (scene->timer.start <= ms && ms <= scene->timer.end) frames = std::max(frames, scene->FramesOfHistory());
    return frames;
}

bool cDemoScene::Schedule(const sTimelineRow (&rows)[kTimelineScenes]) {
    cSceneSystem* order[kTimelineScenes] = {};
    for (int i = 0; i < kTimelineScenes; ++i) {
        order[i] = Scene(rows[i].member);
        if (!order[i] || std::find(order, order + i, order[i]) != order + i) {
            ConsolePrint("SCENE", "the schedule's row %d names \"%s\", which is no scene or one already scheduled", i,
                         rows[i].member ? rows[i].member : "");
            return false;
        }
    }
    for (int i = 0; i < kTimelineScenes; ++i) {
        dispatch[i] = order[i];
        dispatch[i]->SetTimeWindow(rows[i].start, rows[i].end);
    }
    return true;
}

int cDemoScene::Init() {
    const bool again = loaded;
    if (!loaded) {
        registry.SelectMusic();
        registry.LoadAll();
        loaded = true;
    }
    cDebugSystem::Instance()->Log("cDemoScene", "Dette er ifra Init(void)");

    for (const sSceneMember& member : kSceneMembers) {
        cSceneSystem& scene = member.of(*this);
        scene.SetResources(&registry);
        if (again && &scene == &workshop)
            workshop.ConfigureShared();  // its pictures, targets and program are still there
        else
            scene.Init();
    }
    for (cSceneSystem* scene : dispatch) scene->disabled = false;
    Schedule(kTimeline);

    cTimeSystem::Instance()->Reset();
    registry.music.Play();
    return 0;
}

void cDemoScene::ResetScenes() {
    registry.music.Stop();
    registry.sceneTargets.TakeBack();
    for (const sSceneMember& member : kSceneMembers)
        if (FindTimelineRow(member.name)) member.renew(*this);
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

void cDemoScene::SeedRandom(unsigned seed) { RenewInPlace(registry.particles, seed); }

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
    {
        cTimedPass timed(registry.passTimer, "sequencer overlay");
        DrawOverlay();
    }
    cDebugSystem::Instance()->Log("cDemoScene()", timer.elapsed);
}

void cDemoScene::DrawOverlay() {
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, kQuadDistance);
    glScalef(kQuadScaleX, kQuadScaleY, 0.0f);
    glScalef(1.0f, -1.0f, 0.0f);  // mirrored top to bottom
    registry.texOg3.Bind();
    DrawScreenQuad();
    registry.texOg3.Unbind();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
}

}  // namespace VantorGL
