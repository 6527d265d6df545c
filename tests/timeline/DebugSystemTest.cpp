// Tests for cDebugSystem: the line format, gap-free numbering, truncation and a failed open.
#include "timeline/DebugSystem.h"

#include "support/FileBytes.h"
#include "support/ProcessState.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using VantorGL::cDebugSystem;

TEST(DebugSystem, FormatsNumbersAndTruncatesOnEveryOpen) {
    VantorGLTest::ScratchFolder folder("debuglog");
    const std::string path = folder.Path("debug.log");
    cDebugSystem* log = cDebugSystem::Instance();
    const VantorGLTest::DebugLogInto opened(path);
    const int first = log->Count();  // the opening line's number
    ASSERT_EQ(VantorGLTest::ReadText(path).rfind("[" + std::to_string(first) + "](cDebugSystem) Opening ", 0), 0u);
    log->Log("cDemoScene", "Dette er ifra Init(void)");
    log->Log("cDemoScene()", 0);
    log->Log("cOrembyCityScene", 0.25f);
    log->Log("cOrembyCityScene", 0.03125f);
    std::ostringstream expected;
    expected << "[" << first << "](cDebugSystem) Opening " << path << "\n\n"
             << "[" << first + 1 << "](cDemoScene) Dette er ifra Init(void)\n"
             << "[" << first + 2 << "](cDemoScene()) 0\n"
             << "[" << first + 3 << "](cOrembyCityScene) 0.250000\n"
             << "[" << first + 4 << "](cOrembyCityScene) 0.031250\n";
    EXPECT_EQ(VantorGLTest::ReadText(path), expected.str());  // flushed per line: readable while open

    // A second open overwrites the file from its first line; the count goes on.
    ASSERT_TRUE(log->Open(path.c_str()));
    std::ostringstream reopened;
    reopened << "[" << first + 5 << "](cDebugSystem) Opening " << path << "\n\n";
    EXPECT_EQ(VantorGLTest::ReadText(path), reopened.str());

    // Closed, the file keeps what it has; later lines are counted and go nowhere.
    log->Close();
    log->Log("cDemoScene()", 1);
    EXPECT_EQ(log->Count(), first + 6);
    EXPECT_EQ(VantorGLTest::ReadText(path), reopened.str());
}

TEST(DebugSystem, UnwritableFileLosesLinesQuietly) {
    cDebugSystem* log = cDebugSystem::Instance();
    testing::internal::CaptureStderr();
    const VantorGLTest::DebugLogInto nowhere("/nonexistent-folder/debug.log");
    const int before = log->Count();
    log->Log("cDemoScene()", 42);  // goes nowhere, says nothing more, and is still counted
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("LOG: /nonexistent-folder/debug.log", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(log->Count(), before + 1);
}
