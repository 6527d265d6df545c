// ProcessState: guards for the process-wide state a test changes (an environment variable, the
// C library's rand() sequence), so the whole suite can run as one process: each puts back what
// was there when it goes, an ASSERT's early return included.
#pragma once

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

}  // namespace VantorGLTest
