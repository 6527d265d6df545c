// Fuzz target for quenlite-capture's command line: the input is split at NUL bytes into
// arguments for ParseCaptureOptions, and its first argument is also read as one TIME. Whatever
// is accepted must lie within the ranges the capture loop relies on.
#include "capture/CaptureOptions.h"
#include "offline/ToolArguments.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"quenlite-capture"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0') {
            args.push_back(current);
            current.clear();
        } else {
            current += char(data[i]);
        }
    }
    args.push_back(current);

    int ms = -1;
    if (ParseToolTime(args[1], ms) && (ms < 0 || ms > 24 * 3600 * 1000)) std::abort();

    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(int(args.size()), argv.data(), options, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (options.help) return 0;  // --help stops parsing at once: nothing else is checked
    if (options.fps < 1 || options.fps > 240) std::abort();
    if (options.width < 16 || options.width > 8192 || options.height < 16 || options.height > 8192) std::abort();
    if (options.fromMs < 0 || options.fromMs > options.toMs || options.fromMs > 167000) std::abort();
    if (options.outDir.empty() && options.sheetPath.empty() && options.wavPath.empty() && options.videoPath.empty())
        std::abort();
    // Sound and video need one continuous span; single moments go to frames or a sheet only.
    if (!options.SpanMode() && (!options.wavPath.empty() || !options.videoPath.empty())) std::abort();
    if (!std::is_sorted(options.atMs.begin(), options.atMs.end()) ||
        std::adjacent_find(options.atMs.begin(), options.atMs.end()) != options.atMs.end())
        std::abort();
    for (int at : options.atMs)
        if (at < 0 || at > 167000) std::abort();
    return 0;
}
