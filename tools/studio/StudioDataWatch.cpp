// cStudioDataWatch: polling the registry's files for changes.
#include "StudioDataWatch.h"

#include "assets/DataPath.h"

#include <cstring>

namespace QuenliteStudio {

std::vector<const VantorGL::cDataFile*> cStudioDataWatch::ReloadableRows() {
    std::vector<const VantorGL::cDataFile*> rows;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest())
        if (row.kind != VantorGL::cDataKind::Font) rows.push_back(&row);
    return rows;
}

cStudioDataWatch::sStamp cStudioDataWatch::StampOf(sFile& file) {
    auto stampAt = [](const std::filesystem::path& at) {
        sStamp stamp;
        std::error_code error;
        if (at.empty() || !std::filesystem::is_regular_file(at, error)) return stamp;
        stamp.time = std::filesystem::last_write_time(at, error);
        if (error) return stamp;
        stamp.size = std::filesystem::file_size(at, error);
        stamp.exists = !error;
        return stamp;
    };
    sStamp stamp = stampAt(file.resolved);
    if (!stamp.exists) {
        file.resolved = VantorGL::ResolveDataPath(file.path);
        stamp = stampAt(file.resolved);
    }
    return stamp;
}

void cStudioDataWatch::Start() {
    files.clear();
    for (const VantorGL::cDataFile* row : ReloadableRows()) {
        sFile* same = nullptr;
        for (sFile& file : files)
            if (VantorGL::PathInDataFolder(file.path) == VantorGL::PathInDataFolder(row->path)) same = &file;
        if (!same) {
            files.push_back({row->path, {}, {}, {}, {}});
            same = &files.back();
        }
        same->rows.push_back(row);
    }
    TakeAsLoaded();
}

void cStudioDataWatch::TakeAsLoaded() {
    for (sFile& file : files) file.loaded = file.seen = StampOf(file);
}

bool cStudioDataWatch::Poll(std::int64_t nowNs) {
    if (nowNs < nextPollNs) return false;
    bool moving = false;
    for (sFile& file : files) {
        const sStamp now = StampOf(file);
        moving = moving || !(now == file.seen);
        file.seen = now;
    }
    nextPollNs = nowNs + (moving ? kSettleNs : kPollNs);
    if (moving) return false;
    changed.clear();
    for (sFile& file : files) {
        if (!file.seen.exists || file.seen == file.loaded) continue;
        file.loaded = file.seen;
        changed.insert(changed.end(), file.rows.begin(), file.rows.end());
    }
    return !changed.empty();
}

}  // namespace QuenliteStudio
