// ProgramFolders: where the demo's programs find the data folder and write "debug.log". The demo
// reads "data/..." relative to the working directory; a program started from anywhere else
// (double-clicked in an unpacked archive, or installed and run from any folder) moves there first.
#pragma once

#include <string>
#include <vector>

namespace VantorGL {

// The places a data folder is looked for, in order: the working directory, the folder of the
// running program (RunningProgramFile), and the install prefix's share folder (kInstalledShareFolder);
// a folder that is two of them is named once.
std::vector<std::string> DataFolderPlaces();

// The places, in order, as one line of text: "/a, /b or /c".
std::string PlacesText(const std::vector<std::string>& places);

// Contract: whether `folder` holds the demo's data folder: "data" with the loading screen's
// "General" folder in it, either name in any case (the loaders fold case the same way). A plain
// "data" folder of something else (~/data) does not count.
bool HoldsDataFolder(const std::string& folder);

// Contract: the first of `places` that holds the data folder, or "" when none does.
std::string FindDataFolder(const std::vector<std::string>& places);

// Contract: makes the first of `places` that holds the data folder the working directory (when
// that is the working directory already, nothing changes) and returns true. When none holds it
// (or it cannot be entered) the working directory stays, one line tagged `module` names the places
// looked in, and the result is false; the loaders then name each file they miss.
bool EnterDataFolder(const char* module, const std::vector<std::string>& places = DataFolderPlaces());

// Contract: where "debug.log" is to be opened: "debug.log" in the working directory when a file
// can be written there; otherwise debug.log in the user's state folder (UserStateFolder:
// $XDG_STATE_HOME/quenlite, else $HOME/.local/state/quenlite; %LOCALAPPDATA%\quenlite on
// Windows), made when missing, with one LOG line on stderr saying where.
// When that fails too the result is "debug.log", and cDebugSystem::Open says it cannot be written.
std::string DebugLogPath();

}  // namespace VantorGL
