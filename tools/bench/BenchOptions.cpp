// BenchOptions: argument parsing for quenlite-bench.
#include "BenchOptions.h"

#include "capture/CaptureOptions.h"

#include "timeline/DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const char* const kBenchUsage =
    "usage: quenlite-bench [--span FROM-TO]... [--every SECONDS] [--size WxH] [--passes] [--unbounded]\n"
    "                      [--json] [--help]\n"
    "  Plays the demo headless with a fixed 30 fps clock, updating every frame from 0, and times\n"
    "  the chosen frames (draw + glFinish, and the update alone), per scene.\n"
    "  --span FROM-TO   time every frame from FROM to TO seconds of demo time (repeatable)\n"
    "  --every SECONDS  time one frame every SECONDS over the whole demo (default 1)\n"
    "  --size WxH       window size in pixels (default 1024x768)\n"
    "  --passes         also time every named pass (cube faces, captures, blurs, present, overlays)\n"
    "                   on the GPU with timer queries: per scene each pass's median and share\n"
    "  --unbounded      draw the glow and ray passes over the whole view instead of only where\n"
    "                   they can reach (the same frames): what the bounds save\n"
    "  --json           print the results as one JSON object\n"
    "  --help           this text\n"
    "  Times are seconds with a decimal fraction, 0 to 167 (the demo ends at 2:47).\n";

namespace {

bool ParseSeconds(const std::string& text, int& milliseconds) {
    if (text.empty() || text[0] == '+' || text[0] == '-') return false;
    char* end = nullptr;
    double seconds = std::strtod(text.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(seconds) || seconds < 0.0 || seconds > 24.0 * 3600.0) return false;
    milliseconds = int(std::lround(seconds * 1000.0));
    return true;
}

}  // namespace

bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, std::string& error) {
    int everyMs = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        }
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg == "--passes") {
            options.passes = true;
            continue;
        }
        if (arg == "--unbounded") {
            options.unbounded = true;
            continue;
        }
        if (arg != "--span" && arg != "--every" && arg != "--size") return error = "unknown argument \"" + arg + "\"", false;
        if (i + 1 >= argc) return error = arg + " needs a value", false;
        text = argv[++i];
        if (arg == "--span") {
            // The first '-' after the first character splits (FROM itself has no sign).
            std::size_t dash = text.find('-', 1);
            BenchSpan span;
            if (dash == std::string::npos || !ParseSeconds(text.substr(0, dash), span.fromMs) ||
                !ParseSeconds(text.substr(dash + 1), span.toMs))
                return error = "--span wants FROM-TO in seconds, not \"" + text + "\"", false;
            if (span.fromMs > span.toMs) return error = "--span " + text + " runs backwards", false;
            if (span.toMs > VantorGL::kDemoEndMs) return error = "--span " + text + " runs past the end (167 s)", false;
            options.spans.push_back(span);
        } else if (arg == "--every") {
            if (!ParseSeconds(text, everyMs) || everyMs < 1 || everyMs > VantorGL::kDemoEndMs)
                return error = "--every wants seconds from 0.001 to 167, not \"" + text + "\"", false;
        } else {
            if (!ParseWindowSize(text, options.width, options.height))
                return error = "--size wants WxH between 16x16 and 8192x8192, not \"" + text + "\"", false;
        }
    }
    // One sample per second unless spans alone were asked for.
    if (everyMs == 0 && options.spans.empty()) everyMs = 1000;
    if (everyMs > 0)
        for (int at = 0; at <= VantorGL::kDemoEndMs; at += everyMs) options.spans.push_back({at, at});
    std::sort(options.spans.begin(), options.spans.end(),
              [](const BenchSpan& a, const BenchSpan& b) { return a.fromMs < b.fromMs; });
    return true;
}
