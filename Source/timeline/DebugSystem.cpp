// cDebugSystem: numbered, flushed-per-line text log.
#include "timeline/DebugSystem.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#include <cstdio>

namespace VantorGL {

cDebugSystem* cDebugSystem::Instance() {
    static cDebugSystem log;
    return &log;
}

void cDebugSystem::WriteHeader(const char* source) {
    file << '[' << count << "](" << source << ") ";
}

bool cDebugSystem::Open(const char* fileName) {
    ++count;
    if (file.is_open()) file.close();
    file.clear();
    // Binary: the same bytes on every system, "\n" ending each line (Windows would write "\r\n").
    file.open(PathFromText(fileName), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file.is_open()) {
        ConsolePrint("LOG", "%s: cannot open for writing; the run goes on without a log", fileName);
        return false;
    }
    // The payload ends in its own newline, so an empty line follows the opening line.
    WriteHeader("cDebugSystem");
    file << "Opening " << fileName << '\n' << std::endl;
    return true;
}

void cDebugSystem::Close() {
    if (file.is_open()) file.close();
}

void cDebugSystem::Log(const char* source, const char* text) {
    if (!enabled) return;
    ++count;
    WriteHeader(source);
    file << text << std::endl;
}

void cDebugSystem::Log(const char* source, int value) {
    if (!enabled) return;
    ++count;
    WriteHeader(source);
    file << value << std::endl;
}

void cDebugSystem::Log(const char* source, float value) {
    if (!enabled) return;
    ++count;
    char text[64];
    snprintf(text, sizeof text, "%f", double(value));
    WriteHeader(source);
    file << text << std::endl;
}

}  // namespace VantorGL
