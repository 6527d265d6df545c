// ScratchFolder: the one temporary folder of the tests: fresh and empty when made, removed with
// everything in it (unreadable entries included) when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace VantorGLTest {

class ScratchFolder {
public:
    // Makes a new folder "quenlite-<tag>-XXXXXX" under the system temp folder (a unique name, so
    // parallel test processes never share one). Path() is empty when it could not be made.
    explicit ScratchFolder(const std::string& tag);
    // Makes every entry writable again (a test may have chmod-ed one to 000), then removes all.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // The path of `name` inside the folder, as a string for the loaders' char* interfaces.
    std::string Path(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

// The working directory moved to `folder` while the object lives, and back when it goes (an
// early ASSERT return included). Folders that cannot be entered leave it where it was.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder);
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous;
};

// A ScratchFolder that is also the working directory while it lives, for the loaders that open
// design paths ("data/Ter/ray3.3ds") relative to it. The previous working directory comes back
// before the folder goes.
class ScratchWorkingFolder {
public:
    explicit ScratchWorkingFolder(const std::string& tag);
    ScratchWorkingFolder(const ScratchWorkingFolder&) = delete;
    ScratchWorkingFolder& operator=(const ScratchWorkingFolder&) = delete;

    const std::filesystem::path& Path() const { return folder.Path(); }

private:
    ScratchFolder folder;
    WorkingFolder inside;
};

// A ScratchFolder holding a link named "data" to the source tree's generated data folder: a
// program started in it plays the demo's data and writes what it writes unasked (its debug.log)
// into the scratch folder, never into the source tree, whichever folder the tests started in.
class DataHome {
public:
    explicit DataHome(const std::string& tag);
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

    const std::filesystem::path& Path() const { return folder.Path(); }

private:
    ScratchFolder folder;
};

}  // namespace VantorGLTest
