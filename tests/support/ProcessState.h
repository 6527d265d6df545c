// ProcessState: guards for the process-wide state a test changes (an environment variable, the
// C library's rand() sequence, the process clock, the debug log, the sound output), so the whole
// suite can run as one process: each puts back what was there when it goes, an ASSERT's early
// return included.
#pragma once

#include "assets/AudioDevice.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace VantorGLTest {

// Sets (or, with nullptr, removes) one environment variable for the guard's lifetime.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* variableName, const char* value) : name(variableName) {
        if (const char* before = std::getenv(name)) saved = before;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentVariable() {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name;
    std::optional<std::string> saved;
};

// rand() as std::srand(seed) leaves it, for the guard's lifetime, on a state of its own (glibc's
// initstate/setstate); the caller's sequence carries on afterwards where it was.
class RandSeed {
public:
    explicit RandSeed(unsigned seed) { previous = initstate(seed, state, sizeof state); }
    ~RandSeed() { setstate(previous); }
    RandSeed(const RandSeed&) = delete;
    RandSeed& operator=(const RandSeed&) = delete;

private:
    char state[256] = {};
    char* previous = nullptr;
};

// The process clock on the real counter for the guard's lifetime (for tests that want the sound
// device); the clock as it was, counter and readings, comes back when it goes.
class RealClock {
public:
    RealClock() : saved(*VantorGL::cTimeSystem::Instance()) { VantorGL::cTimeSystem::Instance()->UseCounter(nullptr); }
    ~RealClock() { *VantorGL::cTimeSystem::Instance() = saved; }
    RealClock(const RealClock&) = delete;
    RealClock& operator=(const RealClock&) = delete;

private:
    VantorGL::cTimeSystem saved;
};

// The debug log written into `path` for the guard's lifetime. The test program's log is closed
// outside these guards (nothing opens it but the programs' mains), so it is closed again after.
class DebugLogInto {
public:
    explicit DebugLogInto(const std::string& path) { VantorGL::cDebugSystem::Instance()->Open(path.c_str()); }
    ~DebugLogInto() { VantorGL::cDebugSystem::Instance()->Close(); }
    DebugLogInto(const DebugLogInto&) = delete;
    DebugLogInto& operator=(const DebugLogInto&) = delete;
};

// The shared sound device on `output` instead of SDL's for the guard's lifetime; SDL's again
// after. Made while nothing is attached, as UseOutput asks.
class AudioOutputSeam {
public:
    explicit AudioOutputSeam(VantorGL::cAudioOutput* output) { VantorGL::cAudioDevice::Shared()->UseOutput(output); }
    ~AudioOutputSeam() { VantorGL::cAudioDevice::Shared()->UseOutput(nullptr); }
    AudioOutputSeam(const AudioOutputSeam&) = delete;
    AudioOutputSeam& operator=(const AudioOutputSeam&) = delete;
};

}  // namespace VantorGLTest
