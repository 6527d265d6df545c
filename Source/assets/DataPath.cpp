// DataPath: separator and case folding for data file paths.
#include "assets/DataPath.h"

#include <dirent.h>
#include <cerrno>
#include <cstdio>
#include <strings.h>
#include <sys/stat.h>

namespace VantorGL {

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

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
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        osError = errno;
        return eFileRead::CannotOpen;
    }
    if (S_ISDIR(info.st_mode)) return eFileRead::Folder;
    if (!S_ISREG(info.st_mode)) return eFileRead::NotRegular;
    if (info.st_size == 0) return eFileRead::Empty;
    if (info.st_size > kMaxDataFileBytes) return eFileRead::TooLarge;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        osError = errno;
        return eFileRead::CannotOpen;
    }
    bytes.resize(std::size_t(info.st_size));
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (got != bytes.size()) {
        bytes.clear();
        return eFileRead::ReadError;
    }
    return eFileRead::Ok;
}

}  // namespace VantorGL
