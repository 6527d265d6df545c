// Trova01: the demo's hooks on the window system.
#include "shell/Trova01.h"

#include "assets/DataManifest.h"
#include "render/FatalError.h"
#include "render/Primitives.h"

#include <epoxy/gl.h>

namespace VantorGL {

void CheckOpenGLVersion(int version, int required) {
    if (version >= required) return;
    // Through the fatal path, so the window gives the display back before the box shows.
    FatalError("APP", 1, "OpenGL 2.1 not supported", "OpenGL 2.1 not supported.. lol");
}

}  // namespace VantorGL

int Trova01::DefaultGlVersion() { return epoxy_gl_version(); }

void Trova01::ConfigureForDemo() {
    SetAntiAliasing(false);
    SetShowSettings(false);
    SetFullscreen(true);
    SetTitle("Moravel - Quenlite 2010");
    SetSize(1024, 768);
    SetPlanes(0.1f, 10000.0f);
    SetBits(32);
}

// The loading screen: one still picture, drawn once and left on screen, and a looping tune for
// as long as the assets take. The picture overflows the window on all sides (translate -4,
// scale 3.08 x 2.08 under the 45 degree projection), so its content sits in the middle 70 %.
bool Trova01::LoadStep() {
    VantorGL::CheckOpenGLVersion(glVersion());
    loadingMusic.SetFile(VantorGL::kLoadingMusicPath);
    loadingMusic.Open(nullptr);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    loadingPicture.Load(VantorGL::kLoadingPicturePath);
    loadingPicture.Bind();
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, -4.0f);
    glScalef(3.08f, 2.08f, 0.0f);
    VantorGL::DrawScreenQuad();
    loadingPicture.Unbind();
    loadingMusic.SetLoop(true);
    loadingMusic.Play();
    loading = false;
    return true;
}

// The clear values every frame starts from, then the sequencer's Init (which resets the clock).
static void StartTimeline(VantorGL::cDemoScene& demo) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    demo.Init();
}

void Trova01::RestartDemo() {
    demo.ResetScenes();
    StartTimeline(demo);
}

bool Trova01::InitGL() {
    StartTimeline(demo);
    demo.SetTimeWindow(VantorGL::kDemoStartCode, VantorGL::kDemoEndCode);
    loadingMusic.Stop();  // the demo music has started already: the two overlap for a moment
    return true;
}

bool Trova01::UpdateFrame() {
    demo.RunUpdate();
    return false;
}

bool Trova01::DrawFrame() {
    demo.RunRender();
#ifndef NDEBUG
    // One look per frame after the whole frame is drawn: a fault shows up with the demo time
    // that produced it, each error code once.
    glErrors.Note(glGetError(), demo.timer.elapsed);
#endif
    return !demo.IsFinished();
}

bool Trova01::IsDone() { return demo.IsFinished(); }
