// ProgressLine: the rate is taken over the captured frames only (the update-only run up to
// --from is not part of it), so the time left is what the rest of the span will take.
#include "ProgressLine.h"

namespace {
// How often the line is refreshed on a terminal, and how often a plain line is written.
constexpr auto kTerminalEvery = std::chrono::milliseconds(250);
constexpr auto kPlainEvery = std::chrono::seconds(5);
}  // namespace

void FormatProgress(char* out, std::size_t size, int done, int total, double framesPerSecond) {
    char left[32] = "?";
    if (framesPerSecond > 0.0) {
        long seconds = long((total - done) / framesPerSecond + 0.5);
        if (seconds < 0) seconds = 0;
        if (seconds >= 3600)
            std::snprintf(left, sizeof left, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
        else
            std::snprintf(left, sizeof left, "%ld:%02ld", seconds / 60, seconds % 60);
    }
    std::snprintf(out, size, "CAPTURE: %d/%d frames, %.1f fps, %s left", done, total, framesPerSecond, left);
}

void ProgressLine::Frame(int done, Clock::time_point now) {
    if (!started) {
        started = true;
        firstFrame = now;
        lastPrint = now - kPlainEvery;  // the first frame is shown at once
    }
    const bool last = done >= total;
    if (!last && now - lastPrint < (inPlace ? Clock::duration(kTerminalEvery) : Clock::duration(kPlainEvery))) return;
    lastPrint = now;
    // The rate over the frames after the first: the first one's time went before the clock started.
    const double seconds = std::chrono::duration<double>(now - firstFrame).count();
    const double rate = done > 1 && seconds > 0.0 ? (done - 1) / seconds : 0.0;
    char line[128];
    FormatProgress(line, sizeof line, done, total, rate);
    if (inPlace) {
        std::fprintf(out, "\r%s\033[K", line);  // \033[K clears what a longer line left
        open = true;
        if (last) End();
    } else {
        std::fprintf(out, "%s\n", line);
    }
    std::fflush(out);
}

void ProgressLine::End() {
    if (!open) return;
    std::fputc('\n', out);
    std::fflush(out);
    open = false;
}
