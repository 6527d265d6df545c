// ScenePattern: the steps every timeline scene shares. Each scene keeps its own members
// (sceneClock, scalars, camera, targets, font, in that order) and calls these in its Init and
// Render, so the common frame skeleton is written once:
//
//   Init:    ScenePatternFont(font); sceneClock = 0; target.Create(1024, 768, 1) for each;
//            ScenePatternGlState(); ScenePatternCamera(camera, near, far); own set-up.
//   Render:  glEnable(GL_MULTISAMPLE);
//            CaptureInto(targetA, [&] { DrawContent(0); });
//            CaptureInto(targetB, [&] { PostQuadTransform(); shader.Bind(); DrawScreenQuad(); ... });
//            PresentTarget(targetB);
//            DrawOverlays(res.texOg2, fade, res.texBox01Diffuse);
//            glDisable(GL_MULTISAMPLE);
#pragma once

#include "assets/FontSystem.h"
#include "assets/TextureSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "render/shaders/PostShaders.h"

#include <epoxy/gl.h>

namespace VantorGL {

// Size of every scene render target.
constexpr int kSceneTargetWidth = 1024;
constexpr int kSceneTargetHeight = 768;
// The full-screen quad: at this distance under the 45 degree 4:3 projection it spans 1.032 times
// the view, so it covers the whole target.
constexpr float kQuadDistance = -3.65f;
constexpr float kQuadScaleX = 2.08f;
constexpr float kQuadScaleY = 1.56f;

// The scene's own outline font: "Data/General/c_font.ttf", "Action Force Normal", -48.
void ScenePatternFont(cFontSystem& font);
// The twelve GL state calls every scene's Init makes, in their order.
void ScenePatternGlState();
// SetPerspective(45, 4/3, near, far), SetView((0,0,0), (0,0,-1), (0,1,0)), Apply().
void ScenePatternCamera(cCamera& camera, double nearPlane, double farPlane);

// The start of a content pass: clear to opaque black (colour, depth, stencil), load the scene's
// projection with the view straight down -z, white, identity modelview. The pass sets its own
// view after this.
void ScenePatternPassStart(cCamera& camera);

// The capture frame: begin, push viewport, viewport to the target, clear colour and depth,
// draw, end, pop.
template <class Draw>
void CaptureInto(cRenderTextureSystem& target, Draw&& draw) {
    target.BeginCapture();
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, target.width, target.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    target.StopCapture();
    glPopAttrib();
}

// glLoadIdentity; white; translate (0, 0, distance); scale (2.08, 1.56, 0); rotate 0 about y.
void PostQuadTransform(float distance = kQuadDistance);
// One masked Gaussian pass on the full-screen quad: `source` blurred by `factor` where the
// blur map `blurMap` is bright. Called inside CaptureInto of the pass's target.
void MaskedBlurPass(cGaussianMapShader& blur, GLuint source, GLuint blurMap, float factor);
// Clears the window, then draws `target` on the full-screen quad at `distance`.
void PresentTarget(cRenderTextureSystem& target, float distance = kQuadDistance);
// The two alpha-blended overlays over the presented frame: `picture` mirrored top to bottom in
// the current colour, then `fadePicture` upright at alpha `fade`.
void DrawOverlays(cTextureSystem& picture, float fade, cTextureSystem& fadePicture);

}  // namespace VantorGL
