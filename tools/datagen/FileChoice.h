// cFileChoice: which files of the data folder one run of datagen writes: every one, or the ones
// named on its command line (datagen --only), by file name, by path under the folder or by the
// registry member the file fills.
#pragma once

#include "assets/DataManifest.h"

#include <string>
#include <vector>

namespace Datagen {

// The font's licence, written beside the font (a file of ours, not one the demo loads).
inline constexpr const char* kFontLicenseFile = "General/c_font-LICENSE.txt";

class cFileChoice {
public:
    // A choice of every file.
    cFileChoice() = default;

    // Chooses the files `names` name, case aside: "greeting2.3DS", "Ter/ray3.3DS" or
    // "mdlGreeting2". False, choosing nothing, with `error` naming the first name that names no
    // file the generator writes.
    bool Choose(const std::vector<std::string>& names, std::string& error);

    // Whether the file at `path` (under the data folder, '/' separated, as the generator writes
    // it) is chosen.
    bool Wants(const std::string& path) const;
    // Whether any chosen file is of `kind`.
    bool WantsKind(VantorGL::cDataKind kind) const;
    bool All() const { return all; }
    // The chosen files' paths under the data folder, in the generator's order; all of them
    // for a choice of every file.
    std::vector<std::string> Paths() const;

private:
    struct sFile {
        std::string path;  // under the data folder
        VantorGL::cDataKind kind;
    };
    // Every file the generator writes, each once: the manifest's, then the licence.
    static std::vector<sFile> Files();

    bool all = true;
    std::vector<sFile> chosen;
};

}  // namespace Datagen
