// Tests for cTextureSystem on a headless GL context: texture names, sizes, row order of the two
// routes (read back from the texture and from a drawn quad), wrap modes, and failed loads.
#include "assets/TextureSystem.h"

#include "support/GlTestContext.h"
#include "support/PictureWriter.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>

using namespace VantorGL;
using namespace VantorGLTest;
namespace fs = std::filesystem;

namespace {

using Rgba = std::array<int, 4>;

// Image `width` x `height`: top row `top`, every other row `rest` (RGBA, top row first).
std::vector<std::uint8_t> TopRowImage(int width, int height, Rgba top, Rgba rest) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c : y == 0 ? top : rest) rgba.push_back(std::uint8_t(c));
    return rgba;
}

std::vector<std::uint8_t> ToRgb(const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), rgba.begin() + i, rgba.begin() + i + 3);
    return rgb;
}

struct TextureImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // row 0 is t = 0
    Rgba At(int x, int row) const {
        const std::uint8_t* p = rgba.data() + (std::size_t(row) * width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

TextureImage ReadTexture(GLuint name) {
    TextureImage image;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.rgba.resize(std::size_t(image.width) * image.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    return image;
}

GLint TextureParameter(GLuint name, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

bool Near(Rgba a, Rgba b, int tolerance) {
    for (int i = 0; i < 4; ++i)
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    return true;
}

}  // namespace

class TextureSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(scratch.Path() / "data" / "Ter");
        // 5 x 3 images: red top row, green below. PNG, the same PNG behind an upper-case name,
        // and a JPEG (red top band 8 rows high so compression keeps it red).
        const auto image = TopRowImage(5, 3, {255, 0, 0, 255}, {0, 255, 0, 255});
        ASSERT_TRUE(WriteRgbaPng("data/Ter/rows.png", 5, 3, image));
        ASSERT_TRUE(WriteRgbaPng("data/rows.PNG", 5, 3, image));
        std::vector<std::uint8_t> jpeg = ToRgb(TopRowImage(40, 32, {255, 0, 0, 255}, {0, 255, 0, 255}));
        std::fill(jpeg.begin(), jpeg.begin() + 40 * 8 * 3, 0);
        for (std::size_t i = 0; i < 40 * 8; ++i) jpeg[i * 3] = 255;
        ASSERT_TRUE(WriteJpeg("data/rows.jpg", 40, 32, jpeg));
    }
    GlTestContext gl{64, 64};
    VantorGLTest::ScratchWorkingFolder scratch{"texsystem"};
};

TEST_F(TextureSystemTest, PngRouteUploadsTopRowFirstClampedAndLinear) {
    REQUIRE_GL(gl);
    cTextureSystem texture;
    EXPECT_EQ(texture.texture, 0u);
    glDisable(GL_TEXTURE_2D);
    texture.Load("Data\\ter\\ROWS.png");
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    ASSERT_NE(texture.texture, 0u);
    TextureImage image = ReadTexture(texture.texture);
    EXPECT_EQ(image.width, 8);  // 5 x 3 scaled up to 8 x 4
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.At(0, 0), (Rgba{255, 0, 0, 255}));  // t = 0: the image's top row
    EXPECT_EQ(image.At(7, 3), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureSystemTest, PictureRouteUploadsBottomRowFirstWithDefaultWrap) {
    REQUIRE_GL(gl);
    // The upper-case PNG takes the picture route: bottom row first, picture sizing (5 -> 4, 3 -> 4).
    cTextureSystem png;
    png.Load("data/rows.PNG");
    ASSERT_NE(png.texture, 0u);
    TextureImage image = ReadTexture(png.texture);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.At(0, 0), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(image.At(3, 3), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(TextureParameter(png.texture, GL_TEXTURE_WRAP_S), GL_REPEAT);

    cTextureSystem jpeg;
    EXPECT_TRUE(jpeg.LoadPicture("DATA\\rows.jpg"));
    ASSERT_NE(jpeg.texture, 0u);
    TextureImage photo = ReadTexture(jpeg.texture);
    EXPECT_EQ(photo.width, 32);
    EXPECT_EQ(photo.height, 32);
    EXPECT_TRUE(Near(photo.At(16, 0), {0, 255, 0, 255}, 40));
    EXPECT_TRUE(Near(photo.At(16, 31), {255, 0, 0, 255}, 40));
    EXPECT_EQ(TextureParameter(jpeg.texture, GL_TEXTURE_WRAP_T), GL_REPEAT);
}

// On screen, with t = 0 at the bottom of a full-viewport quad, the PNG shows its top row at the
// bottom and the JPEG shows its bottom row there: the two routes are upside down to each other.
TEST_F(TextureSystemTest, TheTwoRoutesDrawWithOppositeVerticalOrientation) {
    REQUIRE_GL(gl);
    cTextureSystem png, jpeg;
    png.Load("data/Ter/rows.png");
    jpeg.Load("data/rows.jpg");
    auto drawBottomRow = [&](cTextureSystem& texture) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        texture.BindWithClamp();
        glColor4f(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex2f(-1, -1);
        glTexCoord2f(1, 0), glVertex2f(1, -1);
        glTexCoord2f(1, 1), glVertex2f(1, 1);
        glTexCoord2f(0, 1), glVertex2f(-1, 1);
        glEnd();
        texture.Unbind();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        std::vector<std::uint8_t> pixels = gl.ReadPixels();  // bottom row first
        return Rgba{pixels[32 * 4], pixels[32 * 4 + 1], pixels[32 * 4 + 2], pixels[32 * 4 + 3]};
    };
    EXPECT_TRUE(Near(drawBottomRow(png), {255, 0, 0, 255}, 8));
    EXPECT_TRUE(Near(drawBottomRow(jpeg), {0, 255, 0, 255}, 40));
}

TEST_F(TextureSystemTest, EachLoadOfTheSameFileGetsItsOwnName) {
    REQUIRE_GL(gl);
    cTextureSystem a, b, c, d;
    a.Load("data/rows.jpg");
    b.Load("data\\rows.jpg");
    c.Load("data/Ter/rows.png");
    d.Load("data/Ter/rows.png");
    EXPECT_NE(a.texture, 0u);
    EXPECT_NE(c.texture, 0u);
    EXPECT_NE(a.texture, b.texture);
    EXPECT_NE(c.texture, d.texture);
}

TEST_F(TextureSystemTest, BindersSetTheWrapModeOnTheTextureItself) {
    REQUIRE_GL(gl);
    cTextureSystem texture;
    texture.Load("data/rows.jpg");
    texture.BindWithClamp();
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    texture.BindWithRepeat();
    texture.Unbind();
    texture.Bind();  // keeps what was set last
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), texture.texture);
    EXPECT_EQ(TextureParameter(texture.texture, GL_TEXTURE_WRAP_T), GL_REPEAT);
    texture.Unbind();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

// Failures: the PNG route stores 0, the picture route leaves the name alone; each says one line.
TEST_F(TextureSystemTest, FailedLoadsKeepTheirSilentResultAndSayOneLine) {
    REQUIRE_GL(gl);
    ASSERT_TRUE(WriteBytes("data/og2.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}));
    ASSERT_TRUE(WriteBytes("data/broken.jpg", {0xff, 0xd8, 0xff, 0xe0, 0, 16, 'J', 'F'}));
    fs::create_directories("data/folder.jpg");

    cTextureSystem png;
    png.texture = 77;
    testing::internal::CaptureStderr();
    png.Load("data\\og2.png");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(png.texture, 0u);
    EXPECT_EQ(said, "TEXTURE: data/og2.png: not a PNG file\n");

    cTextureSystem picture;
    picture.Load("data/rows.jpg");
    const GLuint before = picture.texture;
    ASSERT_NE(before, 0u);
    for (const char* path : {"data/broken.jpg", "data/missing.jpg", "data/folder.jpg", "http://example.org/a.jpg"}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(picture.LoadPicture(path));
        picture.Load(path);
        said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(picture.texture, before) << path;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;  // one line per attempt
        EXPECT_EQ(said.rfind("TEXTURE: ", 0), 0u) << said;
        EXPECT_NE(said.find(std::string(path).substr(5)), std::string::npos) << said;
    }
    cTextureSystem fresh;
    testing::internal::CaptureStderr();
    fresh.Load("data/missing.jpg");
    fresh.Load(nullptr);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fresh.texture, 0u);
    EXPECT_NE(said.find("TEXTURE: data/missing.jpg: no such file"), std::string::npos);

    // A picture decoded ahead (the registry's worker threads) ends the same way: the decoder's
    // reason in one line, and one line too for pixels that do not fit their texture size.
    cDecodedPicture odd;
    odd.route = eTextureRoute::Png;
    odd.textureWidth = odd.textureHeight = 4;
    png.texture = 77;
    testing::internal::CaptureStderr();
    png.LoadDecoded("data\\og2.png", false, odd, "not a PNG file");
    png.LoadDecoded("data/Ter/rows.png", true, odd, "");
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(png.texture, 0u);
    EXPECT_EQ(said, "TEXTURE: data/og2.png: not a PNG file\n"
                    "TEXTURE: data/Ter/rows.png: decoded pixels do not match the texture size\n");
}
