// ScenePattern: the shared set-up and frame steps of the timeline scenes.
#include "scenes/ScenePattern.h"

#include "assets/Resources.h"

#include "render/Primitives.h"

namespace VantorGL {

void ScenePatternInit(cFontSystem& font, double& sceneClock, std::initializer_list<sSceneTarget> targets) {
    font.CreateOutlineGlyphs("Data/General/c_font.ttf", "Action Force Normal", -48);
    sceneClock = 0.0;
    for (const sSceneTarget& t : targets) t.target->Create(kSceneTargetWidth, kSceneTargetHeight, t.filter);
    ScenePatternGlState();
}

void ScenePatternInit(cFontSystem& font, double& sceneClock, std::initializer_list<sSceneTarget> targets,
                      cCamera& camera, double nearPlane, double farPlane) {
    ScenePatternInit(font, sceneClock, targets);
    ScenePatternCamera(camera, nearPlane, farPlane);
}

void ScenePatternInit(cResources& registry, cFontSystem& font, double& sceneClock,
                      std::initializer_list<sSceneTarget> targets) {
    font.ShareOutlineGlyphs(registry.fontActionForce);
    sceneClock = 0.0;
    cSceneTargetPool& pool = registry.sceneTargets;
    int used[cSceneTargetPool::kFilters] = {0, 0, 0};
    for (const sSceneTarget& t : targets) pool.Hand(*t.target, t.filter, used[cSceneTargetPool::FilterIndex(t.filter)]++);
    ScenePatternGlState();
}

void ScenePatternInit(cResources& registry, cFontSystem& font, double& sceneClock,
                      std::initializer_list<sSceneTarget> targets, cCamera& camera, double nearPlane,
                      double farPlane) {
    ScenePatternInit(registry, font, sceneClock, targets);
    ScenePatternCamera(camera, nearPlane, farPlane);
}

void ScenePatternGlState() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive blending is the default blend function
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_POLYGON_OFFSET_FILL);
}

void ScenePatternCamera(cCamera& camera, double nearPlane, double farPlane) {
    camera.SetPerspective(45.0, 4.0 / 3.0, nearPlane, farPlane);
    camera.SetView(cVector3(0, 0, 0), cVector3(0, 0, -1), cVector3(0, 1, 0));
    camera.Apply();
}

void ScenePatternPassStart(cCamera& camera) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    camera.SetView(cVector3(0, 0, 0), cVector3(0, 0, -1), cVector3(0, 1, 0));
    camera.Apply();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
}

void PostQuadTransform(float distance) {
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, distance);
    glScalef(kQuadScaleX, kQuadScaleY, 0.0f);
    glRotatef(0.0f, 0.0f, 1.0f, 0.0f);
}

void MaskedBlurPass(cGaussianMapShader& blur, GLuint source, GLuint blurMap, float factor) {
    PostQuadTransform();
    blur.SetSourceTexture(source);
    blur.SetBlurMapTexture(blurMap);
    blur.SetBlurFactor(factor);
    blur.Bind();
    DrawScreenQuad();
    blur.Unbind();
}

void PresentTarget(cRenderTextureSystem& target, float distance) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    PostQuadTransform(distance);
    target.BindTexture();
    DrawScreenQuad();
    target.UnbindTexture();
}

void AddModelExtent(cScreenExtent& extent, const c3DsModelSystem& model) {
    if (!model.visible) return;
    glPushMatrix();
    model.ApplyTransform();
    for (const c3DsModelSystem::Object& object : model.objects)
        extent.AddPoints(object.vertices.data(), int(object.vertices.size() / 3));
    glPopMatrix();
}

void DrawZoomBlurQuad(const cScreenExtent& source, const cRadialBlurShader& blur, bool bounded) {
    // Four texels of the 1024-wide targets: the linear filter reads one beyond a tap, and the
    // projected bounds and the rasteriser round differently.
    constexpr double kFilterMargin = 4.0 / 1024.0;
    const cScreenExtent reach =
        source.ZoomBlurReach(blur.CenterX(), blur.CenterY(), blur.Start(), blur.Scale(), kFilterMargin);
    if (!bounded || reach.CoversView()) {
        DrawScreenQuad();
        return;
    }
    GLint viewport[4], box[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!reach.ScissorBox(viewport, kQuadOverlap, box)) return;  // every tap reads black
    glScissor(box[0], box[1], box[2], box[3]);
    glEnable(GL_SCISSOR_TEST);
    DrawScreenQuad();
    glDisable(GL_SCISSOR_TEST);
}

void DrawOverlays(cTextureSystem& picture, float fade, cTextureSystem& fadePicture) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glScalef(1.0f, -1.0f, 0.0f);  // the overlay picture is mirrored top to bottom
    picture.Bind();
    DrawScreenQuad();
    picture.Unbind();
    glScalef(1.0f, -1.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, fade);
    fadePicture.Bind();
    DrawScreenQuad();
    fadePicture.Unbind();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
}

}  // namespace VantorGL
