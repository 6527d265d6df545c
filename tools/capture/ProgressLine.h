// ProgressLine: quenlite-capture's "how far, how fast, how long still" line on stderr. On a
// terminal one line is rewritten in place with \r a few times a second; into a file or pipe a
// plain line goes out every few seconds, so logs stay readable.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

// Writes "CAPTURE: 120/301 frames, 4.2 fps, 0:43 left" into `out` (no newline). The time left is
// m:ss (h:mm:ss from an hour on), "?" while the rate is unknown (0).
void FormatProgress(char* out, std::size_t size, int done, int total, double framesPerSecond);

class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    // `terminal`: rewrite in place; otherwise plain lines. Nothing is printed until Frame.
    ProgressLine(std::FILE* stream, bool terminal, int total) : out(stream), inPlace(terminal), total(total) {}

    // After each captured frame; `done` counts them from 1. Prints when due and always for the last.
    void Frame(int done, Clock::time_point now = Clock::now());
    // Ends an in-place line with a newline so later messages start on their own line.
    void End();

private:
    std::FILE* out;
    bool inPlace;
    int total;
    bool started = false, open = false;
    Clock::time_point firstFrame, lastPrint;
};
