// ProgramFolders: the data folder's places and the debug log's place.
#include "shell/ProgramFolders.h"

#include "assets/DataManifest.h"
#include "shell/BuildInfo.h"
#include "shell/Console.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace VantorGL {

namespace {

constexpr const char* kDebugLogName = "debug.log";

// The sub-folder of `folder` named `name` in any case, or "" when there is none.
fs::path SubFolderIgnoringCase(const fs::path& folder, const std::string& name) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (strcasecmp(entry->path().filename().c_str(), name.c_str()) != 0) continue;
        std::error_code notFolder;
        if (fs::is_directory(entry->path(), notFolder)) return entry->path();
    }
    return {};
}

// Whether a file can be written at `path`: it is opened for writing (made when missing, left
// as it was otherwise) and closed again.
bool CanWrite(const fs::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The user's state folder for the demo, or "" when neither variable gives one. The base
// directory specification ignores a relative XDG_STATE_HOME.
fs::path StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute()) return fs::path(state) / "quenlite";
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "state" / "quenlite";
    return {};
}

}  // namespace

std::vector<std::string> DataFolderPlaces() {
    std::vector<std::string> places;
    std::error_code error;
    fs::path working = fs::current_path(error);
    places.push_back(error ? std::string(".") : working.string());
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) places.push_back(program.parent_path().string());
    places.push_back(kInstalledShareFolder);
    // A program started in its own folder looks there once.
    for (std::size_t i = places.size() - 1; i > 0; --i)
        if (std::find(places.begin(), places.begin() + i, places[i]) != places.begin() + i) places.erase(places.begin() + i);
    return places;
}

std::string PlacesText(const std::vector<std::string>& places) {
    std::string text;
    for (std::size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? "" : i + 1 == places.size() ? " or " : ", ") + places[i];
    return text;
}

bool HoldsDataFolder(const std::string& folder) {
    // The loading screen's folder, "data/General", is the first the demo opens.
    const fs::path general = fs::path(PathInDataFolder(kLoadingPicturePath)).parent_path();
    fs::path data = SubFolderIgnoringCase(folder.empty() ? fs::path(".") : fs::path(folder), "data");
    return !data.empty() && !SubFolderIgnoringCase(data, general.string()).empty();
}

std::string FindDataFolder(const std::vector<std::string>& places) {
    for (const std::string& place : places)
        if (HoldsDataFolder(place)) return place;
    return {};
}

bool EnterDataFolder(const char* module, const std::vector<std::string>& places) {
    const std::string found = FindDataFolder(places);
    if (!found.empty()) {
        std::error_code error;
        const fs::path working = fs::current_path(error);
        if (!error && fs::equivalent(found, working, error)) return true;
        fs::current_path(found, error);
        if (!error) return true;
        ConsolePrint(module, "%s: cannot enter the folder of the data: %s", found.c_str(), error.message().c_str());
        return false;
    }
    ConsolePrint(module, "no data folder (data/General) in %s; the demo plays without its files",
                 PlacesText(places).c_str());
    return false;
}

std::string DebugLogPath() {
    if (CanWrite(kDebugLogName)) return kDebugLogName;
    const fs::path folder = StateFolder();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    const fs::path log = folder / kDebugLogName;
    if (folder.empty() || error || !CanWrite(log)) return kDebugLogName;
    std::error_code noWorking;
    ConsolePrint("LOG", "%s cannot be written in %s; writing %s instead", kDebugLogName,
                 fs::current_path(noWorking).c_str(), log.c_str());
    return log.string();
}

}  // namespace VantorGL
