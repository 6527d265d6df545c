// ScratchFolder: temporary folders for the tests, made under a fresh random name (as mkdtemp
// does, on every system) and removed whole.
#include "support/ScratchFolder.h"

#include "support/GeneratedData.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace fs = std::filesystem;

namespace VantorGLTest {

ScratchFolder::ScratchFolder(const std::string& tag) {
    // create_directory fails on a name that exists, so parallel test processes never share one.
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error) return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "quenlite-" + tag + "-";
        for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
        if (fs::create_directory(temp / name, error)) {
            path = temp / name;
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (path.empty()) return;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        // A link is removed as a link: making its target writable would touch what it points at
        // (the generated data, for a data home).
        if (it->is_symlink(ignored)) continue;
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path, ignored);
}

WorkingFolder::WorkingFolder(const fs::path& folder) : previous(fs::current_path()) {
    std::error_code ignored;
    fs::current_path(folder, ignored);
}

WorkingFolder::~WorkingFolder() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
}

ScratchWorkingFolder::ScratchWorkingFolder(const std::string& tag) : folder(tag), inside(folder.Path()) {}

DataHome::DataHome(const std::string& tag) : folder(tag) {
    if (folder.Path().empty()) return;
    std::error_code error;
    fs::create_directory_symlink(GeneratedData(), folder.Path() / "data", error);
    if (error) std::fprintf(stderr, "TEST: cannot link the data folder into %s: %s\n", folder.Path().c_str(), error.message().c_str());
}

}  // namespace VantorGLTest
