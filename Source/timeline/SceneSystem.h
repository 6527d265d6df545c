// cSceneSystem and cSceneTimer: the scene base and its time window on the demo clock.
// A scene never decides when it runs: the drivers RunUpdate/RunRender call its Update/Render
// only while the demo time lies inside [start, end], both ends included.
#pragma once

namespace VantorGL {

class cResources;

// The window and clock of one scene, in demo milliseconds. Zero until set.
struct cSceneTimer {
    int start = 0;    // first active millisecond
    int end = 0;      // last active millisecond (inclusive)
    int elapsed = 0;  // clock Now() minus base, refreshed by RunUpdate
    int base = 0;     // clock value taken as this scene's time 0 (its first driver call)

    void SetStart(const char* code);
    void SetEnd(const char* code);
    void SetTimeWindow(const char* startCode, const char* endCode);
    void SetBase(int milliseconds) { base = milliseconds; }
};

class cSceneSystem {
public:
    cSceneSystem() = default;
    virtual ~cSceneSystem() = default;
    virtual int Init() { return 0; }
    // True from the last millisecond of the window on (elapsed >= end), while the scene is still
    // active for that one instant.
    virtual bool IsFinished() { return timer.elapsed >= timer.end; }
    virtual void Update() {}
    virtual void Render() {}
    // How many frames before it a frame of this scene depends on: a value that reaches the GPU a
    // frame late, a feedback image, a cube the frame before drew. A program that jumps to a time
    // (capture, the studio) draws that many frames first; 0: the frame at a time stands alone.
    virtual int FramesOfHistory() const { return 0; }

    // Latch the base on the first call, refresh elapsed, and run Update (after adding the clock's
    // Delta to localTime) when active or forced. Always 0.
    int RunUpdate();
    // Same latch; run Render when active or forced, judged by the elapsed of the last RunUpdate.
    int RunRender();

    void SetResources(cResources* registry) { resources = registry; }
    void SetTimeWindow(const char* startCode, const char* endCode) { timer.SetTimeWindow(startCode, endCode); }
    bool IsActive() const { return forced || (timer.start <= timer.elapsed && timer.elapsed <= timer.end); }

    bool forced = false;    // run whatever the window says
    bool disabled = false;  // never run
    cSceneTimer timer;
    int localTime = 0;  // ms accumulated over the frames in which Update ran
    cResources* resources = nullptr;
    bool firstCall = true;

private:
    void LatchBase();
};

}  // namespace VantorGL
