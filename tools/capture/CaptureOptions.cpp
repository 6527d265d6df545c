// CaptureOptions: argument parsing for quenlite-capture.
#include "CaptureOptions.h"

#include "CaptureSpan.h"

#include "offline/ToolArguments.h"

#include "timeline/Timeline.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

const char* const kCaptureUsage =
    "usage: quenlite-capture [--out DIR] [--wav FILE.wav] [--video FILE.mp4] [--from TIME] [--to TIME]\n"
    "                        [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --out DIR --at TIME,TIME,... [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --sheet FILE.png [--at TIME,TIME,...] [--out DIR] [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --help\n";

const char* const kCaptureHelp =
    "quenlite-capture: records the demo offline, frame by frame, with a fixed-step clock.\n"
    "\n"
    "usage: quenlite-capture [--out DIR] [--wav FILE.wav] [--video FILE.mp4] [--from TIME] [--to TIME]\n"
    "                        [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --out DIR --at TIME,TIME,... [--fps N] [--size WxH] [--quiet]\n"
    "       quenlite-capture --sheet FILE.png [--at TIME,TIME,...] [--out DIR] [--fps N] [--size WxH] [--quiet]\n"
    "\n"
    "A span (--from to --to, both included, one frame every 1/N s) goes to any of:\n"
    "  --out DIR        numbered PNG frames DIR/NNNNNN.png (the frame number at N fps), and\n"
    "                   DIR/debug.log\n"
    "  --wav FILE       the span's soundtrack: 16-bit stereo 44100 Hz PCM, sample-aligned with the\n"
    "                   frames (frame n covers samples round(n*44100/N) up to round((n+1)*44100/N) of\n"
    "                   the demo music, which starts at demo time 0); silence past the music's end\n"
    "  --video FILE     frames and soundtrack through ffmpeg into H.264 (yuv420p) and AAC; FILE ends\n"
    "                   in .mp4, .mkv or .mov; width and height must be even. Needs the ffmpeg\n"
    "                   program (apt-get install ffmpeg); no PNGs are written on the way\n"
    "Single moments instead of a span:\n"
    "  --at T1,T2,...   with --out: only these demo times, each as DIR/NNNNNNms.png (the time in\n"
    "                   milliseconds); the clock steps at N fps and lands exactly on each time,\n"
    "                   from a timeline started over for each, so a frame is the one that\n"
    "                   time gives alone, whatever else the run takes\n"
    "  --sheet FILE     a contact sheet: one labelled thumbnail per time in a grid, as one PNG; the\n"
    "                   times are --at's, else the middle of each scene (labelled with the scene\n"
    "                   too). Without --out no other file is written\n"
    "Settings:\n"
    "  --from TIME      first demo time recorded (default 0)\n"
    "  --to TIME        last demo time recorded (default 2:47, the end of the demo; a later time\n"
    "                   is cut to the end with a note)\n"
    "  --fps N          frames per second of demo time, 1 to 240 (default 30)\n"
    "  --size WxH       window size in pixels, 16x16 to 8192x8192 (default 1024x768)\n"
    "  --quiet          no progress line and no start-up report\n"
    "  --unbounded      draw the glow and ray passes over the whole view instead of only where\n"
    "                   they can reach: the same frames, slower (for checking just that)\n"
    "  --help           this text\n"
    "\n"
    "TIME is m:ss.fff or plain seconds, with an ordinary decimal fraction: 0:10.5 and 10.5 are ten\n"
    "and a half seconds (the demo's own time codes read \"0:10.5\" as 10005 ms; this tool does not).\n"
    "Unless --quiet, a progress line on stderr tells frames done of all, frames per second and the\n"
    "time left (rewritten in place on a terminal, a line every few seconds otherwise).\n"
    "\n"
    "Examples:\n"
    "  quenlite-capture --video demo.mp4                          the whole demo at 30 fps\n"
    "  quenlite-capture --video clip.mp4 --from 0:20 --to 0:30 --fps 60 --size 1280x720\n"
    "  quenlite-capture --wav sound.wav --from 1:00 --to 1:10     the soundtrack of ten seconds\n"
    "  quenlite-capture --out /tmp/frames --from 0:10 --to 0:10.5 --fps 30   16 PNG frames\n"
    "  quenlite-capture --sheet sheet.png                         one frame from each scene\n"
    "Run it from the repository root (it reads data/).\n"
    "\n"
    "Exit codes: 0 done; 1 a file could not be written, ffmpeg is missing or failed, or the demo\n"
    "could not run; 2 a bad command line (the reason and the usage on stderr).\n";

