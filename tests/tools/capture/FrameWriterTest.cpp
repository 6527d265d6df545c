// Tests for the capture tool's frame files: the PNG written after a frame holds exactly the
// frame drawn, top row first.
#include "capture/FrameWriter.h"

#include "support/GlTestContext.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <stdlib.h>
#include <vector>

namespace {

// A fresh folder of this test's own under the system temp folder, removed with what it holds.
struct OwnFolder {
    std::filesystem::path root;
    OwnFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "quenlite-frame-XXXXXX").string();
        if (::mkdtemp(name.data())) root = name;
    }
    ~OwnFolder() {
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }
    std::string Path(const std::string& name) const { return (root / name).string(); }
};

// An 8-bit RGB PNG's rows, top row first; empty when it is not one.
std::vector<std::uint8_t> ReadRgbPng(const std::string& path, int& width, int& height) {
    std::vector<std::uint8_t> rgb;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return rgb;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_read_info(png, info);
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB && png_get_bit_depth(png, info) == 8) {
            width = int(png_get_image_width(png, info));
            height = int(png_get_image_height(png, info));
            rgb.resize(std::size_t(width) * height * 3);
            for (int y = 0; y < height; ++y) png_read_row(png, &rgb[std::size_t(y) * width * 3], nullptr);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return rgb;
}

}  // namespace

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

    OwnFolder folder;
    FrameWriter writer;
    writer.Resize(64, 48);
    ASSERT_TRUE(writer.Write(folder.Path("frame.png")));
    int width = 0, height = 0;
    std::vector<std::uint8_t> png = ReadRgbPng(folder.Path("frame.png"), width, height);
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
