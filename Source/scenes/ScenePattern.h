// ScenePattern: the steps every timeline scene shares. Each scene keeps its own members
// (sceneClock, scalars, camera, targets, font, in that order) and calls these, so a scene's Init
// and Render read as the common steps with the scene's own values:
//
//   Init:    ScenePatternInit(*resources, font, sceneClock, {targetA, targetB, targetC}, camera, near, far);
//            then its own set-up. The targets are the registry's shared ones, taken back on a restart.
//   Render:  cSceneFrame frame(res.passTimer);                   multisampling on, off at the end
//            frame.CubeFaces(res.cubeMap, [&] { DrawContent(kPassCubeFaces); });   glass scenes
//            frame.Capture("content", targetA, [&] { DrawContent(kPassMain); });
//            frame.BlurPair(res.gaussianMapShader, targetA, targetB, targetC, {blurMap, factor});
//            frame.Present(targetC);
//            frame.Pass("glow", [&] { ... });                    what a scene adds over the frame
//            frame.Overlays(res.texOg2, fade, res.texBox01Diffuse);
//   DrawContent: ScenePatternPassStart, then each object in a DrawGroup(camera, place, draw),
//            glass through DrawRefractedModel.
#pragma once

#include "assets/3DsModelSystem.h"
#include "assets/FontSystem.h"
#include "assets/TextureSystem.h"
#include "render/Camera.h"
#include "render/CubeMapping.h"
#include "render/RenderTextureSystem.h"
#include "render/ScreenExtent.h"
#include "render/Vector3.h"
#include "render/shaders/PostShaders.h"
#include "render/shaders/RefractShaders.h"

#include <epoxy/gl.h>

#include <initializer_list>

namespace VantorGL {

class cResources;

// Size of every scene render target.
constexpr int kSceneTargetWidth = 1024;
constexpr int kSceneTargetHeight = 768;
// The full-screen quad: at this distance under the 45 degree 4:3 projection it spans 1.032 times
// the view, so it covers the whole target.
constexpr float kQuadDistance = -3.65f;
constexpr float kQuadScaleX = 2.08f;
constexpr float kQuadScaleY = 1.56f;
// How many times the view's width (and height) the quad spans: 2 x kQuadScaleX across where the
// view at the quad's distance is 2 x distance x tan(22.5 degrees) x 4/3 wide.
constexpr double kQuadOverlap =
    (2.0 * double(kQuadScaleX)) / (2.0 * -double(kQuadDistance) * 0.41421356237309503 * 4.0 / 3.0);

// What one call of a scene's DrawContent draws.
constexpr int kPassMain = 0;         // the main view
constexpr int kPassCubeFaces = 1;    // a face of the registry's cube map: what the glass refracts
constexpr int kPassFigureAlone = 2;  // one object alone (the glow crystal, the glass figure, the
                                     // sky), the source of a glow or of light rays

// A render target of a scene with the filter it is created with: linear unless named.
struct sSceneTarget {
    sSceneTarget(cRenderTextureSystem& target, int filter = kTargetFilterLinear) : target(&target), filter(filter) {}
    cRenderTextureSystem* target;
    int filter;
};

// The opening of every scene's Init, in this order: the outline font ("Data/General/c_font.ttf",
// "Action Force Normal", -48), sceneClock = 0, each of `targets` created 1024 x 768 in the order
// given, ScenePatternGlState(); with near and far, then ScenePatternCamera as well.
void ScenePatternInit(cFontSystem& font, double& sceneClock, std::initializer_list<sSceneTarget> targets);
void ScenePatternInit(cFontSystem& font, double& sceneClock, std::initializer_list<sSceneTarget> targets,
                      cCamera& camera, double nearPlane, double farPlane);
// The same for a scene of the demo, with what the scenes share taken from the registry instead of
// made again: the outline glyphs are the registry's fontActionForce's (the same font file and
// face; the height does not change the glyphs), and the n-th target of a filter in `targets`
// shares the n-th slot of that filter of the registry's sceneTargets. Only for targets the scene
// clears and redraws in every frame before it samples them.
void ScenePatternInit(cResources& registry, cFontSystem& font, double& sceneClock,
                      std::initializer_list<sSceneTarget> targets);
void ScenePatternInit(cResources& registry, cFontSystem& font, double& sceneClock,
                      std::initializer_list<sSceneTarget> targets, cCamera& camera, double nearPlane,
                      double farPlane);
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

// The cube-map pass of a scene whose DrawContent sets its own camera: inside a matrix of its
// own, `draw()` fills +X of the registry's cube `cube` and is copied into the other five faces.
template <class Draw>
void CaptureCubeFaces(cCubeMapping& cube, Draw&& draw) {
    glPushMatrix();
    cube.CaptureOneViewIntoAllFaces(draw);
    glPopMatrix();
}

namespace ScenePatternDetail {
template <bool fromIdentity, class Place, class Draw>
void DrawGroupFrom(const cCamera& camera, Place&& place, Draw&& draw) {
    glPushMatrix();
    if constexpr (fromIdentity) glLoadIdentity();
    camera.Look();
    place();
    glPushMatrix();
    draw();
    glPopMatrix();
    glPopMatrix();
}
}  // namespace ScenePatternDetail

// A drawing group of DrawContent: a matrix of its own holding the camera's view (push, identity,
// Look), the group's placement `place()`, then an inner matrix for `draw()`; both matrices are
// popped at the end, so the stack is as the group found it.
template <class Place, class Draw>
void DrawGroup(const cCamera& camera, Place&& place, Draw&& draw) {
    ScenePatternDetail::DrawGroupFrom<true>(camera, place, draw);
}

// The same group with the camera's view multiplied onto the current matrix (no identity): for
// groups drawn where the current matrix is the identity already.
template <class Place, class Draw>
void DrawGroupOnCurrent(const cCamera& camera, Place&& place, Draw&& draw) {
    ScenePatternDetail::DrawGroupFrom<false>(camera, place, draw);
}

// Grows `extent` by every vertex of `model` placed as its Draw places them under the current
// matrices (nothing when the model is hidden): the screen bounds of what Draw would draw.
void AddModelExtent(cScreenExtent& extent, const c3DsModelSystem& model);

// The screen quad (under PostQuadTransform) drawn by a zoom blur pass reading a source that is
// black outside `source`: only over the pixels the blur can reach (a scissor box; nothing at
// all when it reaches none), or over the whole view where `bounded` is false. The blur's
// program and source are bound by the caller.
void DrawZoomBlurQuad(const cScreenExtent& source, const cRadialBlurShader& blur, bool bounded);

// Glass around `draw()` in the current matrix: `glass` takes `colour` and the cube map `cubeMap`,
// is bound with the camera, and unbound after. The colour stays stored in `glass`.
template <class Draw>
void DrawRefracted(const cCamera& camera, cRefractSurfaceShader& glass, const cVector3f& colour, GLuint cubeMap,
                   Draw&& draw) {
    glass.SetCrystalColor(colour);
    glass.SetCubeMap(cubeMap);
    glass.Bind(camera);
    draw();
    glass.Unbind();
}

// A refracted model: DrawRefracted inside a DrawGroup placed by `place()`.
template <class Place, class Draw>
void DrawRefractedModel(const cCamera& camera, cRefractSurfaceShader& glass, const cVector3f& colour, GLuint cubeMap,
                        Place&& place, Draw&& draw) {
    DrawGroup(camera, place, [&] { DrawRefracted(camera, glass, colour, cubeMap, draw); });
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
