// Tests for cShaderSystem: a derived program compiles, links and draws; a broken one names its
// class on stderr and leaves the fixed-function pipeline drawing; the fallback removes red.
#include "render/ShaderSystem.h"

#include "render/Primitives.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

using VantorGL::cShaderSystem;
using VantorGLTest::GlTestContext;

namespace {

// A small program in the shape every shader class has: sources, class name, uniform look-up
// after linking, Bind/Unbind through the base's helpers.
class cTintTestShader : public cShaderSystem {
public:
    cTintTestShader() : cShaderSystem("cTintTestShader", kVertex, kFragment) {}
    bool InitFragmentShader() override {
        if (!cShaderSystem::InitFragmentShader()) return false;
        tintLocation = UniformLocation("Tint");
        missingLocation = UniformLocation("Tangent");  // an attribute name, not a uniform
        return true;
    }
    void SetTint(float r, float g, float b) { tint[0] = r, tint[1] = g, tint[2] = b; }
    void Bind() {
        UseProgram();
        SetUniform3f(tintLocation, tint[0], tint[1], tint[2]);
        SetUniform1f(missingLocation, 1.0f);  // -1: a no-op
    }
    void Unbind() { DisableProgram(); }

    GLint tintLocation = -2;
    GLint missingLocation = -2;

private:
    float tint[3] = {0.0f, 0.0f, 0.0f};
    static constexpr const char* kVertex =
        "#version 120\n"
        "attribute vec3 Tangent;\n"
        "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n";
    static constexpr const char* kFragment =
        "#version 120\n"
        "uniform vec3 Tint;\n"
        "void main() { gl_FragColor = vec4(Tint, 1.0); }\n";
};

class cBrokenTestShader : public cShaderSystem {
public:
    cBrokenTestShader() : cShaderSystem("cBrokenTestShader", nullptr, "#version 120\nvoid main() { oops }\n") {}
};

// Overrides only the vertex stage: the fragment stage is the base's fallback.
class cVertexOnlyTestShader : public cShaderSystem {
public:
    cVertexOnlyTestShader()
        : cShaderSystem("cVertexOnlyTestShader",
                        "#version 120\nvarying vec4 color;\n"
                        "void main() { gl_Position = ftransform(); color = gl_Color; }\n",
                        nullptr) {}
};

// Draws the full-screen quad at the demo's placement and returns the centre pixel.
std::array<int, 4> DrawQuadAndReadCentre(GlTestContext& gl) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, VantorGL::kScreenQuadDistance);
    glScalef(VantorGL::kScreenQuadScaleX, VantorGL::kScreenQuadScaleY, 0.0f);
    VantorGL::DrawScreenQuad();
    const auto pixels = gl.ReadPixels();
    const std::size_t at = (std::size_t(gl.Height() / 2) * gl.Width() + gl.Width() / 2) * 4;
    return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

}  // namespace

TEST(ShaderSystem, DerivedProgramCompilesLinksAndDraws) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cTintTestShader shader;
    ASSERT_TRUE(shader.InitProgramObject());
    ASSERT_TRUE(shader.InitVertexShader());
    ASSERT_TRUE(shader.InitFragmentShader());
    EXPECT_TRUE(shader.Validate());
    EXPECT_TRUE(shader.IsLinked());
    EXPECT_GE(shader.tintLocation, 0);
    EXPECT_EQ(shader.missingLocation, -1);

    shader.SetTint(1.0f, 0.5f, 0.0f);
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    shader.Bind();
    const auto lit = DrawQuadAndReadCentre(gl);
    shader.Unbind();
    EXPECT_EQ(lit[0], 255);
    EXPECT_NEAR(lit[1], 128, 1);
    EXPECT_EQ(lit[2], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    const auto plain = DrawQuadAndReadCentre(gl);  // unbound: fixed function, blue
    EXPECT_EQ(plain[2], 255);
    EXPECT_EQ(plain[0], 0);
}

TEST(ShaderSystem, BrokenProgramNamesItsClassAndFallsBackToFixedFunction) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    cBrokenTestShader shader;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(shader.InitProgramObject());
    EXPECT_TRUE(shader.InitVertexShader());  // the fallback vertex stage is fine
    EXPECT_FALSE(shader.InitFragmentShader());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SHADER: cBrokenTestShader: fragment shader does not compile"), std::string::npos) << err;
    EXPECT_FALSE(shader.IsLinked());

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glUseProgramObjectARB(shader.Program());  // refused: not linked
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    const auto pixel = DrawQuadAndReadCentre(gl);
    shader.DisableProgram();
    EXPECT_EQ(pixel[0], 255);  // drawn white by the fixed-function pipeline
    EXPECT_EQ(pixel[1], 255);
}

TEST(ShaderSystem, FallbackFragmentStageRemovesRed) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    for (int variant = 0; variant < 2; ++variant) {
        cShaderSystem base;
        cVertexOnlyTestShader vertexOnly;
        cShaderSystem& shader = variant == 0 ? base : static_cast<cShaderSystem&>(vertexOnly);
        ASSERT_TRUE(shader.InitProgramObject());
        ASSERT_TRUE(shader.InitVertexShader());
        ASSERT_TRUE(shader.InitFragmentShader()) << shader.ClassName();
        glUseProgramObjectARB(shader.Program());
        glColor4f(1.0f, 1.0f, 0.5f, 1.0f);
        const auto pixel = DrawQuadAndReadCentre(gl);
        shader.DisableProgram();
        EXPECT_EQ(pixel[0], 0) << shader.ClassName();
        EXPECT_EQ(pixel[1], 255);
        EXPECT_NEAR(pixel[2], 128, 1);
    }
}

TEST(ShaderSystem, WithoutAContextEverythingIsSkippedAndSaidOnce) {
    const VantorGLTest::NoCurrentContext none;  // another test's context may still be current
    cShaderSystem::ForgetMissingReport();       // an earlier test may have heard it already
    cTintTestShader shader;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shader.InitProgramObject());
    EXPECT_FALSE(shader.InitVertexShader());
    EXPECT_FALSE(shader.InitFragmentShader());
    shader.Bind();
    shader.Unbind();
    cTintTestShader another;
    EXPECT_FALSE(another.InitProgramObject());
    const std::string err = testing::internal::GetCapturedStderr();
    // Said once, naming the first class that asked, however many ask.
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("SHADER: cTintTestShader: no GL_ARB_shader_objects", 0), 0u) << err;
    EXPECT_EQ(shader.Program(), 0u);
}
