// cPassTimer: the GPU time of each named pass of a frame (cube faces, a capture, a blur, the
// present), through GL timestamp queries. Off unless a timing program switches it on; while off
// a pass marker is one branch and no GL call, so the demo itself never pays for it. A tiled
// renderer (llvmpipe) draws every pass into one target together, tile by tile, once the target is
// done, so there the passes sharing a target split its time unevenly; their sum still holds.
#pragma once

#include <epoxy/gl.h>

namespace VantorGL {

class cPassTimer {
public:
    // The most passes one frame records; later ones are dropped and counted in Dropped().
    static constexpr int kMaxPasses = 48;

    cPassTimer() = default;
    cPassTimer(const cPassTimer&) = delete;
    cPassTimer& operator=(const cPassTimer&) = delete;

    // True when the current context can time passes: OpenGL 3.3 or GL_ARB_timer_query.
    static bool Supported();
    // Makes the timer's queries, two per pass, once; every later frame reuses them. False, with
    // nothing made and the timer still off, where Supported() is false. Needs the context.
    bool Enable();
    // Deletes the queries and switches the timer off. Needs the context that Enable had.
    void Release();
    bool Enabled() const { return enabled; }

    // Opens a timed frame: the passes marked from here to Collect() are recorded. Does nothing
    // while the timer is off, so frames the caller does not open cost nothing either.
    void BeginFrame();
    // Marks the start and the end of the pass `name`, a string literal kept by its pointer.
    // Passes do not nest: a pass begun inside an open one is folded into it (its EndPass with
    // it), so no GPU time is counted twice. An EndPass with no open pass is ignored.
    void BeginPass(const char* name) {
        if (recording) Begin(name);
    }
    void EndPass() {
        if (recording) End();
    }
    // Closes the timed frame (and a pass left open) and reads each pass's time. It waits until
    // the GPU has run the frame: call it after glFinish, as a benchmark does around its frames.
    // Returns the number of passes recorded; 0 when no frame was open.
    int Collect();

    // The passes of the last collected frame, in the order they ran; the same name may repeat.
    int Passes() const { return collected; }
    const char* Name(int pass) const { return passes[pass].name; }
    double Milliseconds(int pass) const { return passes[pass].milliseconds; }
    // Passes beyond kMaxPasses in the last collected frame, not timed.
    int Dropped() const { return dropped; }

private:
    void Begin(const char* name);
    void End();

    struct sPass {
        const char* name = nullptr;
        double milliseconds = 0.0;
    };

    GLuint queries[2 * kMaxPasses] = {};  // pass i: start 2i, end 2i + 1
    sPass passes[kMaxPasses];
    int recorded = 0;   // passes begun in the open frame
    int collected = 0;  // passes of the last collected frame
    int depth = 0;      // open passes, the folded ones included
    int dropped = 0;
    bool enabled = false;
    bool recording = false;
};

// A pass marked for the life of a scope: BeginPass on construction, EndPass on destruction.
class cTimedPass {
public:
    cTimedPass(cPassTimer& timer, const char* name) : timer(timer) { timer.BeginPass(name); }
    ~cTimedPass() { timer.EndPass(); }
    cTimedPass(const cTimedPass&) = delete;
    cTimedPass& operator=(const cTimedPass&) = delete;

private:
    cPassTimer& timer;
};

}  // namespace VantorGL
