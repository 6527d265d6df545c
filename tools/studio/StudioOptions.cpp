// StudioOptions: quenlite-studio's arguments and help text.
#include "StudioOptions.h"

#include "StudioScript.h"

#include "offline/ToolArguments.h"
#include "timeline/Timeline.h"

namespace QuenliteStudio {

const char* const kStudioUsage =
    "usage: quenlite-studio [--from TIME] [--size WxH] [--fullscreen] [--shots DIR]\n"
    "                       [--script COMMANDS] [--help]\n";

const char* const kStudioHelp =
    "usage: quenlite-studio [--from TIME] [--size WxH] [--fullscreen] [--shots DIR]\n"
    "                       [--script COMMANDS] [--help]\n"
    "\n"
    "Plays the demo in a window with its music, and lets you pause it, seek in it, step it frame\n"
    "by frame and loop a part of it. A seek replays the demo from 0:00 at a fixed 30 frames a\n"
    "second, drawing only the frames the picture there depends on, so the frame at any time is\n"
    "the one quenlite-capture writes there and the one a straight play gives (in the tunnel and\n"
    "the metaballs, whose glass refracts itself, within a few levels); the music goes on from\n"
    "that time, sample for sample.\n"
    "\n"
    "The data folder is watched: a picture, model or the music rewritten there (datagen --only NAME)\n"
    "is loaded again and the demo replayed to the time shown, paused or playing, loop and speed as\n"
    "they were; the overlay says what was loaded and how long it took. A file that is now broken\n"
    "says why on stderr and the previous content stays.\n"
    "\n"
    "Keys:\n"
    "  Space            play / pause (the music pauses with it)\n"
    "  Left, Right      seek one second back / on; with Shift ten seconds\n"
    "  Home             back to 0:00\n"
    "  comma, period    while paused: one frame back / on (frames every 1/30 s)\n"
    "  [  ]             start / end of the loop span at the time shown\n"
    "  L                loop the span on and off\n"
    "  1 .. 9           the start of the scene windows, in time order\n"
    "  Up, Down         faster / slower: 1/4, 1/2, 1 or 2 times (music at 1 only)\n"
    "  Tab              the overlay on and off: timeline, time codes, active scenes, spectrum, passes\n"
    "  F5               load every picture, model and the music again, then replay to the time\n"
    "                   shown (changed files are loaded again by themselves, about four times a second)\n"
    "  F12              the frame on screen as quenlite-NNNNNNms.png (the demo time), without the\n"
    "                   overlay, in the --shots folder\n"
    "  F1               fullscreen / windowed\n"
    "  Escape           quit\n"
    "The overlay's timeline bar seeks where it is clicked or dragged.\n"
    "\n"
    "Options:\n"
    "  --from TIME      start playing at this demo time (default 0:00)\n"
    "  --size WxH       window size in pixels, 16x16 to 8192x8192 (default 1024x768)\n"
    "  --fullscreen     start fullscreen\n"
    "  --shots DIR      where F12 writes its pictures (default: the folder started in)\n"
    "  --script CMDS    commands done one a frame before the keyboard's, separated by ';':\n"
    "                   a key name (space, left, shift+right, home, comma, period, [, ], l, 1..9,\n"
    "                   up, down, tab, f5, f12), seek TIME, wait FRAMES, waitreload (until changed\n"
    "                   data files were loaded again, at most 30 s), screen FILE.png (the window\n"
    "                   with the overlay), status (where the demo and the music are, on stdout),\n"
    "                   quit\n"
    "  --help           this text\n"
    "\n"
    "TIME is m:ss.fff or plain seconds, with an ordinary decimal fraction (1:17.5 is 77500 ms).\n"
    "Exit codes: 0 done; 1 no display or the demo could not run; 2 a bad command line.\n";

bool ParseStudioOptions(int argc, char** argv, StudioOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string text;
        auto value = [&]() {
            if (i + 1 >= argc) return error = arg + " needs a value", false;
            text = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--from") {
            if (!value()) return false;
            if (!ParseToolTime(text, options.fromMs) || options.fromMs > VantorGL::kDemoEndMs)
                return error = "--from wants a time from 0:00 to 2:47, not \"" + text + "\"", false;
        } else if (arg == "--size") {
            if (!value()) return false;
            if (!ParseWindowSize(text, options.width, options.height))
                return error = "--size wants WxH between 16x16 and 8192x8192, not \"" + text + "\"", false;
        } else if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--shots") {
            if (!value()) return false;
            if (text.empty()) return error = "--shots needs a folder", false;
            options.shots = text;
        } else if (arg == "--script") {
            if (!value()) return false;
            cStudioScript check;
            if (!check.Parse(text, error)) return error = "--script: " + error, false;
            options.script = text;
        } else {
            return error = "unknown argument \"" + arg + "\"", false;
        }
    }
    return true;
}

}  // namespace QuenliteStudio
