// Tests for the debug build's GL error report: one line per distinct code, a few at most.
#include "shell/GlErrorReport.h"

#include <gtest/gtest.h>

#include <string>

TEST(GlErrorReport, SaysEachCodeOnceAndStopsAfterAFew) {
    VantorGL::cGlErrorReport report;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(report.Note(0, 10));  // GL_NO_ERROR says nothing
    EXPECT_TRUE(report.Note(0x0502, 12345));
    EXPECT_FALSE(report.Note(0x0502, 12378));  // the same fault every frame: said once
    EXPECT_TRUE(report.Note(0x0500, 20000));
    EXPECT_TRUE(report.Note(0x0501, 20001));
    EXPECT_TRUE(report.Note(0x0505, 20002));
    EXPECT_FALSE(report.Note(0x0506, 20003));  // over the limit
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(report.Lines(), VantorGL::cGlErrorReport::kMaxLines);
    EXPECT_EQ(said.find("GL: error 0x0502 at demo time 12345 ms\n"), 0u) << said;
    EXPECT_EQ(said.find("0x0506"), std::string::npos);
    EXPECT_EQ(said.find("12378"), std::string::npos);
}
