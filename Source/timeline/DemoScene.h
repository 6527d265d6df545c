// cDemoScene: the master timeline. A scene whose window spans the whole demo; it owns the
// registry and every scene by value, initialises them in a fixed order, drives them each frame
// in a fixed order (where two windows meet, both draw into the same frame in this order), lays
// the og3 overlay over everything and writes the per-frame log line.
#pragma once

#include "assets/Resources.h"
#include "scenes/CucumberCampingScene.h"
#include "scenes/DrunaBeachScene.h"
#include "scenes/OrembyCityScene.h"
#include "scenes/PelkAirportScene.h"
#include "scenes/Route21Scene.h"
#include "scenes/SelvoHillsScene.h"
#include "scenes/TavikIsleScene.h"
#include "scenes/WorkshopScene.h"
#include "timeline/SceneSystem.h"
#include "timeline/Timeline.h"

namespace VantorGL {

class cDemoScene : public cSceneSystem {
public:
    // Finds each kTimeline row's scene by its member name: the dispatch order. No GL work.
    cDemoScene();
    cDemoScene(const cDemoScene&) = delete;
    cDemoScene& operator=(const cDemoScene&) = delete;

    // The first call loads the registry (music, then everything else); every call then
    // initialises the scenes in their fixed order, sets the windows, resets the clock and starts
    // the music. After ResetScenes() the next call plays the timeline from 0:00.0 again with
    // nothing reloaded.
    int Init() override;
    // Puts every timeline scene, the shared particle system (rebuilt with the seed it had, so
    // rand() starts over as the run did), the shadow cage program's stored cut and the
    // sequencer's own clock latch back to their constructed state (each scene's targets are
    // deleted first; its Init makes them again) and stops the music. The workshop keeps its
    // Init state, which it never changes; the next Init only redoes its shared effects. Needs
    // the GL context.
    void ResetScenes();
    // ResetScenes() then Init(): the demo from the start, in the same process and context.
    void Restart();
    // rand() seeded from `seed` instead of the calendar time the run started at, before Init:
    // the scenes' random tables (the opening's cube heights, the particles) then come out the
    // same on every run, and every restart seeds from it again. For programs whose frames must
    // not depend on when they ran; the demo itself keeps its calendar seed.
    void SeedRandom(unsigned seed);
    void Update() override;
    void Render() override;

    // The timeline scenes in dispatch order (Update and Render): the i-th is the member that
    // row i of the schedule names (kTimeline unless Schedule was given another table).
    cSceneSystem* const* DispatchOrder() const { return dispatch; }
    static constexpr int kTimelineScenes = 9;
    static_assert(kTimelineRows == kTimelineScenes, "one timeline row per dispatched scene");

    // The frames before demo time `ms` its frame depends on: the most any scheduled scene whose
    // window holds `ms` asks (FramesOfHistory). What capture and the studio draw before a time
    // they jump to. Needs the windows set (Init or Schedule).
    int FramesOfHistoryAt(int ms) const;
    // The scene member called `member` ("tavikIsleSecond", "workshop"); nullptr for a name the
    // sequencer does not have.
    cSceneSystem* Scene(const char* member);
    // The member name of `scene` ("route21First"); nullptr for a scene that is not a member.
    const char* MemberName(const cSceneSystem* scene) const;
    // Makes `rows` the schedule: the member row i names is dispatched i-th and gets row i's
    // window. Init schedules kTimeline. False, with a SCENE line and nothing changed, when a row
    // names no member or two rows name the same one.
    bool Schedule(const sTimelineRow (&rows)[kTimelineScenes]);

    // Members in construction order; the registry outlives every scene.
    cResources registry;
    cWorkshopScene workshop;
    cTavikIsleScene tavikIsleFirst;
    cTavikIsleScene tavikIsleSecond;
    cOrembyCityScene orembyCity;
    cSelvoHillsScene selvoHills;
    cDrunaBeachScene drunaBeach;
    cRoute21Scene route21First;
    cRoute21Scene route21Second;
    cPelkAirportScene pelkAirport;
    cCucumberCampingScene cucumberCamping;

private:
    // The og3 picture over the whole frame, alpha-blended and mirrored top to bottom.
    void DrawOverlay();

    bool loaded = false;  // the registry is loaded once per process
    cSceneSystem* dispatch[kTimelineScenes] = {};
};

}  // namespace VantorGL
