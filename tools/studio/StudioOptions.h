// StudioOptions: the command line of quenlite-studio (kStudioHelp has the whole of it).
// TIME and WxH are the offline programs' own (offline/ToolArguments.h).
#pragma once

#include <string>

namespace QuenliteStudio {

struct StudioOptions {
    int fromMs = 0;           // --from: where play starts
    int width = 1024;         // --size
    int height = 768;
    bool fullscreen = false;  // --fullscreen
    std::string script;       // --script: commands played one a frame (StudioScript.h)
    std::string shots;        // --shots: where F12 writes (default: the folder started in)
    bool help = false;
};

// Fills `options` from argv; false with `error` set on a bad command line. --help sets `help`
// and stops there.
bool ParseStudioOptions(int argc, char** argv, StudioOptions& options, std::string& error);

extern const char* const kStudioUsage;
extern const char* const kStudioHelp;

}  // namespace QuenliteStudio
