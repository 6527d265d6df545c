// Helpers of the shader tests: build a program with its stderr captured, make small textures,
// draw a quad over the whole viewport, read uniforms and texture-unit state back.
#pragma once

#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VantorGLTest {

// Runs InitProgramObject, InitVertexShader and then `finish` (InitFragmentShader or InitMap)
// with stderr captured; returns the captured text (compile and link logs name the class).
template <class Shader, class Finish>
std::string BuildCaptured(Shader& shader, Finish finish) {
    testing::internal::CaptureStderr();
    shader.InitProgramObject();
    shader.InitVertexShader();
    finish(shader);
    return testing::internal::GetCapturedStderr();
}

template <class Shader>
std::string BuildCaptured(Shader& shader) {
    return BuildCaptured(shader, [](Shader& s) { s.InitFragmentShader(); });
}

// A w x h RGBA texture with nearest filtering and clamped edges (texel centres are sampled
// exactly by a quad drawn over a viewport of the same size).
GLuint MakeTexture(int w, int h, const std::vector<std::uint8_t>& rgba);
// A w x h texture of one colour.
GLuint MakeSolidTexture(int w, int h, std::array<std::uint8_t, 4> rgba);
// A 4 x 4 cube map whose six faces have one colour.
GLuint MakeSolidCubeMap(std::array<std::uint8_t, 4> rgba);

// Identity projection and model-view, then one quad over the whole viewport with texture
// coordinates 0..1 at z (-1..1 in clip space).
void DrawViewportQuad(float z = 0.0f);

// Uniform values of the program in use, by name.
std::vector<float> UniformFloats(GLhandleARB program, const char* name, int count);
int UniformInt(GLhandleARB program, const char* name);
// GL_TEXTURE_BINDING_2D (or the cube binding) of one unit; leaves that unit active.
GLint BoundTexture(int unit, GLenum binding = GL_TEXTURE_BINDING_2D);
GLint ActiveUnit();

// RGBA of one pixel of the back buffer (x, y from the bottom left).
std::array<int, 4> PixelAt(const GlTestContext& ctx, int x, int y);

}  // namespace VantorGLTest
