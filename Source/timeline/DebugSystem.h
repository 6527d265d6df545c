// cDebugSystem: the process-wide numbered log "debug.log". Every line is numbered without gaps,
// tagged with the code that wrote it and flushed at once, so the file is whole even after a crash.
#pragma once

#include <fstream>
#include <string>

namespace VantorGL {

class cDebugSystem {
public:
    static cDebugSystem* Instance();

    // Counts a line, truncates and opens `fileName`, and writes "[n](cDebugSystem) Opening <name>"
    // followed by an empty line, whatever `enabled` says. Returns whether the file is open; when
    // it is not, one line says so on stderr and every later line is silently lost.
    bool Open(const char* fileName);
    // Closes the file, if one is open; later lines are counted and lost until the next Open.
    void Close();

    // "[n](source) payload": text as is, integers in decimal, floats fixed with 6 decimals.
    void Log(const char* source, const char* text);
    void Log(const char* source, int value);
    void Log(const char* source, float value);

    int Count() const { return count; }

private:
    cDebugSystem() = default;
    void WriteHeader(const char* source);

    bool enabled = true;
    std::ofstream file;
    int count = 0;
};

}  // namespace VantorGL
