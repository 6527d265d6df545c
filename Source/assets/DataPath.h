// DataPath: turns the paths the demo is written with ("data\Ter\floor_comp.jpg",
// "Data/General/c_font.ttf") into a path that exists on a case-sensitive Linux file system.
// Every loader goes through ResolveDataPath, so one data/ folder serves all spellings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VantorGL {

// The longest path a loader accepts, in characters (the original's fixed path buffer).
constexpr std::size_t kMaxDataPath = 260;

// Contract: backslashes become slashes; if the result names an existing file or folder it is
// returned as is, otherwise each component is matched case-insensitively against the entries
// of its parent (first match in directory order wins). When no match exists the slash-converted
// path is returned, so the caller's open fails and it reports the path it tried.
// Paths longer than kMaxDataPath are refused: the result is empty.
std::string ResolveDataPath(const std::string& path);

// Loaders read a data file whole. No file of the demo comes near this (the soundtrack is a few
// MiB); it only stops a bogus file from eating memory.
constexpr std::int64_t kMaxDataFileBytes = std::int64_t(256) << 20;

// How reading a whole data file went; each loader words the failures its own way.
enum class eFileRead { Ok, CannotOpen, Folder, NotRegular, Empty, TooLarge, ReadError };

// Contract: reads the whole regular file at `path` (taken as given) into `bytes`. A folder, a
// pipe or a device is refused before any open (a pipe would block the load), so are empty files
// and files over kMaxDataFileBytes. On CannotOpen `osError` holds the errno that said why.
eFileRead ReadWholeDataFile(const std::string& path, std::vector<std::uint8_t>& bytes, int& osError);

}  // namespace VantorGL
