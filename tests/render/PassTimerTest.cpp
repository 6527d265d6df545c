// Tests for the pass timer: off it records nothing and makes no GL call; on, a frame's passes come
// back by name in order, nested ones folded into their outer pass, and the ones beyond its room
// counted instead of timed.
#include "render/PassTimer.h"
#include "render/Primitives.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cstring>

using VantorGL::cPassTimer;
using VantorGL::cTimedPass;
using VantorGLTest::GlTestContext;

TEST(PassTimer, OffOrOutsideAFrameRecordsNothing) {
    // No context at all: a marker of a timer never enabled must not reach GL.
    cPassTimer timer;
    timer.BeginFrame();
    { cTimedPass pass(timer, "content"); }
    EXPECT_EQ(timer.Collect(), 0);
    EXPECT_FALSE(timer.Enabled());

    GlTestContext gl;
    REQUIRE_GL(gl);
    ASSERT_TRUE(timer.Enable());
    { cTimedPass pass(timer, "content"); }  // enabled, but no frame is open
    EXPECT_EQ(timer.Collect(), 0);
    timer.Release();
    EXPECT_FALSE(timer.Enabled());
}

TEST(PassTimer, NamesPassesInOrderFoldsNestedOnesAndCountsOverflow) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cPassTimer timer;
    ASSERT_TRUE(timer.Enable());

    timer.BeginFrame();
    timer.EndPass();  // nothing open: ignored
    {
        cTimedPass outer(timer, "present");
        glClear(GL_COLOR_BUFFER_BIT);
        cTimedPass inner(timer, "overlays");  // folded into "present"
        VantorGL::DrawScreenQuad();
    }
    timer.BeginPass("sequencer overlay");  // left open: Collect closes it
    glFinish();
    ASSERT_EQ(timer.Collect(), 2);
    EXPECT_STREQ(timer.Name(0), "present");
    EXPECT_STREQ(timer.Name(1), "sequencer overlay");
    // The pass that cleared and drew took time, in milliseconds (a 64 x 48 clear is far below a
    // second; a count of nanoseconds would not be); the empty one took no negative time.
    EXPECT_GT(timer.Milliseconds(0), 0.0);
    EXPECT_LT(timer.Milliseconds(0), 1000.0);
    EXPECT_GE(timer.Milliseconds(1), 0.0);
    EXPECT_LT(timer.Milliseconds(1), 1000.0);
    EXPECT_EQ(timer.Dropped(), 0);

    // The next frame starts empty, and passes past the room are counted, not timed.
    timer.BeginFrame();
    for (int i = 0; i < cPassTimer::kMaxPasses + 3; ++i) cTimedPass pass(timer, "blur");
    glFinish();
    EXPECT_EQ(timer.Collect(), cPassTimer::kMaxPasses);
    EXPECT_EQ(timer.Dropped(), 3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    timer.Release();
}