// Containers that hold H.264 and AAC and that ffmpeg picks by the file's ending.
static bool IsVideoContainer(const std::string& path) {
    std::string ending = std::filesystem::path(path).extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ending == ".mp4" || ending == ".mkv" || ending == ".mov";
}

// --at's list: each TIME inside the demo, sorted, repeats dropped.
static bool ParseMoments(const std::string& text, std::vector<int>& atMs, std::string& error) {
    atMs.clear();
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int ms = 0;
        if (item.empty()) return error = "--at wants a comma-separated list of times, not \"" + text + "\"", false;
        if (!ParseToolTime(item, ms)) return error = "--at wants m:ss.fff or seconds, not \"" + item + "\"", false;
        if (ms > VantorGL::kDemoEndMs) return error = "--at " + item + " lies after the end of the demo (2:47)", false;
        atMs.push_back(ms);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(atMs.begin(), atMs.end());
    atMs.erase(std::unique(atMs.begin(), atMs.end()), atMs.end());
    return true;
}

// What the options say together: something to write, outputs that go with each other, a span
// inside the demo (--to cut at its end, with a note).
static bool CheckCombination(CaptureOptions& options, bool fromOrToGiven, bool atGiven, std::string& error) {
    const bool sound = !options.wavPath.empty() || !options.videoPath.empty();
    if (options.outDir.empty() && options.sheetPath.empty() && !sound)
        return error = "nothing to write: choose --out DIR, --wav FILE, --video FILE or --sheet FILE", false;
    if (atGiven && fromOrToGiven) return error = "--at cannot be combined with --from or --to", false;
    if (!options.sheetPath.empty() && fromOrToGiven)
        return error = "--sheet takes its times from --at or the scenes, not --from or --to", false;
    // Sound and video follow a span; single moments have neither.
    if (sound && (atGiven || !options.sheetPath.empty()))
        return error = "--wav and --video record a span (--from, --to), not the single moments of --at or --sheet", false;
    if (!options.videoPath.empty() && (options.width % 2 != 0 || options.height % 2 != 0))
        return error = "--video needs an even width and height (H.264 in yuv420p), not " +
                       std::to_string(options.width) + "x" + std::to_string(options.height), false;
    if (options.fromMs > options.toMs) return error = "--from lies after --to", false;
    if (options.fromMs > VantorGL::kDemoEndMs) return error = "--from lies after the end of the demo (2:47)", false;
    if (options.toMs > VantorGL::kDemoEndMs) {
        options.toMs = VantorGL::kDemoEndMs;
        options.note = "--to lies after the end of the demo: recording up to 2:47";
    }
    if (options.SpanMode() && CaptureSpan::Of(options.fromMs, options.toMs, options.fps).Frames() == 0)
        return error = "--from to --to holds no frame at " + std::to_string(options.fps) + " frames per second", false;
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
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--out") {
            if (!value(options.outDir)) return false;
            if (options.outDir.empty()) return error = "--out needs a folder", false;
        } else if (arg == "--wav") {
            if (!value(options.wavPath)) return false;
            if (options.wavPath.empty()) return error = "--wav needs a file name", false;
        } else if (arg == "--video") {
            if (!value(options.videoPath)) return false;
            if (options.videoPath.empty()) return error = "--video needs a file name", false;
            if (!IsVideoContainer(options.videoPath))
                return error = "--video writes .mp4, .mkv or .mov, not \"" + options.videoPath + "\"", false;
        } else if (arg == "--fps") {
            if (!value(text)) return false;
            if (!ParseWholeNumber(text, options.fps) || options.fps < 1 || options.fps > 240)
                return error = "--fps wants a whole number from 1 to 240, not \"" + text + "\"", false;
        } else if (arg == "--from" || arg == "--to") {
            if (!value(text)) return false;
            int& target = arg == "--from" ? options.fromMs : options.toMs;
            if (!ParseToolTime(text, target))
                return error = arg + " wants m:ss.fff or seconds, not \"" + text + "\"", false;
            fromOrToGiven = true;
        } else if (arg == "--at") {
            if (!value(text)) return false;
            atGiven = true;
            if (!ParseMoments(text, options.atMs, error)) return false;
        } else if (arg == "--sheet") {
            if (!value(options.sheetPath)) return false;
            if (options.sheetPath.empty()) return error = "--sheet needs a file name", false;
        } else if (arg == "--size") {
            if (!value(text)) return false;
            if (!ParseWindowSize(text, options.width, options.height))
                return error = "--size wants WxH between 16x16 and 8192x8192, not \"" + text + "\"", false;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--unbounded") {
            options.unbounded = true;
        } else {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
    }
    return CheckCombination(options, fromOrToGiven, atGiven, error);
}
