// CaptureSpan: which frames a span --from..--to holds at N frames per second, and which samples
// of the soundtrack each of them covers. The fixed-step clock puts frame n at n * 1000 / fps ms
// of demo time (truncated); the demo music starts at demo time 0, so frame n covers samples
// [round(n * 44100 / fps), round((n + 1) * 44100 / fps)): consecutive frames tile the music.
#pragma once

#include <cstdint>

struct CaptureSpan {
    static constexpr int kSampleRate = 44100;  // the engine's output rate, frames of stereo per second

    int fps = 30;
    int firstFrame = 0;  // the first frame whose time is at or after --from
    int lastFrame = -1;  // the last frame whose time is at or before --to; below firstFrame = empty

    // The span of frames with demo time in [fromMs, toMs], both included.
    static CaptureSpan Of(int fromMs, int toMs, int framesPerSecond) {
        CaptureSpan span;
        span.fps = framesPerSecond;
        // Frame n lies at floor(n * 1000 / fps) ms: the first n with that >= fromMs is
        // ceil(fromMs * fps / 1000); the last with it <= toMs is floor(((toMs + 1) * fps - 1) / 1000).
        const std::int64_t f = framesPerSecond;
        span.firstFrame = int((std::int64_t(fromMs) * f + 999) / 1000);
        span.lastFrame = int(((std::int64_t(toMs) + 1) * f - 1) / 1000);
        return span;
    }

    int Frames() const { return lastFrame >= firstFrame ? lastFrame - firstFrame + 1 : 0; }
    int FrameTimeMs(int frame) const { return int(std::int64_t(frame) * 1000 / fps); }
    // round(frame * 44100 / fps), halves up: where frame `frame` starts in the soundtrack.
    std::int64_t FirstSample(int frame) const {
        return (2 * std::int64_t(frame) * kSampleRate + fps) / (2 * std::int64_t(fps));
    }
    // The soundtrack of the whole span: its first sample and its length in samples (per channel).
    std::int64_t SpanFirstSample() const { return FirstSample(firstFrame); }
    std::int64_t SpanSamples() const { return Frames() > 0 ? FirstSample(lastFrame + 1) - FirstSample(firstFrame) : 0; }
};
