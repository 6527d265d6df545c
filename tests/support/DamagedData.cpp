// DamagedData: breaking data files for the bad-input tests.
#include "support/DamagedData.h"

#include "support/FileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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

bool Damage(const fs::path& file, eDamage damage, const fs::path& otherFormat) {
    std::error_code ignored;
    switch (damage) {
        case eDamage::Missing:
            fs::remove(file, ignored);
            return !fs::exists(file);
        case eDamage::Empty:
            return WriteBytes(file, {});
        case eDamage::Truncated: {
            std::vector<std::uint8_t> bytes = ReadBytes(file);
            bytes.resize(bytes.size() / 2);
            return !bytes.empty() && WriteBytes(file, bytes);
        }
        case eDamage::CorruptMiddle: {
            std::vector<std::uint8_t> bytes = ReadBytes(file);
            constexpr std::size_t kRun = 256;
            if (bytes.size() < 2 * kRun) return false;
            std::uint32_t noise = 2010;
            for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + kRun; ++i) {
                noise = noise * 1664525u + 1013904223u;
                // Mostly 0xFF (erased flash, a bad sector), with random bytes between.
                bytes[i] = std::uint8_t((noise >> 24) < 160 ? 0xFF : (noise >> 16) & 0xFF);
            }
            return WriteBytes(file, bytes);
        }
        case eDamage::WrongFormat: {
            std::vector<std::uint8_t> bytes = ReadBytes(otherFormat);
            return !bytes.empty() && WriteBytes(file, bytes);
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
