// ProgramFolders: the data folder's places and the debug log's place.
#include "shell/ProgramFolders.h"

#include "assets/DataManifest.h"
#include "shell/BuildInfo.h"
#include "shell/Console.h"
#include "shell/Platform.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace fs = std::filesystem;

namespace VantorGL {

namespace {

constexpr const char* kDebugLogName = "debug.log";

// The sub-folder of `folder` named `name` in any case, or "" when there is none.
fs::path SubFolderIgnoringCase(const fs::path& folder, const std::string& name) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (strcasecmp(PathText(entry->path().filename()).c_str(), name.c_str()) != 0) continue;
        std::error_code notFolder;
        if (fs::is_directory(entry->path(), notFolder)) return entry->path();
    }
    return {};
}

// What makes a folder the demo's data folder: the loading screen's folder, "data/General", the
// first the demo opens.
fs::path DataFolderMark() { return fs::path(kLoadingPicturePath).parent_path(); }

}  // namespace

std::vector<std::string> DataFolderPlaces() {
    std::vector<std::string> places;
    // A program started in its own folder looks there once.
    auto add = [&places](const std::string& place) {
        if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
    };
    std::error_code error;
    fs::path working = fs::current_path(error);
    add(error ? std::string(".") : PathText(working));
    const fs::path program = RunningProgramFile();
    if (!program.empty()) add(PathText(program.parent_path()));
    if (kInstalledShareFolder[0] != '\0') add(kInstalledShareFolder);  // none on Windows
    return places;
}

std::string PlacesText(const std::vector<std::string>& places) {
    std::string text;
    for (std::size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? "" : i + 1 == places.size() ? " or " : ", ") + places[i];
    return text;
}

bool HoldsDataFolder(const std::string& folder) {
    const fs::path mark = DataFolderMark();
    fs::path data = SubFolderIgnoringCase(folder.empty() ? fs::path(".") : PathFromText(folder), PathText(*mark.begin()));
    return !data.empty() && !SubFolderIgnoringCase(data, PathText(mark.filename())).empty();
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
        if (!error && fs::equivalent(PathFromText(found), working, error)) return true;
        fs::current_path(PathFromText(found), error);
        if (!error) return true;
        ConsolePrint(module, "%s: cannot enter the folder of the data: %s", found.c_str(), error.message().c_str());
        return false;
    }
    ConsolePrint(module, "no data folder (%s) in %s; the demo plays without its files", PathText(DataFolderMark()).c_str(),
                 PlacesText(places).c_str());
    return false;
}

std::string DebugLogPath() {
    if (CanWriteFile(kDebugLogName)) return kDebugLogName;
    const fs::path folder = UserStateFolder();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    const fs::path log = folder / kDebugLogName;
    if (folder.empty() || error || !CanWriteFile(log)) return kDebugLogName;
    std::error_code noWorking;
    ConsolePrint("LOG", "%s cannot be written in %s; writing %s instead", kDebugLogName,
                 PathText(fs::current_path(noWorking)).c_str(), PathText(log).c_str());
    return PathText(log);
}

}  // namespace VantorGL
