// cTimeSystem: the process-wide millisecond clock over a replaceable counter.
#include "timeline/TimeSystem.h"

#include <chrono>

namespace VantorGL {

std::int64_t cSteadyClockCounter::Read() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

static cSteadyClockCounter steadyCounter;

cTimeSystem* cTimeSystem::Instance() {
    static cTimeSystem clock;
    return &clock;
}

cTimeSystem::cTimeSystem() : source(&steadyCounter) {
    UseCounter(nullptr);
}

void cTimeSystem::UseCounter(cClockCounter* replacement) {
    source = replacement ? replacement : &steadyCounter;
    fixedStep = replacement != nullptr;
    unitsPerSecond = 1000;
    frequency = source->Frequency();
    counter = source->Read();
    ticksPerUnit = int(frequency / unitsPerSecond);
    if (ticksPerUnit <= 0) ticksPerUnit = 1;
    Reset();
}

// The counter in whole milliseconds, truncated to 32 bits: differences between two readings stay
// right across a wrap because they are taken in 32-bit two's complement.
int cTimeSystem::ReadMilliseconds() {
    counter = source->Read();
    return int(std::uint32_t(std::uint64_t(counter / ticksPerUnit)));
}

static int Difference(int later, int earlier) {
    return int(std::uint32_t(later) - std::uint32_t(earlier));
}

void cTimeSystem::Reset() {
    now = ReadMilliseconds();
    previous = start = now;
    delta = 0;
    sinceReset = 0;
}

void cTimeSystem::Tick() {
    now = ReadMilliseconds();
    sinceReset = Difference(now, start);
    delta = Difference(now, previous);
    previous = now;
}

float cTimeSystem::Fps() {
    float raw = 1000.0f / float(delta);  // delta 0 gives infinity, which only ever steps up
    if (smoothedFps > raw) smoothedFps -= 1.0f;
    if (smoothedFps < raw) smoothedFps += 1.0f;
    return smoothedFps;
}

}  // namespace VantorGL
