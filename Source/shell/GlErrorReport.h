// cGlErrorReport: the debug build's watch on GL errors. The frame loop hands it glGetError()
// once per frame; each distinct error code is said once on stderr, and only the first few, so a
// fault that repeats every frame cannot flood the terminal.
#pragma once

namespace VantorGL {

class cGlErrorReport {
public:
    // At most this many lines in a whole run.
    static constexpr int kMaxLines = 4;

    // Notes `error` (a glGetError() result) seen at `demoTimeMs`. Returns true, after printing
    // "GL: error 0x0502 at demo time 12345 ms", when it is an error code not said before and
    // the limit is not reached; false otherwise (GL_NO_ERROR included). No GL call.
    bool Note(unsigned error, int demoTimeMs);
    int Lines() const { return lines; }

private:
    unsigned said[kMaxLines] = {};
    int lines = 0;
};

}  // namespace VantorGL
