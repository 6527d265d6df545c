// FatalRecorder: catches the engine's fatal stops in this process, so a test sees which stop was
// asked for (module, exit code, caption, text) while the run goes on.
#pragma once

#include "render/FatalError.h"

#include <string>

namespace VantorGLTest {

struct FatalCall {
    std::string module, caption, text;  // a null caption or text reads as ""
    int exitCode = -1;                  // -1 while no stop was asked for
};

// Installs itself as the FatalError handler for its lifetime and puts the previous handler back
// when it goes. One at a time: the handler is a plain function, so the record is shared.
class FatalRecorder {
public:
    FatalRecorder() : previous(VantorGL::SetFatalErrorHandler(&Record)) { Clear(); }
    ~FatalRecorder() { VantorGL::SetFatalErrorHandler(previous); }
    FatalRecorder(const FatalRecorder&) = delete;
    FatalRecorder& operator=(const FatalRecorder&) = delete;

    // The last stop since construction or the last Clear().
    const FatalCall& Last() const { return Slot(); }
    void Clear() { Slot() = {}; }

private:
    static FatalCall& Slot() {
        static FatalCall last;
        return last;
    }
    static void Record(const char* module, int exitCode, const char* caption, const char* text) {
        Slot() = {module ? module : "", caption ? caption : "", text ? text : "", exitCode};
    }

    VantorGL::FatalErrorHandler previous;
};

}  // namespace VantorGLTest
