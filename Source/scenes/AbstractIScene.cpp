// cAbstractIScene: the smallest scene, written with the shared scene steps.
#include "scenes/AbstractIScene.h"

#include "render/Primitives.h"
#include "scenes/ScenePattern.h"

#include <epoxy/gl.h>

namespace VantorGL {

int cAbstractIScene::Init() {
    ScenePatternInit(font, sceneClock, {target}, camera, 0.01f, 10000.0);  // near is the single-precision 0.01
    return 0;
}

void cAbstractIScene::DrawContent(int /*pass*/) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    camera.Look();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glPushMatrix();
    glScalef(0.2f, 0.2f, 0.2f);
    DrawIcoSphere(3, false, 1.0f);
    glPopMatrix();
}

void cAbstractIScene::Render() {
    glEnable(GL_MULTISAMPLE);
    CaptureInto(target, [&] { DrawContent(kPassMain); });
    PresentTarget(target, kAbstractPresentDistance);
    glDisable(GL_MULTISAMPLE);
}

}  // namespace VantorGL
