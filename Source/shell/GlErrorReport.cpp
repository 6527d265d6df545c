// cGlErrorReport: one stderr line per distinct GL error code, a few at most.
#include "shell/GlErrorReport.h"

#include "shell/Console.h"

namespace VantorGL {

bool cGlErrorReport::Note(unsigned error, int demoTimeMs) {
    if (error == 0 || lines >= kMaxLines) return false;  // 0 is GL_NO_ERROR
    for (int i = 0; i < lines; ++i)
        if (said[i] == error) return false;
    said[lines++] = error;
    ConsolePrint("GL", "error 0x%04X at demo time %d ms", error, demoTimeMs);
    return true;
}

}  // namespace VantorGL
