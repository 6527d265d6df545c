// BenchOptions: argument parsing for quenlite-bench.
#include "BenchOptions.h"

#include "offline/ToolArguments.h"

#include "timeline/Timeline.h"

#include <algorithm>

const char* const kBenchUsage =
    "usage: quenlite-bench [--span FROM-TO]... [--every TIME] [--size WxH] [--passes] [--unbounded]\n"
    "                      [--json] [--help]\n"
    "  Plays the demo headless with a fixed 30 fps clock, updating every frame from 0, and times\n"
    "  the chosen frames (draw + glFinish, and the update alone), per scene.\n"
    "  --span FROM-TO   time every frame from demo time FROM to TO (repeatable)\n"
    "  --every TIME     time one frame every TIME over the whole demo (default 1, a second)\n"
    "  --size WxH       window size in pixels (default 1024x768)\n"
    "  --passes         also time every named pass (cube faces, captures, blurs, present, overlays)\n"
    "                   on the GPU with timer queries: per scene each pass's median and share\n"
    "  --unbounded      draw the glow and ray passes over the whole view instead of only where\n"
    "                   they can reach (the same frames): what the bounds save\n"
    "  --json           print the results as one JSON object\n"
    "  --help           this text\n"
    "  TIME is m:ss.fff or plain seconds, with an ordinary decimal fraction (1:17.5 and 77.5 are\n"
    "  77500 ms), 0 to 2:47, the end of the demo.\n";

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
            if (dash == std::string::npos || !ParseToolTime(text.substr(0, dash), span.fromMs) ||
                !ParseToolTime(text.substr(dash + 1), span.toMs))
                return error = "--span wants FROM-TO, each m:ss.fff or seconds, not \"" + text + "\"", false;
            if (span.fromMs > span.toMs) return error = "--span " + text + " runs backwards", false;
            if (span.toMs > VantorGL::kDemoEndMs) return error = "--span " + text + " runs past the end (2:47)", false;
            options.spans.push_back(span);
        } else if (arg == "--every") {
            if (!ParseToolTime(text, everyMs) || everyMs < 1 || everyMs > VantorGL::kDemoEndMs)
                return error = "--every wants a TIME from 0.001 to 2:47, not \"" + text + "\"", false;
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
