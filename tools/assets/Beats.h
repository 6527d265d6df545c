// Beats: replays a soundtrack's spectrum the way the demo reads it (one 512-sample analysis per
// frame at 60 frames per second) and applies, in each scene window of the timeline, the beat
// rule that scene runs, so a piece of music can be judged before anyone watches the demo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace QuenliteAssets {

constexpr int kReplayFps = 60;

// What one scene window of the timeline took from the music. Times are demo milliseconds unless
// named local (ms since the scene's first frame); -1 means "never" or "not applicable".
struct SceneBeats {
    const char* member = "";  // the sequencer member, e.g. "selvoHills"
    const char* startCode = "";
    const char* endCode = "";
    int startMs = 0, endMs = 0;
    const char* rule = "";  // the scene's rule in words; "" when the scene reads no beats
    int beats = -1;         // events the rule took: beats, ray pulses or greeting steps
    int firstBeatMs = -1, lastBeatMs = -1;
    int minGapMs = -1, maxGapMs = -1;  // between consecutive events
    float peakBin0 = 0, peakBin15 = 0;
    // selvoHills: local ms at which the logo had shrunk away and at which ringCount reached 7.
    int progressFullLocalMs = -1, ringsFullLocalMs = -1;
    // orembyCity: share of frames whose rays are at least half visible, longest run with the
    // rays fully gone (ray alpha 1 - 3 x bin 0 at or below 0).
    float raysVisibleShare = -1;
    int raysLongestGoneMs = -1;
    // tavikIsleFirst: script points the frames landed in (of 6).
    int scriptSteps = -1;
    bool ok = true;  // the scene gets what it needs from the music
};

// Replays `frames` frames of interleaved 16-bit PCM (`channels` 1 or 2, `rate` Hz) as the demo
// would hear it, frame n at demo time n * 1000 / 60 + phaseMs ms (integer ms, as the clock
// gives them), and returns one entry per scene window of the timeline, in time order. The
// spectrum of a frame is the analysis of the 512 frames from its demo time on (silence past
// the end). Scenes that read no beats still report their bin 0 peak.
std::vector<SceneBeats> CheckBeats(const std::int16_t* pcm, std::size_t frames, int channels, int rate,
                                   int phaseMs = 0);

// CheckBeats at phase 0, printed one line per scene window to `out`. Returns 0 when every
// scene that follows the beat gets what it needs (rings complete before local 19000 ms, rays
// that pulse and come back, greetings stepping every one to two seconds, all six script points
// met), 1 otherwise.
int PrintBeats(const std::int16_t* pcm, std::size_t frames, int channels, int rate, std::FILE* out);

}  // namespace QuenliteAssets
