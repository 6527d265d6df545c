// CaptureOptions: the command line of quenlite-capture.
//   quenlite-capture --out DIR [--fps N] [--from TIME] [--to TIME] [--size WxH] [--quiet]
//   quenlite-capture [--out DIR] [--sheet FILE.png] [--at TIME,TIME,...] [--fps N] [--size WxH] [--quiet]
// TIME is m:ss.fff with an ordinary decimal fraction ("0:10.5" is 10500 ms), or plain seconds
// ("10.5"). Unlike the demo's own time codes, ".5" here means half a second.
#pragma once

#include <string>
#include <vector>

struct CaptureOptions {
    std::string outDir;
    int fps = 30;
    int fromMs = 0;
    int toMs = 167000;
    int width = 1024;
    int height = 768;
    bool quiet = false;
    std::string sheetPath;    // --sheet: a contact sheet instead of (or beside) numbered frames
    std::vector<int> atMs;    // --at, sorted and without repeats; empty when not given
};

// Parses a TIME argument into milliseconds; false when it is not one.
bool ParseCaptureTime(const std::string& text, int& milliseconds);

// Fills `options` from argv; on a bad command line returns false with `error` set.
bool ParseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error);

extern const char* const kCaptureUsage;
