// Tests for ProgramFolders: the data folder is found in the working directory, beside the
// program, or in the installed share folder, in that order; the log falls back to the user's
// state folder where the working directory cannot take it.
#include "shell/ProgramFolders.h"

#include "support/ProcessState.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using VantorGLTest::EnvironmentVariable;
using VantorGLTest::ScratchFolder;
using VantorGLTest::WorkingFolder;

namespace {

// Three places of a scratch folder, as DataFolderPlaces would give them.
struct Places {
    ScratchFolder scratch{"datafolder"};
    std::vector<std::string> list;
    Places() {
        for (const char* name : {"work", "beside", "share"}) {
            fs::create_directories(scratch.Path() / name);
            list.push_back(scratch.Path(name));
        }
    }
    void GiveData(int place, const char* data = "data", const char* general = "General") {
        fs::create_directories(fs::path(list[place]) / data / general);
    }
};

}  // namespace

TEST(ProgramFolders, FindsTheDataFolderInItsOrderOfPlaces) {
    Places places;
    EXPECT_EQ(VantorGL::FindDataFolder(places.list), "") << "no place holds one yet";

    // A "data" folder of something else is passed over; the loaders' case folding counts.
    places.GiveData(0, "data", "Pictures");
    places.GiveData(2, "Data", "general");
    EXPECT_EQ(VantorGL::FindDataFolder(places.list), places.list[2]);
    places.GiveData(1);
    EXPECT_EQ(VantorGL::FindDataFolder(places.list), places.list[1]);
    places.GiveData(0);
    EXPECT_EQ(VantorGL::FindDataFolder(places.list), places.list[0]);
}

TEST(ProgramFolders, EntersTheFirstPlaceOrStaysAndSaysWhereItLooked) {
    Places places;
    WorkingFolder started(places.list[0]);
    places.GiveData(1);
    places.GiveData(2);
    EXPECT_TRUE(VantorGL::EnterDataFolder("APP", places.list));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), places.list[1]));

    fs::remove_all(fs::path(places.list[1]) / "data");
    fs::remove_all(fs::path(places.list[2]) / "data");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(VantorGL::EnterDataFolder("APP", places.list));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fs::equivalent(fs::current_path(), places.list[1])) << "a failed search moved the program";
    EXPECT_EQ(said.rfind("APP: no data folder", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    for (const std::string& place : places.list) EXPECT_NE(said.find(place), std::string::npos) << said;
}

TEST(ProgramFolders, LooksInTheWorkingDirectoryThenBesideTheProgramThenTheShareFolder) {
    {
        WorkingFolder beside(QUENLITE_BINARY_DIR);
        EXPECT_EQ(VantorGL::DataFolderPlaces().size(), 2u) << "started in its own folder, it looks there once";
    }
    VantorGLTest::ScratchWorkingFolder elsewhere("places");
    const std::vector<std::string> places = VantorGL::DataFolderPlaces();
    ASSERT_EQ(places.size(), 3u);
    EXPECT_TRUE(fs::equivalent(places[0], fs::current_path()));
    EXPECT_TRUE(fs::equivalent(places[1], QUENLITE_BINARY_DIR)) << "the test program lives in the build folder";
    EXPECT_TRUE(fs::path(places[2]).is_absolute());
    EXPECT_EQ(fs::path(places[2]).filename(), "quenlite");
}

TEST(ProgramFolders, DebugLogStaysInAWritableWorkingDirectory) {
    VantorGLTest::ScratchWorkingFolder scratch("logplace");
    testing::internal::CaptureStderr();
    EXPECT_EQ(VantorGL::DebugLogPath(), "debug.log");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A folder named debug.log stands in the way (root can write anywhere else): the log goes to
// $XDG_STATE_HOME/quenlite, or without it (or with a relative one) to ~/.local/state/quenlite.
TEST(ProgramFolders, DebugLogGoesToTheStateFolderWhereTheWorkingDirectoryRefusesIt) {
    VantorGLTest::ScratchWorkingFolder scratch("logfallback");
    fs::create_directory(scratch.Path() / "debug.log");
    const std::string homeFolder = (scratch.Path() / "home").string();
    const std::string stateFolder = (scratch.Path() / "state").string();
    EnvironmentVariable home("HOME", homeFolder.c_str());
    const struct {
        const char* state;
        fs::path expected;
    } cases[] = {
        {stateFolder.c_str(), scratch.Path() / "state" / "quenlite" / "debug.log"},
        {nullptr, scratch.Path() / "home" / ".local" / "state" / "quenlite" / "debug.log"},
        {"relative/state", scratch.Path() / "home" / ".local" / "state" / "quenlite" / "debug.log"},
    };
    for (const auto& each : cases) {
        EnvironmentVariable state("XDG_STATE_HOME", each.state);
        testing::internal::CaptureStderr();
        const std::string path = VantorGL::DebugLogPath();
        const std::string said = testing::internal::GetCapturedStderr();
        const std::string context = each.state ? each.state : "(no XDG_STATE_HOME)";
        EXPECT_EQ(path, each.expected.string()) << context;
        EXPECT_TRUE(fs::is_regular_file(each.expected)) << context << ": the folder was not made";
        EXPECT_EQ(said.rfind("LOG: ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
    }
}
