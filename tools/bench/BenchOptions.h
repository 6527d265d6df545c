// BenchOptions: the command line of quenlite-bench and the demo times it asks to be timed.
//   quenlite-bench [--span FROM-TO]... [--every TIME] [--size WxH] [--passes] [--unbounded] [--json] [--help]
// TIME and WxH are the offline programs' own (offline/ToolArguments.h).
#pragma once

#include <string>
#include <vector>

// A stretch of demo time whose every frame is timed, both ends included, in milliseconds. A
// span with from == to is one sample: the first frame at or after it is timed, even where no
// frame falls exactly on it.
struct BenchSpan {
    int fromMs = 0;
    int toMs = 0;
};

struct BenchOptions {
    std::vector<BenchSpan> spans;  // sorted by start; the default is one sample per second
    int width = 1024;
    int height = 768;
    bool json = false;
    bool passes = false;  // also time each named pass on the GPU
    bool unbounded = false;  // the glow and ray passes over the whole view, to time what bounds save
    bool help = false;
};

// Fills `options` from argv; on a bad command line returns false with `error` set. --help sets
// `help` and stops there.
bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, std::string& error);

extern const char* const kBenchUsage;
