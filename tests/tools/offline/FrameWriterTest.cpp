// Tests for the capture tool's frame files: the PNG written after a frame holds exactly the
// frame drawn, top row first.
#include "offline/FrameWriter.h"

#include "support/GlTestContext.h"
#include "support/RgbPngReader.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

TEST(CaptureFrames, APngIsTheFrameDrawnTopRowFirst) {
    VantorGLTest::GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    // Every row and column its own colour: red counts rows from the top of the window, green
    // columns from the left, so a flip or a shift shows.
    glEnable(GL_SCISSOR_TEST);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; x += 8) {
            glScissor(x, 47 - y, 8, 1);
            glClearColor(float(y * 5) / 255.0f, float(x * 3) / 255.0f, 0.5f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    glDisable(GL_SCISSOR_TEST);
    std::vector<std::uint8_t> drawn = gl.ReadPixels();  // RGBA, bottom row first

    VantorGLTest::ScratchFolder folder("frame");
    FrameWriter writer;
    writer.Resize(64, 48);
    ASSERT_TRUE(writer.Write(folder.Path("frame.png")));
    int width = 0, height = 0;
    std::vector<std::uint8_t> png = VantorGLTest::ReadRgbPng(folder.Path("frame.png"), width, height);
    ASSERT_EQ(width, 64);
    ASSERT_EQ(height, 48);
    EXPECT_EQ(png[0], 0) << "the PNG's first row is not the window's top row";
    EXPECT_EQ(png[std::size_t(47) * 64 * 3], 47 * 5);
    int differing = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            for (int c = 0; c < 3; ++c)
                differing += png[(std::size_t(y) * 64 + x) * 3 + c] != drawn[(std::size_t(47 - y) * 64 + x) * 4 + c];
    EXPECT_EQ(differing, 0);
}
