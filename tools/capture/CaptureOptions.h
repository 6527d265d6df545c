// CaptureOptions: the command line of quenlite-capture (kCaptureHelp has the whole of it).
// TIME and WxH are the offline programs' own (offline/ToolArguments.h).
#pragma once

#include "offline/OfflineClock.h"
#include "timeline/Timeline.h"

#include <string>
#include <vector>

struct CaptureOptions {
    std::string outDir;       // --out: numbered PNG frames (and debug.log) in this folder
    std::string wavPath;      // --wav: the span's soundtrack as a WAV file
    std::string videoPath;    // --video: frames and soundtrack through ffmpeg into one file
    int fps = kOfflineFps;
    int fromMs = 0;
    int toMs = VantorGL::kDemoEndMs;
    int width = 1024;
    int height = 768;
    bool quiet = false;
    bool unbounded = false;   // --unbounded: glow and ray passes over the whole view
    bool help = false;        // --help: print kCaptureHelp and stop
    std::string sheetPath;    // --sheet: a contact sheet instead of (or beside) numbered frames
    std::vector<int> atMs;    // --at, sorted and without repeats; empty when not given
    std::string note;         // a remark on a command line that was accepted as adjusted (--to clamped)

    // True when the run records a span (--from..--to at every step) rather than single moments.
    bool SpanMode() const { return atMs.empty() && sheetPath.empty(); }
};

// Fills `options` from argv; on a bad command line returns false with `error` set (one line, no
// usage). --help sets `help` and returns true at once. A --to past the end of the demo is
// clamped to 2:47 with `note` saying so.
bool ParseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error);

// The short usage printed under a command-line error, and the whole --help text.
extern const char* const kCaptureUsage;
extern const char* const kCaptureHelp;
