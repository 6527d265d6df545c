// Trova01: the demo's hooks on the window system.
#include "shell/Trova01.h"

#include "shell/MessageBox.h"

#include <epoxy/gl.h>

#include <cstdlib>

namespace VantorGL {

void CheckOpenGLVersion(int version, int required) {
    if (version >= required) return;
    ShowMessage("APP", "OpenGL 2.1 not supported", "OpenGL 2.1 not supported.. lol", cMessageIcon::Information);
    exit(1);
}

}  // namespace VantorGL

void Trova01::ConfigureForDemo() {
    SetAntiAliasing(false);
    SetShowSettings(false);
    SetFullscreen(true);
    SetTitle("Moravel - Quenlite 2010");
    SetSize(1024, 768);
    SetPlanes(0.1f, 10000.0f);
    SetBits(32);
}

bool Trova01::LoadStep() {
    VantorGL::CheckOpenGLVersion(epoxy_gl_version());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    loading = false;
    return true;
}

bool Trova01::InitGL() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    demo.Init();
    demo.SetTimeWindow(VantorGL::kDemoStartCode, VantorGL::kDemoEndCode);
    return true;
}

bool Trova01::UpdateFrame() {
    demo.RunUpdate();
    return false;
}

bool Trova01::DrawFrame() {
    demo.RunRender();
    return !demo.IsFinished();
}

bool Trova01::IsDone() { return demo.IsFinished(); }
