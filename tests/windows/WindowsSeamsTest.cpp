// Tests for what the Windows side of the platform seam does differently: the data folder is
// looked for in the working directory and beside the .exe only, the log falls back to
// %LOCALAPPDATA%\quenlite, faces come from the fonts Windows registers, and a font file opens
// under any path.
#include "assets/FontSystem.h"
#include "shell/Platform.h"
#include "shell/ProgramFolders.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// LOCALAPPDATA set for the guard's lifetime, and put back after.
class LocalAppData {
public:
    explicit LocalAppData(const std::wstring& value) {
        if (const wchar_t* before = _wgetenv(L"LOCALAPPDATA")) saved = before;
        _wputenv_s(L"LOCALAPPDATA", value.c_str());
    }
    ~LocalAppData() { _wputenv_s(L"LOCALAPPDATA", saved ? saved->c_str() : L""); }

private:
    std::optional<std::wstring> saved;
};

}  // namespace

TEST(WindowsSeams, LooksForDataInTheWorkingFolderThenBesideTheExe) {
    {
        VantorGLTest::WorkingFolder beside(VantorGL::RunningProgramFile().parent_path());
        EXPECT_EQ(VantorGL::DataFolderPlaces().size(), 1u) << "started beside itself, it looks there once";
    }
    VantorGLTest::ScratchWorkingFolder elsewhere("places");
    const std::vector<std::string> places = VantorGL::DataFolderPlaces();
    ASSERT_EQ(places.size(), 2u) << "no install prefix on Windows";
    EXPECT_TRUE(fs::equivalent(VantorGL::PathFromText(places[0]), fs::current_path()));
    EXPECT_TRUE(fs::equivalent(VantorGL::PathFromText(places[1]), VantorGL::RunningProgramFile().parent_path()));
}

// A folder named debug.log stands in the way: the log goes to %LOCALAPPDATA%\quenlite, made when
// missing, named on stderr; a folder name beyond ASCII reaches the system whole.
TEST(WindowsSeams, DebugLogGoesToLocalAppDataWhereTheWorkingFolderRefusesIt) {
    VantorGLTest::ScratchWorkingFolder scratch("logfallback");
    fs::create_directory(scratch.Path() / "debug.log");
    const fs::path appData = scratch.Path() / L"App Data \u00e6\u00f8\u00e5";
    LocalAppData local(appData.wstring());
    testing::internal::CaptureStderr();
    const std::string path = VantorGL::DebugLogPath();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fs::equivalent(VantorGL::PathFromText(path), appData / "quenlite" / "debug.log")) << path;
    EXPECT_EQ(said.rfind("LOG: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(path), std::string::npos) << said;
}

TEST(WindowsSeams, FacesComeFromTheRegisteredFontsWithArialStandingInForUnknownOnes) {
    std::string arial, unknown;
    int arialIndex = -1, unknownIndex = -1;
    ASSERT_TRUE(VantorGL::FindSystemFont("Arial", arial, arialIndex));
    ASSERT_TRUE(VantorGL::FindSystemFont("No Such Face Anywhere", unknown, unknownIndex));
    EXPECT_EQ(unknown, arial);
    EXPECT_EQ(unknownIndex, arialIndex);
    EXPECT_TRUE(fs::is_regular_file(VantorGL::PathFromText(arial))) << arial;
}

// A font file in a folder named beyond ASCII opens as itself, not as the fallback face: FreeType
// gets the file's bytes, never the path its own fopen would read in the narrow code page.
TEST(WindowsSeams, AFontFileUnderANonAsciiPathOpensAsItself) {
    std::string arial;
    int index = -1;
    ASSERT_TRUE(VantorGL::FindSystemFont("Arial", arial, index));
    VantorGLTest::ScratchFolder scratch("fontpath");
    const fs::path folder = scratch.Path() / L"Skrifter \u00e6\u00f8\u00e5";
    fs::create_directory(folder);
    fs::copy_file(VantorGL::PathFromText(arial), folder / L"f\u00f8nt.ttf");
    const std::string font = VantorGL::PathText(folder / L"f\u00f8nt.ttf");
    VantorGL::sFontSource source;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(VantorGL::ResolveFontSource(font, "No Such Face Anywhere", source));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "") << "the file did not open";
    EXPECT_TRUE(fs::equivalent(VantorGL::PathFromText(source.path), folder / L"f\u00f8nt.ttf")) << source.path;
}
