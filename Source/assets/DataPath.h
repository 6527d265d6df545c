// DataPath: turns the paths the demo is written with ("data\Ter\floor_comp.jpg",
// "Data/General/c_font.ttf") into a path that exists on a case-sensitive Linux file system.
// Every loader goes through ResolveDataPath, so one data/ folder serves all spellings.
#pragma once

#include <string>

namespace VantorGL {

// The longest path a loader accepts, in characters (the original's fixed path buffer).
constexpr std::size_t kMaxDataPath = 260;

// Contract: backslashes become slashes; if the result names an existing file or folder it is
// returned as is, otherwise each component is matched case-insensitively against the entries
// of its parent (first match in directory order wins). When no match exists the slash-converted
// path is returned, so the caller's open fails and it reports the path it tried.
// Paths longer than kMaxDataPath are refused: the result is empty.
std::string ResolveDataPath(const std::string& path);

}  // namespace VantorGL
