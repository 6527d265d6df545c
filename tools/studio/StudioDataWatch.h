// cStudioDataWatch: the files of the registry's pictures, models and music, watched by their
// modification time and size, polled about four times a second (the same on every system, no file
// notification needed), so the studio can load again what the generator or an editor rewrote.
#pragma once

#include "assets/DataManifest.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace QuenliteStudio {

class cStudioDataWatch {
public:
    static constexpr std::int64_t kPollNs = 250'000'000;  // about four times a second
    // After a poll that saw a file move, the next one comes sooner: a file renamed into place
    // is whole at once, and the second look is all that stands before showing it.
    static constexpr std::int64_t kSettleNs = 100'000'000;

    // Takes every reloadable row's file as it is now: what the registry has loaded. Run in the
    // folder the data paths start from.
    void Start();
    // At steady time `nowNs`, polls when a poll is due. True when files differ from what was
    // loaded and the poll found them as the poll before did (their writers are done, so a file
    // written in place is not taken half-way): Changed() names their rows, and they count as
    // loaded from now on. A file that is gone waits until it is back.
    bool Poll(std::int64_t nowNs);
    const std::vector<const VantorGL::cDataFile*>& Changed() const { return changed; }
    // Every file as it is now counts as loaded (after everything was loaded again by hand).
    void TakeAsLoaded();

    // The registry's rows this watch covers, in manifest order: the pictures, models and music.
    static std::vector<const VantorGL::cDataFile*> ReloadableRows();

private:
    struct sStamp {
        bool exists = false;
        std::filesystem::file_time_type time{};
        std::uintmax_t size = 0;
        bool operator==(const sStamp&) const = default;
    };
    struct sFile {
        const char* path = "";            // as the manifest spells it
        std::filesystem::path resolved;   // where it was last found (the case repaired)
        sStamp loaded, seen;
        std::vector<const VantorGL::cDataFile*> rows;  // one file may fill two members
    };
    // The file's stamp. A poll of files that are all there allocates nothing: the path is
    // resolved again only while the file is missing.
    static sStamp StampOf(sFile& file);

    std::vector<sFile> files;
    std::vector<const VantorGL::cDataFile*> changed;
    std::int64_t nextPollNs = 0;
};

}  // namespace QuenliteStudio
