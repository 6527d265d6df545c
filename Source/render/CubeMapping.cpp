// cCubeMapping: cube-map framebuffer-object target.
#include "render/CubeMapping.h"

#include "render/GlContext.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace VantorGL {

cCubeMapping::~cCubeMapping() {
    for (GLuint* name : {&texture, &glassView}) {
        if (*name != 0 && *name != GLuint(-1) && HasCurrentGlContext()) glDeleteTextures(1, name);
        *name = GLuint(-1);
    }
}

bool cCubeMapping::CreateCube(int width_, int height_) {
    width = width_;
    height = height_;
    if (!RequireFramebufferObjects()) return false;

    glGenFramebuffersEXT(1, &framebuffer);
    glGenRenderbuffersEXT(1, &depthBuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    // The cube, then the glass view: RGB faces, linear, clamped to edge.
    glassViewSize = std::min(width, kGlassViewSize);
    canBlit = epoxy_gl_version() >= 30 || epoxy_has_gl_extension("GL_EXT_framebuffer_blit");
    glEnable(GL_TEXTURE_CUBE_MAP);
    for (auto [name, size] : {std::pair{&texture, width}, std::pair{&glassView, glassViewSize}}) {
        glGenTextures(1, name);
        glBindTexture(GL_TEXTURE_CUBE_MAP, *name);
        for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face)
            glTexImage2D(face, 0, GL_RGB, size, name == &texture ? height : size, 0, GL_RGB, GL_UNSIGNED_BYTE,
                         nullptr);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);

    // The glass view's framebuffer keeps its +X face attached for good (colour only).
    glGenFramebuffersEXT(1, &glassViewFramebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, glassViewFramebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_CUBE_MAP_POSITIVE_X,
                              glassView, 0);
    ReportIncomplete("cube-map glass view");
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    // The framebuffer is only complete with a face attached: check once with the first face,
    // then leave the colour attachment empty again until SelectFace.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_CUBE_MAP_POSITIVE_X,
                              texture, 0);
    ReportIncomplete("cube-map target");
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return true;
}

void cCubeMapping::Finish() {}

void cCubeMapping::BeginCapture() {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
}

void cCubeMapping::StopCapture() {
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void cCubeMapping::UnbindTexture() {
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);
}

void cCubeMapping::BindTexture() {
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    glEnable(GL_TEXTURE_CUBE_MAP);
}

void cCubeMapping::SelectFace(GLenum face) {
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, face, texture, 0);
}

// Copies the read buffer (the attached face) into the five faces of `cube` after +X.
static void CopyReadBufferIntoOtherFaces(GLuint cube, int size_x, int size_y) {
    if (cube == 0 || cube == GLuint(-1)) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X + 1; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face)
        glCopyTexSubImage2D(face, 0, 0, 0, 0, 0, size_x, size_y);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

void cCubeMapping::CopyFirstFaceToOthers() {
    CopyReadBufferIntoOtherFaces(texture, width, height);
}

GLuint cCubeMapping::ShowFacesDrawnSoFar() {
    if (glassView == 0 || glassView == GLuint(-1) || !canBlit) return glassView;
    // Blits obey the scissor test; the whole face is wanted.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, framebuffer);
    glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, glassViewFramebuffer);
    glBlitFramebufferEXT(0, 0, width, height, 0, 0, glassViewSize, glassViewSize, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, glassViewFramebuffer);
    CopyReadBufferIntoOtherFaces(glassView, glassViewSize, glassViewSize);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    return glassView;
}

}  // namespace VantorGL
