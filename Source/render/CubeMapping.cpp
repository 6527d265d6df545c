// cCubeMapping: cube-map framebuffer-object target.
#include "render/CubeMapping.h"

#include "render/GlContext.h"

#include <initializer_list>
#include <utility>

namespace VantorGL {

cCubeMapping::~cCubeMapping() {
    for (GLuint* name : {&texture, &drawTexture}) {
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

    glEnable(GL_TEXTURE_CUBE_MAP);
    for (GLuint* name : {&texture, &drawTexture}) {
        glGenTextures(1, name);
        glBindTexture(GL_TEXTURE_CUBE_MAP, *name);
        for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face < GL_TEXTURE_CUBE_MAP_POSITIVE_X + 6; ++face)
            glTexImage2D(face, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);

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
    std::swap(texture, drawTexture);
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
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, face, drawTexture, 0);
}

// Copies the read buffer (the attached face) into `faces` faces of `cube`, from `first` on.
static void CopyReadBufferIntoFaces(GLuint cube, GLenum first, int faces, int width, int height) {
    if (cube == 0 || cube == GLuint(-1)) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    for (GLenum face = first; face < first + GLenum(faces); ++face)
        glCopyTexSubImage2D(face, 0, 0, 0, 0, 0, width, height);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

void cCubeMapping::CopyFirstFaceToOthers() {
    CopyReadBufferIntoFaces(drawTexture, GL_TEXTURE_CUBE_MAP_POSITIVE_X + 1, 5, width, height);
}

void cCubeMapping::ShowFacesDrawnSoFar() {
    CopyReadBufferIntoFaces(texture, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 6, width, height);
}

}  // namespace VantorGL
