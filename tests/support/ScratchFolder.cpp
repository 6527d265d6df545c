// ScratchFolder: temporary folders for the tests, made with mkdtemp and removed whole.
#include "support/ScratchFolder.h"

#include "support/GeneratedData.h"

#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace VantorGLTest {

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
