// cTimeSystem: the process-wide millisecond clock. All times are 32-bit signed milliseconds,
// read once per frame (Tick) so every scene of a frame sees the same time. The counter it reads
// sits behind a seam: the steady clock for playback, a fixed-step counter for capture and tests.
#pragma once

#include <cstdint>

namespace VantorGL {

// The seam: a monotonic tick counter and its rate.
class cClockCounter {
public:
    virtual ~cClockCounter() = default;
    virtual std::int64_t Read() = 0;       // current tick count
    virtual std::int64_t Frequency() = 0;  // ticks per second (a multiple of 1000)
};

// The real clock: std::chrono::steady_clock in nanoseconds.
class cSteadyClockCounter final : public cClockCounter {
public:
    std::int64_t Read() override;
    std::int64_t Frequency() override { return 1000000000; }
};

// A counter that moves only when told: each Advance() adds exactly 1000 / fps milliseconds
// (held as fps * 1000 ticks per second, 1000 ticks a frame, so frame n is at n * 1000 / fps ms
// truncated, with no drift).
class cFixedStepCounter final : public cClockCounter {
public:
    explicit cFixedStepCounter(int framesPerSecond) : fps(framesPerSecond) {}
    std::int64_t Read() override { return ticks; }
    std::int64_t Frequency() override { return std::int64_t(fps) * 1000; }
    void Advance() { ticks += 1000; }
    void SetTicks(std::int64_t value) { ticks = value; }
    int FramesPerSecond() const { return fps; }

private:
    int fps;
    std::int64_t ticks = 0;
};

class cTimeSystem {
public:
    // The process clock. The first call reads the frequency and the counter and resets.
    static cTimeSystem* Instance();

    // Replaces the counter (not owned; it must outlive its use) and resets the clock with it.
    // nullptr goes back to the steady clock. Used by capture, benchmarks and tests.
    void UseCounter(cClockCounter* counter);
    bool IsFixedStep() const { return fixedStep; }

    void Reset();  // read the counter; previous = start = now; delta = sinceReset = 0
    void Tick();   // read the counter; sinceReset, delta, previous updated; once per frame

    int Now() const { return now; }
    int Delta() const { return delta; }
    int SinceReset() const { return sinceReset; }
    // Smoothed frames per second: moves towards 1000 / Delta() by at most 1.0 per call.
    float Fps();

private:
    cTimeSystem();
    int ReadMilliseconds();

    cClockCounter* source;
    bool fixedStep = false;
    // Fields in the order of the original clock.
    std::int64_t counter = 0;
    std::int64_t frequency = 0;
    int start = 0;
    int delta = 0;
    int now = 0;
    int sinceReset = 0;
    int unitsPerSecond = 1000;
    int ticksPerUnit = 1;
    int previous = 0;
    float smoothedFps = 0.0f;
};

}  // namespace VantorGL
