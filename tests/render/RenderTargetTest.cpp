// Tests for the render targets: a 2D target captures and presents, each cube face captures,
// and a driver without framebuffer objects gets the message and exit code 99.
#include "render/CubeMapping.h"
#include "render/FatalError.h"
#include "render/Primitives.h"
#include "render/RenderTextureSystem.h"
#include "support/FatalRecorder.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using VantorGL::cCubeMapping;
using VantorGL::cRenderTextureSystem;
using VantorGLTest::GlTestContext;

namespace {

// The capture frame every scene uses, clearing to one colour.
void CaptureClear(cRenderTextureSystem& target, float r, float g, float b) {
    target.BeginCapture();
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, target.width, target.height);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    target.StopCapture();
    glPopAttrib();
}

}  // namespace

TEST(RenderTarget, CapturesAClearColourAndPresentsIt) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cRenderTextureSystem target;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(target.Create(VantorGL::kRenderTargetWidth, VantorGL::kRenderTargetHeight, 1));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // complete: nothing to say
    EXPECT_EQ(target.width, 1024);
    EXPECT_EQ(target.height, 768);
    EXPECT_NE(target.texture, 0u);
    EXPECT_NE(target.framebuffer, 0u);

    CaptureClear(target, 0.25f, 0.5f, 0.75f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], gl.Width());  // the window viewport is back
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);

    // The colour texture holds the clear colour (half floats, read as floats).
    target.BindTexture();
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(internal, GL_RGBA16F_ARB);
    std::vector<float> texels(std::size_t(target.width) * target.height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
    for (std::size_t at : {std::size_t(0), texels.size() / 2, texels.size() - 4}) {
        EXPECT_FLOAT_EQ(texels[at], 0.25f);
        EXPECT_FLOAT_EQ(texels[at + 1], 0.5f);
        EXPECT_FLOAT_EQ(texels[at + 2], 0.75f);
    }

    // Present it on the screen quad: the whole window takes the colour.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, VantorGL::kScreenQuadDistance);
    glScalef(VantorGL::kScreenQuadScaleX, VantorGL::kScreenQuadScaleY, 0.0f);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    VantorGL::DrawScreenQuad();
    target.UnbindTexture();
    glDisable(GL_TEXTURE_2D);
    const auto pixels = gl.ReadPixels();
    EXPECT_NEAR(pixels[0], 64, 1);
    EXPECT_NEAR(pixels[1], 128, 1);
    EXPECT_NEAR(pixels[2], 191, 1);
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(texture, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(RenderTarget, FilterChoosesNearestLinearOrTheDefault) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    const GLint expected[3] = {GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_LINEAR};
    for (int filter = 0; filter < 3; ++filter) {
        cRenderTextureSystem target;
        ASSERT_TRUE(target.Create(64, 32, filter));
        target.BindTexture();
        GLint minFilter = 0, mipmaps = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &mipmaps);
        target.UnbindTexture();
        EXPECT_EQ(minFilter, expected[filter]) << "filter " << filter;
        EXPECT_EQ(mipmaps, GL_TRUE);
    }
}


