// Beats: each scene's reading of the spectrum, replayed offline over a PCM buffer.
// The rules mirror the scenes' Update steps that read the music; the values the scenes compute
// for their pictures (blur, tint) are left out, only what decides when a beat is taken stays.
#include "Beats.h"

#include "assets/FrequencyAnalyser.h"
#include "scenes/TavikIsleScene.h"
#include "timeline/DemoScene.h"
#include "timeline/TimeCode.h"

#include <algorithm>
#include <cstring>

namespace QuenliteAssets {

namespace {

enum class Rule { Rings, Rays, None, Script, Greetings, BeatCount };

struct Window {
    const char* member;
    const char* startCode;
    const char* endCode;
    int startMs, endMs;
    Rule rule;
};

// What each timeline member does with a beat (a member without a row here takes none).
struct MemberRule {
    const char* member;
    Rule rule;
};
constexpr MemberRule kRules[] = {
    {"selvoHills", Rule::Rings},           {"orembyCity", Rule::Rays},         {"tavikIsleFirst", Rule::Script},
    {"route21First", Rule::BeatCount},     {"tavikIsleSecond", Rule::Greetings}, {"route21Second", Rule::BeatCount},
    {"pelkAirport", Rule::BeatCount},
};

// The timeline's windows in time order, each with its rule. The last window's end is the
// sequencer's own (past the end of the demo, which cuts the replay).
std::vector<Window> TimelineWindows() {
    std::vector<Window> windows;
    const VantorGL::sTimelineWindow* sorted = VantorGL::TimelineByStart();
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        const VantorGL::sTimelineRow& row = *sorted[i].row;
        Rule rule = Rule::None;
        for (const MemberRule& r : kRules)
            if (std::strcmp(r.member, row.member) == 0) rule = r.rule;
        windows.push_back({row.member, row.start, row.end, sorted[i].startMs, VantorGL::ParseTimeCode(row.end), rule});
    }
    return windows;
}
using VantorGL::kDemoEndMs;  // "2:47.0": the sequencer's own window ends the run

// The figure scene's script: [start, end) demo ms.
constexpr auto& kScript = VantorGL::cTavikIsleScene::kScriptSteps;

constexpr float kBeatLevel = 0.1f;        // bin 0 above this is a beat
constexpr float kGreetingLevel = 0.05f;   // the greeting steps listen more closely
constexpr float kBeatCooldownMs = 400.0f;
constexpr float kGreetingCooldownMs = 888.0f;

// Per-window state of the replay.
struct Tracker {
    const Window* window;
    SceneBeats result;
    int localMs = 0;
    float cooldown = 100.0f;  // every scene starts with 100 ms to go
    // Opening scene.
    float outlineWipe = 0, logoAlpha = 0, progress = 0;
    int ringCount = -2;
    // Crystal cluster rays.
    bool raysArmed = true;
    int visibleFrames = 0, frames = 0, goneSinceMs = -1;
    // Figure script.
    bool scriptHit[6] = {};

    void Take(int demoMs) {
        if (result.beats < 0) result.beats = 0;
        ++result.beats;
        if (result.lastBeatMs >= 0) {
            int gap = demoMs - result.lastBeatMs;
            result.minGapMs = result.minGapMs < 0 ? gap : std::min(result.minGapMs, gap);
            result.maxGapMs = std::max(result.maxGapMs, gap);
        }
        if (result.firstBeatMs < 0) result.firstBeatMs = demoMs;
        result.lastBeatMs = demoMs;
    }

    void Frame(int demoMs, int dt, const float* bins) {
        // The first frame of a scene adds the delta the clock holds; the demo's first frame has 0.
        localMs += dt;
        cooldown -= float(dt);
        const float bin0 = bins[0];
        result.peakBin0 = std::max(result.peakBin0, bin0);
        result.peakBin15 = std::max(result.peakBin15, bins[15]);
        switch (window->rule) {
            case Rule::Rings: Rings(demoMs, demoMs - window->startMs, dt, bin0); break;
            case Rule::Rays: Rays(demoMs, dt, bin0); break;
            case Rule::Script:
            case Rule::Greetings: Figure(demoMs, bin0); break;
            case Rule::BeatCount:
                if (bin0 > kBeatLevel && cooldown <= 0.0f) {
                    Take(demoMs);
                    cooldown = kBeatCooldownMs;
                }
                break;
            case Rule::None: break;
        }
    }

