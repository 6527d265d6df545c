// DataPath: separator and case folding for data file paths.
#include "assets/DataPath.h"

#include "shell/Platform.h"

#include <dirent.h>
#include <cerrno>
#include <cstdio>
#include <strings.h>

namespace VantorGL {

namespace {

bool Exists(const std::string& path) { return FileKindOf(path) != eFileKind::Missing; }

// The entry of `folder` whose name equals `name` ignoring case, or "" if none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return {};
    std::string found;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

std::string ResolveDataPath(const std::string& path) {
    if (path.size() > kMaxDataPath) return {};
    std::string slashed = path;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    if (slashed.empty() || Exists(slashed)) return slashed;

    // Walk the components, repairing the case of each one that does not exist as written.
    std::string resolved;
    std::size_t begin = 0;
    if (slashed[0] == '/') {
        resolved = "/";
        begin = 1;
    }
    while (begin <= slashed.size()) {
        std::size_t end = slashed.find('/', begin);
        if (end == std::string::npos) end = slashed.size();
        std::string part = slashed.substr(begin, end - begin);
        if (!part.empty()) {
            std::string candidate = resolved.empty() || resolved == "/" ? resolved + part : resolved + "/" + part;
            if (!Exists(candidate) && part != "." && part != "..") {
                std::string folder = resolved.empty() ? "." : resolved;
                std::string match = FindEntryIgnoringCase(folder, part);
                if (match.empty()) return slashed;
                candidate = resolved.empty() || resolved == "/" ? resolved + match : resolved + "/" + match;
            }
            resolved = candidate;
        }
        begin = end + 1;
    }
    return resolved;
}

eFileRead ReadWholeDataFile(const std::string& path, std::vector<std::uint8_t>& bytes, int& osError) {
    bytes.clear();
    osError = 0;
    std::int64_t size = 0;
    switch (FileKindOf(path, &size, &osError)) {
        case eFileKind::Missing: return eFileRead::CannotOpen;
        case eFileKind::Folder: return eFileRead::Folder;
        case eFileKind::Other: return eFileRead::NotRegular;
        case eFileKind::Regular: break;
    }
    if (size == 0) return eFileRead::Empty;
    if (size > kMaxDataFileBytes) return eFileRead::TooLarge;
    std::FILE* file = OpenFile(path, "rb");
    if (!file) {
        osError = errno;
        return eFileRead::CannotOpen;
    }
    bytes.resize(std::size_t(size));
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (got != bytes.size()) {
        bytes.clear();
        return eFileRead::ReadError;
    }
    return eFileRead::Ok;
}

}  // namespace VantorGL
