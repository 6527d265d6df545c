// Tests for the start-up report of the offline programs: after a run that is not quiet, where the
// wait before the first frame went, on lines of the program's module.
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(StartUpReport, ANonQuietRunSaysWhereTheStartUpWent) {
    const VantorGLTest::ScratchFolder out("startup");
    VantorGLTest::ProgramResult run = VantorGLTest::RunProgram(
        VantorGLTest::BuiltProgram("quenlite-capture"), {"--out", out.Path().string(), "--at", "0.1", "--size", "64x48"},
        QUENLITE_BINARY_DIR, {}, 120);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {"CAPTURE: start-up ", " ms from process start to the first frame\n", "CAPTURE:   before main ",
                             "scene set-up ", "CAPTURE:   CPU to the first frame: main thread "})
        EXPECT_NE(run.err.find(line), std::string::npos) << line << " missing from:\n" << run.err;
    // The report comes once the frames are made, before the summary of what was written.
    const std::size_t summary = run.err.find("CAPTURE: 1 frames in ");
    ASSERT_NE(summary, std::string::npos) << run.err;
    EXPECT_LT(run.err.find("CAPTURE: start-up "), summary);
}