    // The opening scene: the logo wipes in, then shrinks a little per frame and per beat; once it
    // is gone every beat brings a ring (the first two beats bring ringCount from -2 to 0).
    void Rings(int demoMs, int elapsed, int dt, float bin0) {
        if (elapsed >= 30) outlineWipe += float(dt) * 0.000181f;
        if (outlineWipe >= 1.0f) {
            outlineWipe = 1.0f;
            logoAlpha += float(dt) * 0.001f;
            if (logoAlpha >= 1.0f) {
                logoAlpha = 1.0f;
                progress += 0.0001f;
            }
        }
        if (bin0 > kBeatLevel && cooldown <= 0.0f) {
            if (logoAlpha >= 1.0f) progress += float(dt) * 0.0001f;
            cooldown = kBeatCooldownMs;
            Take(demoMs);
            if (progress >= 0.03f) ++ringCount;
        }
        if (progress >= 0.03f) {
            progress = 0.03f;
            if (result.progressFullLocalMs < 0) result.progressFullLocalMs = localMs;
        }
        if (ringCount >= 7 && result.ringsFullLocalMs < 0) result.ringsFullLocalMs = localMs;
        if (localMs > 24000) ringCount = 0;
    }

    // The crystal cluster's rays: alpha 1 - 3 x bin 0, read every frame. A pulse is a dip to a
    // quarter or less that recovers to 0.7 (bin 0 back at the beat level) before the next counts.
    void Rays(int demoMs, int dt, float bin0) {
        const float alpha = 1.0f - 3.0f * bin0;
        ++frames;
        if (alpha > 0.5f) ++visibleFrames;
        if (raysArmed && alpha <= 0.25f) {
            Take(demoMs);
            raysArmed = false;
        } else if (!raysArmed && alpha >= 0.7f) {
            raysArmed = true;
        }
        if (alpha <= 0.0f) {
            if (goneSinceMs < 0) goneSinceMs = demoMs;
            result.raysLongestGoneMs = std::max(result.raysLongestGoneMs, demoMs - goneSinceMs + dt);
        } else {
            goneSinceMs = -1;
        }
        result.raysVisibleShare = float(visibleFrames) / float(frames);
        if (result.raysLongestGoneMs < 0) result.raysLongestGoneMs = 0;
    }

    // The figure scene: script points by demo time, and from 87000 ms on a greeting step on each
    // beat at the lower level, at most one per 888 ms.
    void Figure(int demoMs, float bin0) {
        for (int s = 0; s < 6; ++s)
            if (demoMs >= kScript[s][0] && demoMs < kScript[s][1]) scriptHit[s] = true;
        if (window->rule == Rule::Script) {
            result.scriptSteps = int(std::count(scriptHit, scriptHit + 6, true));
        }
        if (demoMs >= 87000 && bin0 > kGreetingLevel && cooldown <= 0.0f) {
            cooldown = kGreetingCooldownMs;
            Take(demoMs);
        }
    }
};

const char* RuleText(Rule rule) {
    switch (rule) {
        case Rule::Rings: return "ring beats (bin 0 > 0.1, 400 ms apart)";
        case Rule::Rays: return "ray pulses (alpha 1 - 3 x bin 0)";
        case Rule::Script: return "script points; greeting beats (bin 0 > 0.05, 888 ms)";
        case Rule::Greetings: return "greeting steps (bin 0 > 0.05, 888 ms apart)";
        case Rule::BeatCount: return "beats (bin 0 > 0.1, 400 ms apart)";
        case Rule::None: return "";
    }
    return "";
}

bool Judge(const Window& w, const SceneBeats& r) {
    switch (w.rule) {
        case Rule::Rings: return r.ringsFullLocalMs >= 0 && r.ringsFullLocalMs < 19000;
        case Rule::Rays:
            return r.beats >= (w.endMs - w.startMs) / 2000 && r.raysVisibleShare >= 0.5f && r.raysLongestGoneMs < 1000;
        case Rule::Script: return r.scriptSteps == 6;
        case Rule::Greetings:
            return r.beats >= (w.endMs - w.startMs) / 2000 && r.minGapMs >= 888 && r.maxGapMs <= 2000 &&
                   r.firstBeatMs - w.startMs <= 2000;
        default: return true;
    }
}

}  // namespace

