// cStudioScript: the --script of quenlite-studio, commands done one a studio frame before the
// keyboard's, so a check (or a screenshot for the documents) can drive the studio as a viewer
// would, through the same key handling, and end it.
#pragma once

#include <string>
#include <vector>

namespace QuenliteStudio {

struct sStudioCommand {
    enum class eKind { Key, Seek, Wait, WaitReload, Screen, Status, Quit };
    eKind kind = eKind::Quit;
    int key = 0;         // Key: the SDL key code
    bool shift = false;  // Key: with Shift held
    int value = 0;       // Seek: demo ms; Wait: frames
    std::string path;    // Screen: the PNG to write
};

class cStudioScript {
public:
    // Reads "cmd; cmd; ..." (see the studio's --help); false with `error` naming the first bad
    // command. An empty text is an empty script.
    bool Parse(const std::string& text, std::string& error);
    // The command of this frame, or nullptr when there is none (waiting, or the script is done).
    const sStudioCommand* Next();
    bool Done() const { return next >= commands.size() && waiting == 0; }

private:
    std::vector<sStudioCommand> commands;
    std::size_t next = 0;
    int waiting = 0;
};

}  // namespace QuenliteStudio
