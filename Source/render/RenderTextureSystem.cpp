// cRenderTextureSystem: 2D framebuffer-object target.
#include "render/RenderTextureSystem.h"

#include "render/FatalError.h"
#include "render/GlContext.h"
#include "shell/Console.h"

namespace VantorGL {

bool cRenderTextureSystem::RequireFramebufferObjects() {
    if (HasCurrentGlContext() && epoxy_has_gl_extension("GL_EXT_framebuffer_object")) return true;
    FatalError("TARGET", 99, "Error", "GL_EXT_framebuffer_object NOT supported . Upgrade your gfx motha fucka");
    return false;
}

void cRenderTextureSystem::ReportIncomplete(const char* kind) const {
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT)
        ConsolePrint("TARGET", "%s %dx%d is incomplete (framebuffer status 0x%04x); it will render nothing",
                     kind, width, height, unsigned(status));
}

bool cRenderTextureSystem::Create(int width_, int height_, int filter) {
    width = width_;
    height = height_;
    if (!RequireFramebufferObjects()) return false;

    glGenFramebuffersEXT(1, &framebuffer);
    glGenRenderbuffersEXT(1, &depthBuffer);

    // The depth copy gets its name and sampling state now and its storage at the first
    // CopyDepth: no scene copies depth, and on a software rasteriser an unused depth texture is
    // still 3 MB of resident memory per target.
    glGenTextures(1, &depthTexture);
    glBindTexture(GL_TEXTURE_2D, depthTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);

    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (filter == kTargetFilterNearest) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    } else if (filter == kTargetFilterLinear) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    // Half-float colour: passes keep values above 1 for the glow to find.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F_ARB, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);

    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
    ReportIncomplete("render target");

    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return true;
}

void cRenderTextureSystem::Share(const cRenderTextureSystem& owner) {
    texture = owner.texture;
    depthTexture = owner.depthTexture;
    depthBuffer = owner.depthBuffer;
    framebuffer = owner.framebuffer;
    width = owner.width;
    height = owner.height;
    shared = true;
}

void cRenderTextureSystem::BorrowDepthBuffer(const cRenderTextureSystem& other) {
    if (other.depthBuffer == 0 || other.depthBuffer == depthBuffer) return;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 other.depthBuffer);
    if (!depthBorrowed && depthBuffer != 0) glDeleteRenderbuffersEXT(1, &depthBuffer);
    depthBuffer = other.depthBuffer;
    depthBorrowed = true;
    ReportIncomplete("render target");
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void cRenderTextureSystem::Release() {
    if (shared) {
        framebuffer = depthBuffer = texture = depthTexture = 0;
        shared = false;
        return;
    }
    if (framebuffer != 0) glDeleteFramebuffersEXT(1, &framebuffer);
    if (depthBuffer != 0 && !depthBorrowed) glDeleteRenderbuffersEXT(1, &depthBuffer);
    if (texture != 0) glDeleteTextures(1, &texture);
    if (depthTexture != 0) glDeleteTextures(1, &depthTexture);
    framebuffer = depthBuffer = texture = depthTexture = 0;
    depthBorrowed = false;
}

void cRenderTextureSystem::BeginCapture() {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
}

void cRenderTextureSystem::StopCapture() {
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void cRenderTextureSystem::UnbindTexture() { glBindTexture(GL_TEXTURE_2D, 0); }

void cRenderTextureSystem::BindTexture() { glBindTexture(GL_TEXTURE_2D, texture); }

void cRenderTextureSystem::BindDepthTexture() { glBindTexture(GL_TEXTURE_2D, depthTexture); }

void cRenderTextureSystem::CopyDepth() {
    glBindTexture(GL_TEXTURE_2D, depthTexture);
    GLint storedWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &storedWidth);
    if (storedWidth != width)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, width, height, 0, GL_DEPTH_COMPONENT,
                     GL_UNSIGNED_BYTE, nullptr);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}

}  // namespace VantorGL