// The depth copy takes memory only once a copy is asked for, and then holds the depth drawn.
TEST(RenderTarget, DepthCopyGetsItsStorageAtTheFirstCopy) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cRenderTextureSystem target;
    ASSERT_TRUE(target.Create(64, 32, 1));
    ASSERT_NE(target.depthTexture, 0u);
    auto storedWidth = [&] {
        GLint stored = -1;
        target.BindDepthTexture();
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &stored);
        target.UnbindTexture();
        return stored;
    };
    EXPECT_EQ(storedWidth(), 0);

    target.BeginCapture();
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    target.CopyDepth();
    target.CopyDepth();  // a second copy reuses the storage
    target.StopCapture();
    glClearDepth(1.0);
    EXPECT_EQ(storedWidth(), 64);
    std::vector<float> depth(64 * 32);
    target.BindDepthTexture();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    target.UnbindTexture();
    EXPECT_NEAR(depth.front(), 0.25f, 1e-3f);
    EXPECT_NEAR(depth.back(), 0.25f, 1e-3f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
TEST(CubeMapping, EachFaceCapturesItsOwnColour) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cCubeMapping cube;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(cube.CreateCube(64, 64));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    cube.BeginCapture();
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, cube.width, cube.height);
    for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face) {
        const int n = int(face - GL_TEXTURE_CUBE_MAP_POSITIVE_X);
        cube.SelectFace(face);
        glClearColor(n / 5.0f, 1.0f - n / 5.0f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glPopAttrib();
    cube.StopCapture();

    cube.BindTexture();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    std::vector<unsigned char> texels(64 * 64 * 3);
    for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face) {
        const int n = int(face - GL_TEXTURE_CUBE_MAP_POSITIVE_X);
        glGetTexImage(face, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_NEAR(texels[0], n * 51, 1) << "face " << n;
        EXPECT_NEAR(texels[1], 255 - n * 51, 1) << "face " << n;
        EXPECT_NEAR(texels[texels.size() - 1], 128, 1) << "face " << n;
    }
    cube.UnbindTexture();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Glass drawn into the cube refracts the cube ShowFacesDrawnSoFar returns: this frame's picture
// so far in all six faces, scaled down (never the last frame's, never the cube being drawn);
// the capture still ends with the whole picture in every face of the cube itself.
TEST(CubeMapping, GlassInTheCubeSeesThisFramesPictureSoFar) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cCubeMapping cube;
    ASSERT_TRUE(cube.CreateCube(2 * VantorGL::kGlassViewSize, 2 * VantorGL::kGlassViewSize));
    auto redOfEachFace = [](GLuint name) {
        glEnable(GL_TEXTURE_CUBE_MAP);
        glBindTexture(GL_TEXTURE_CUBE_MAP, name);
        GLint size = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_WIDTH, &size);
        std::vector<unsigned char> texels(std::size_t(size) * size * 3);
        std::vector<int> reds;
        for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face) {
            glGetTexImage(face, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
            reds.push_back(texels[texels.size() - 3]);
        }
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        glDisable(GL_TEXTURE_CUBE_MAP);
        return reds;
    };
    auto clearTo = [](float red) {
        glClearColor(red, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    cube.CaptureOneViewIntoAllFaces([&] { clearTo(0.2f); });  // last frame
    GLuint glass = 0;
    std::vector<int> seenByGlass;
    cube.CaptureOneViewIntoAllFaces([&] {
        clearTo(0.6f);  // this frame's surroundings
        glass = cube.ShowFacesDrawnSoFar();
        seenByGlass = redOfEachFace(glass);
        clearTo(1.0f);  // the glass
    });
    EXPECT_NE(glass, cube.texture);
    EXPECT_EQ(seenByGlass, std::vector<int>(6, 153));
    EXPECT_EQ(redOfEachFace(cube.texture), std::vector<int>(6, 255));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(RenderTarget, WithoutFramebufferObjectsTheRunEndsWithCode99) {
    VantorGLTest::NoCurrentContext none;  // no context at all: the extension is not there
    VantorGLTest::FatalRecorder fatal;
    cRenderTextureSystem target;
    EXPECT_FALSE(target.Create(1024, 768, 1));
    EXPECT_EQ(fatal.Last().exitCode, 99);
    EXPECT_EQ(fatal.Last().caption, "Error");
    EXPECT_EQ(fatal.Last().text, "GL_EXT_framebuffer_object NOT supported . Upgrade your gfx motha fucka");
    EXPECT_EQ(target.framebuffer, 0u);
    cCubeMapping cube;
    fatal.Clear();
    EXPECT_FALSE(cube.CreateCube(1024, 1024));
    EXPECT_EQ(fatal.Last().exitCode, 99);
}

TEST(RenderTargetDeathTest, DefaultHandlerSaysItOnStderrAndExits99) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            cRenderTextureSystem target;
            target.Create(1024, 768, 1);
        },
        testing::ExitedWithCode(99), "TARGET: GL_EXT_framebuffer_object NOT supported");
}
