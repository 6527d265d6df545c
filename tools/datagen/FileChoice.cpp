// cFileChoice: matching datagen --only's names against the files the generator writes.
#include "FileChoice.h"

#include <algorithm>
#include <cctype>

namespace Datagen {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<cFileChoice::sFile> cFileChoice::Files() {
    std::vector<sFile> files;
    auto add = [&](const VantorGL::cDataFile& row) {
        const std::string path = VantorGL::PathInDataFolder(row.path);
        for (const sFile& file : files)
            if (SameText(file.path, path)) return;  // a file two members share is written once
        files.push_back({path, row.kind});
    };
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest()) add(row);
    for (const VantorGL::cDataFile& row : VantorGL::FilesOutsideRegistry()) add(row);
    files.push_back({kFontLicenseFile, VantorGL::cDataKind::Font});
    return files;
}

bool cFileChoice::Choose(const std::vector<std::string>& names, std::string& error) {
    all = false;
    chosen.clear();
    const std::vector<sFile> files = Files();
    // The members of a file two members share (art1.jpg) name it too.
    std::vector<std::pair<std::string, std::string>> members;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest())
        members.emplace_back(row.user, VantorGL::PathInDataFolder(row.path));
    for (std::string name : names) {
        std::replace(name.begin(), name.end(), '\\', '/');
        bool found = false;
        for (const sFile& file : files) {
            bool named = SameText(name, file.path) || SameText(name, FileName(file.path));
            for (const auto& [member, path] : members)
                named = named || (SameText(name, member) && SameText(path, file.path));
            if (!named) continue;
            found = true;
            if (!Wants(file.path)) chosen.push_back(file);
        }
        if (!found) {
            chosen.clear();
            error = "\"" + name + "\" names no file of the data folder and no registry member";
            return false;
        }
    }
    // In the generator's order.
    std::vector<sFile> ordered;
    for (const sFile& file : files)
        if (Wants(file.path)) ordered.push_back(file);
    chosen = ordered;
    return true;
}

bool cFileChoice::Wants(const std::string& path) const {
    if (all) return true;
    return std::any_of(chosen.begin(), chosen.end(), [&](const sFile& file) { return SameText(file.path, path); });
}

bool cFileChoice::WantsKind(VantorGL::cDataKind kind) const {
    if (all) return true;
    return std::any_of(chosen.begin(), chosen.end(), [&](const sFile& file) { return file.kind == kind; });
}

std::vector<std::string> cFileChoice::Paths() const {
    std::vector<std::string> paths;
    for (const sFile& file : all ? Files() : chosen) paths.push_back(file.path);
    return paths;
}

}  // namespace Datagen
