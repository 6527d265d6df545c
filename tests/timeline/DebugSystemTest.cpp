// Tests for cDebugSystem: the line format, gap-free numbering, truncation and a failed open.
#include "timeline/DebugSystem.h"

#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using VantorGL::cDebugSystem;

TEST(DebugSystem, FormatsNumbersAndTruncatesOnEveryOpen) {
    std::string path = "debugsystem-" + std::to_string(getpid()) + ".log";
    cDebugSystem* log = cDebugSystem::Instance();
    ASSERT_TRUE(log->Open(path.c_str()));
    int first = log->Count();
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
    std::remove(path.c_str());
}

TEST(DebugSystem, UnwritableFileLosesLinesQuietly) {
    cDebugSystem* log = cDebugSystem::Instance();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(log->Open("/nonexistent-folder/debug.log"));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("LOG: /nonexistent-folder/debug.log"), std::string::npos);
    log->Log("cDemoScene()", 42);  // goes nowhere, breaks nothing
    SUCCEED();
}
