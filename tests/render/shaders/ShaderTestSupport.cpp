// Helpers of the shader tests: small textures, a viewport quad, uniform and unit read-back.
#include "render/shaders/ShaderTestSupport.h"

namespace VantorGLTest {

static void NearestClamp(GLenum target) {
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

GLuint MakeTexture(int w, int h, const std::vector<std::uint8_t>& rgba) {
    GLuint name = 0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    NearestClamp(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

GLuint MakeSolidTexture(int w, int h, std::array<std::uint8_t, 4> rgba) {
    std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = rgba[i % 4];
    return MakeTexture(w, h, pixels);
}

GLuint MakeSolidCubeMap(std::array<std::uint8_t, 4> rgba) {
    std::vector<std::uint8_t> pixels(4 * 4 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = rgba[i % 4];
    GLuint name = 0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_CUBE_MAP, name);
    NearestClamp(GL_TEXTURE_CUBE_MAP);
    for (int face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA8, 4, 4, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return name;
}

void DrawViewportQuad(float z) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(-1.0f, -1.0f, z);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(1.0f, -1.0f, z);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(1.0f, 1.0f, z);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-1.0f, 1.0f, z);
    glEnd();
}

std::vector<float> UniformFloats(GLhandleARB program, const char* name, int count) {
    std::vector<float> values(16, -12345.0f);
    GLint location = glGetUniformLocationARB(program, name);
    if (location >= 0) glGetUniformfvARB(program, location, values.data());
    values.resize(count);
    return values;
}

int UniformInt(GLhandleARB program, const char* name) {
    GLint values[16] = {-12345};
    GLint location = glGetUniformLocationARB(program, name);
    if (location >= 0) glGetUniformivARB(program, location, values);
    return values[0];
}

GLint BoundTexture(int unit, GLenum binding) {
    glActiveTexture(GL_TEXTURE0 + unit);
    GLint name = -1;
    glGetIntegerv(binding, &name);
    return name;
}

GLint ActiveUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit - GL_TEXTURE0;
}

std::array<int, 4> PixelAt(const GlTestContext& ctx, int x, int y) {
    std::uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace VantorGLTest