std::vector<SceneBeats> CheckBeats(const std::int16_t* pcm, std::size_t frames, int channels, int rate, int phaseMs) {
    const std::vector<Window> windows = TimelineWindows();
    std::vector<Tracker> trackers;
    for (const Window& w : windows) {
        Tracker t;
        t.window = &w;
        t.result.member = w.member;
        t.result.startCode = w.startCode;
        t.result.endCode = w.endCode;
        t.result.startMs = w.startMs;
        t.result.endMs = w.endMs;
        t.result.rule = RuleText(w.rule);
        if (w.rule == Rule::BeatCount || w.rule == Rule::Rings || w.rule == Rule::Greetings) t.result.beats = 0;
        trackers.push_back(t);
    }
    if (channels < 1 || channels > 2 || rate <= 0 || !pcm) frames = 0;

    VantorGL::cFrequencyAnalyser analyser;
    constexpr int kWindowFrames = VantorGL::cFrequencyAnalyser::kWindow;
    std::vector<std::int16_t> silence(std::size_t(kWindowFrames) * 2, 0);
    float bins[VantorGL::cFrequencyAnalyser::kBins];
    int previousMs = -1;
    for (long n = 0;; ++n) {
        const int demoMs = int(n * 1000 / kReplayFps) + phaseMs;
        if (demoMs > kDemoEndMs) break;
        const int dt = previousMs < 0 ? 0 : demoMs - previousMs;
        previousMs = demoMs;
        const std::size_t at = std::size_t(std::int64_t(demoMs) * rate / 1000);
        if (frames >= std::size_t(kWindowFrames) && at + kWindowFrames <= frames)
            analyser.Analyse(pcm + at * std::size_t(channels), channels, bins);
        else
            analyser.Analyse(silence.data(), 2, bins);
        for (Tracker& t : trackers)
            if (demoMs >= t.window->startMs && demoMs <= t.window->endMs) t.Frame(demoMs, dt, bins);
    }

    std::vector<SceneBeats> results;
    for (Tracker& t : trackers) {
        t.result.ok = Judge(*t.window, t.result);
        results.push_back(t.result);
    }
    return results;
}

int PrintBeats(const std::int16_t* pcm, std::size_t frames, int channels, int rate, std::FILE* out) {
    std::vector<SceneBeats> results = CheckBeats(pcm, frames, channels, rate, 0);
    bool allOk = true;
    for (const SceneBeats& r : results) {
        allOk = allOk && r.ok;
        std::fprintf(out, "%-16s %7s-%-7s bin0 peak %.2f  bin15 peak %.3f", r.member, r.startCode, r.endCode,
                     double(r.peakBin0), double(r.peakBin15));
        if (r.rule[0]) {
            std::fprintf(out, "  %d %s", std::max(r.beats, 0), r.rule);
            if (r.firstBeatMs >= 0) std::fprintf(out, ", first %.2f s", r.firstBeatMs / 1000.0);
            if (r.minGapMs >= 0) std::fprintf(out, ", gaps %d..%d ms", r.minGapMs, r.maxGapMs);
        } else {
            std::fprintf(out, "  no beat rule");
        }
        if (r.progressFullLocalMs >= 0 || r.ringsFullLocalMs >= 0 || r.startMs == 0)
            std::fprintf(out, "; logo gone at local %d ms, ringCount 7 at local %d ms", r.progressFullLocalMs,
                         r.ringsFullLocalMs);
        if (r.raysVisibleShare >= 0)
            std::fprintf(out, "; rays visible %.0f%% of frames, longest gone %d ms", r.raysVisibleShare * 100.0,
                         r.raysLongestGoneMs);
        if (r.scriptSteps >= 0) std::fprintf(out, "; script points %d of 6", r.scriptSteps);
        std::fprintf(out, "  %s\n", r.ok ? "ok" : "FAIL");
    }
    return allOk ? 0 : 1;
}

}  // namespace QuenliteAssets
