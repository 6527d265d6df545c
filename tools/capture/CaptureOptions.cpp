// CaptureOptions: argument parsing for quenlite-capture.
#include "CaptureOptions.h"

#include "timeline/DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const char* const kCaptureUsage =
    "usage: quenlite-capture --out DIR [--fps N] [--from TIME] [--to TIME] [--size WxH] [--quiet]\n"
    "       quenlite-capture --out DIR --at TIME,TIME,... [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --sheet FILE.png [--at TIME,TIME,...] [--out DIR] [--fps N] [--size WxH] [--quiet]\n"
    "  Renders the demo offline with a fixed-step clock and writes the frames from --from to --to\n"
    "  as DIR/NNNNNN.png (frame number at N frames per second), plus DIR/debug.log.\n"
    "  --at T1,T2,.. only these demo times, each as DIR/NNNNNNms.png (the time in milliseconds);\n"
    "                the clock steps at N frames per second and lands exactly on each time\n"
    "  --sheet FILE  a contact sheet: one labelled thumbnail per time in a grid, as one PNG; the\n"
    "                times are --at's, else the middle of each scene of the timeline. Without\n"
    "                --out no other file is written\n"
    "  --fps N       frames per second of demo time, 1 to 240 (default 30)\n"
    "  --from TIME   first demo time written (default 0)\n"
    "  --to TIME     last demo time written (default 2:47, the end of the demo)\n"
    "  --size WxH    window size in pixels (default 1024x768)\n"
    "  --quiet       no progress output\n"
    "  TIME is m:ss.fff or plain seconds, with an ordinary decimal fraction: 0:10.5 is ten and a\n"
    "  half seconds (the demo's own time codes read \"0:10.5\" as 10005 ms; this tool does not).\n";

static bool ParseSeconds(const std::string& text, double& seconds) {
    if (text.empty()) return false;
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0 && text[0] != '+' && text[0] != '-';
}

bool ParseCaptureTime(const std::string& text, int& milliseconds) {
    double seconds = 0.0;
    std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        if (!ParseSeconds(text, seconds)) return false;
    } else {
        std::string minutes = text.substr(0, colon);
        double wholeMinutes = 0.0, rest = 0.0;
        if (minutes.find('.') != std::string::npos || !ParseSeconds(minutes, wholeMinutes)) return false;
        if (!ParseSeconds(text.substr(colon + 1), rest) || rest >= 60.0) return false;
        seconds = wholeMinutes * 60.0 + rest;
    }
    if (seconds > 24.0 * 3600.0) return false;
    milliseconds = int(std::lround(seconds * 1000.0));
    return true;
}

static bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (!end || *end != '\0' || parsed < 0 || parsed > 100000) return false;
    value = int(parsed);
    return true;
}

bool ParseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error) {
    bool fromOrToGiven = false, atGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--out") {
            if (!value(options.outDir)) return false;
            if (options.outDir.empty()) return error = "--out needs a folder", false;
        } else if (arg == "--fps") {
            if (!value(text)) return false;
            if (!ParseInt(text, options.fps) || options.fps < 1 || options.fps > 240)
                return error = "--fps wants a whole number from 1 to 240, not \"" + text + "\"", false;
        } else if (arg == "--from" || arg == "--to") {
            if (!value(text)) return false;
            int& target = arg == "--from" ? options.fromMs : options.toMs;
            if (!ParseCaptureTime(text, target))
                return error = arg + " wants m:ss.fff or seconds, not \"" + text + "\"", false;
            fromOrToGiven = true;
        } else if (arg == "--at") {
            if (!value(text)) return false;
            atGiven = true;
            options.atMs.clear();
            std::size_t start = 0;
            while (true) {
                std::size_t comma = text.find(',', start);
                std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                int ms = 0;
                if (item.empty()) return error = "--at wants a comma-separated list of times, not \"" + text + "\"", false;
                if (!ParseCaptureTime(item, ms))
                    return error = "--at wants m:ss.fff or seconds, not \"" + item + "\"", false;
                if (ms > VantorGL::kDemoEndMs)
                    return error = "--at " + item + " lies after the end of the demo (2:47)", false;
                options.atMs.push_back(ms);
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
            std::sort(options.atMs.begin(), options.atMs.end());
            options.atMs.erase(std::unique(options.atMs.begin(), options.atMs.end()), options.atMs.end());
        } else if (arg == "--sheet") {
            if (!value(options.sheetPath)) return false;
            if (options.sheetPath.empty()) return error = "--sheet needs a file name", false;
        } else if (arg == "--size") {
            if (!value(text)) return false;
            std::size_t x = text.find('x');
            if (x == std::string::npos || !ParseInt(text.substr(0, x), options.width) ||
                !ParseInt(text.substr(x + 1), options.height) || options.width < 16 || options.height < 16 ||
                options.width > 8192 || options.height > 8192)
                return error = "--size wants WxH between 16x16 and 8192x8192, not \"" + text + "\"", false;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
    }
    if (atGiven && fromOrToGiven) return error = "--at cannot be combined with --from or --to", false;
    if (!options.sheetPath.empty() && fromOrToGiven)
        return error = "--sheet takes its times from --at or the scenes, not --from or --to", false;
    if (options.outDir.empty() && options.sheetPath.empty()) return error = "--out DIR (or --sheet FILE.png) is required", false;
    if (options.fromMs > options.toMs) return error = "--from lies after --to", false;
    if (options.fromMs > 167000) return error = "--from lies after the end of the demo (2:47)", false;
    return true;
}
