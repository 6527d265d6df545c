// DamagedData: breaking data files for the bad-input tests.
#include "support/DamagedData.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace VantorGLTest {

const std::vector<eDamage>& AllDamages() {
    static const std::vector<eDamage> all = {eDamage::Missing, eDamage::Empty,  eDamage::Truncated,
                                             eDamage::CorruptMiddle, eDamage::WrongFormat, eDamage::Folder,
                                             eDamage::Pipe, eDamage::Unreadable};
    return all;
}

const char* DamageName(eDamage damage) {
    switch (damage) {
        case eDamage::Missing: return "missing";
        case eDamage::Empty: return "empty";
        case eDamage::Truncated: return "truncated";
        case eDamage::CorruptMiddle: return "corrupt middle";
        case eDamage::WrongFormat: return "wrong format";
        case eDamage::Folder: return "folder";
        case eDamage::Pipe: return "pipe";
        case eDamage::Unreadable: return "unreadable";
    }
    return "?";
}

namespace {

std::vector<char> ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const fs::path& file, const char* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(data, std::streamsize(size));
    return bool(out);
}

}  // namespace

bool Damage(const fs::path& file, eDamage damage, const fs::path& otherFormat) {
    std::error_code ignored;
    switch (damage) {
        case eDamage::Missing:
            fs::remove(file, ignored);
            return !fs::exists(file);
        case eDamage::Empty:
            return WriteAll(file, "", 0);
        case eDamage::Truncated: {
            std::vector<char> bytes = ReadAll(file);
            return bytes.size() > 1 && WriteAll(file, bytes.data(), bytes.size() / 2);
        }
        case eDamage::CorruptMiddle: {
            std::vector<char> bytes = ReadAll(file);
            constexpr std::size_t kRun = 256;
            if (bytes.size() < 2 * kRun) return false;
            std::uint32_t noise = 2010;
            for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + kRun; ++i) {
                noise = noise * 1664525u + 1013904223u;
                // Mostly 0xFF (erased flash, a bad sector), with random bytes between.
                bytes[i] = char((noise >> 24) < 160 ? 0xFF : (noise >> 16) & 0xFF);
            }
            return WriteAll(file, bytes.data(), bytes.size());
        }
        case eDamage::WrongFormat: {
            std::vector<char> bytes = ReadAll(otherFormat);
            return !bytes.empty() && WriteAll(file, bytes.data(), bytes.size());
        }
        case eDamage::Folder:
            fs::remove(file, ignored);
            return fs::create_directory(file, ignored);
        case eDamage::Pipe:
            fs::remove(file, ignored);
            return mkfifo(file.c_str(), 0644) == 0;
        case eDamage::Unreadable:
            return chmod(file.c_str(), 0) == 0;
    }
    return false;
}

bool ReadsThroughPermissions() { return geteuid() == 0; }

ScratchFolder::ScratchFolder(const std::string& tag) {
    std::string pattern = (fs::temp_directory_path() / ("quenlite-" + tag + "-XXXXXX")).string();
    if (char* made = mkdtemp(pattern.data())) path = made;
}

ScratchFolder::~ScratchFolder() {
    if (path.empty()) return;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

bool CopyGeneratedData(const fs::path& target) {
    fs::path source = fs::path(QUENLITE_SOURCE_DIR) / "data";
    if (!fs::exists(source / "General" / "music.mp3")) return false;
    std::error_code error;
    fs::copy(source, target, fs::copy_options::recursive, error);
    return !error;
}

std::vector<std::string> ListTree(const fs::path& folder) {
    std::vector<std::string> entries;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        std::string entry = fs::relative(it->path(), folder, ignored).string();
        if (it->is_regular_file(ignored)) {
            entry += ' ';
            entry += std::to_string(it->file_size(ignored));
        }
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace VantorGLTest
