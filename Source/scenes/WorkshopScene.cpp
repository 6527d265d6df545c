// cWorkshopScene: the workshop's set-up, its particle fountain and light update, and its frame:
// feedback target, content target, zoomed presentation and debug overlay.
#include "scenes/WorkshopScene.h"

#include "assets/DataManifest.h"
#include "assets/Resources.h"
#include "render/MathHelpers.h"
#include "render/Primitives.h"
#include "scenes/ScenePattern.h"
#include "timeline/DebugSystem.h"
#include "timeline/TimeSystem.h"

#include <cmath>

namespace VantorGL {

namespace {

// The backdrop quads: at distance 100 (content) and 200 (feedback) this scale covers the view
// with about 2 % to spare; the 1 degree turn about y is part of the look.
constexpr float kBackdropScaleX = 56.2f;
constexpr float kBackdropScaleY = 42.26f;
// The presented quad overfills the view by about 39 %: a zoomed-in presentation.
constexpr float kPresentScaleX = 2.81f;
constexpr float kPresentScaleY = 2.113f;

}  // namespace

void cWorkshopScene::ConfigureShared() {
    cTimeSystem::Instance()->Reset();  // the process clock restarts here

    cParticleSystem& particles = resources->particles;
    particles.CreateParticles(kWorkshopParticles);
    particles.SetColour(0.6f, 0.3f, 0.9f);
    particles.SetAcceleration(0.0f, 0.00004f, 0.0002f);
    particles.SetLifeDivisor(100);  // one unit of life per 100 ms of frame time

    sceneClock = 0.0;
}

int cWorkshopScene::Init() {
    ConfigureShared();

    texNewsPaper.Load(kWorkshopNewsPaperPath);
    texWorkshopNormal.Load(kWorkshopNormalPath);
    texSpecular.Load(kWorkshopSpecularPath);

    if (lightShader.InitProgramObject() && lightShader.InitVertexShader()) lightShader.InitFragmentShader();
    // The picture meant for unit 4 is a 2D texture, which a cube target refuses (an error at
    // every Bind); the two-light program never samples that unit, so it gets no texture.
    lightShader.SetCubeMap(0);
    lightShader.SetColorMap(texNewsPaper.texture);
    lightShader.SetNormalMap(texWorkshopNormal.texture);
    lightShader.SetHeightMap(texNewsPaper.texture);
    lightShader.SetSpecularMap(texSpecular.texture);
    lightShader.SetR(0.1f);  // stored as 0.9
    lightShader.SetSpecPower(32.0f);
    lightShader.SetSpecOverdrive(0.2f);
    lightShader.LightPosition = {10.0f, 3.0f, 0.0f};
    lightShader.LightPosition2 = {-10.0f, 3.0f, 0.0f};
    lightShader.SetAmbient(0.6f);
    lightShader.LightColor = {0.7f, 0.9f, 0.8f};
    lightShader.Light2Color = {0.9f, 0.4f, 0.6f};

    ScenePatternGlState();
    ScenePatternCamera(camera, 0.01f, 10000.0);  // near is the single-precision 0.01
    return 0;
}

void cWorkshopScene::Update() {
    cResources& res = *resources;
    sceneClock = timer.elapsed;

    float s = float(res.music.SpectrumValue(5) + RandomRange(0.56, 1.0));
    float g = float(RandomRange(0.0, 1.0));

    lightShader.LightColor = {s, 0.33f, 0.33f};
    lightShader.Light2Color = {0.8f, 0.8f, 0.8f};

    float driftX = float(RandomRange(-0.01, 0.01));
    float driftY = float(RandomRange(-0.01, 0.01));
    res.particles.SetDrift(driftX, driftY, -0.02f);
    res.particles.SetColour(g, s, s - g);
    res.particles.UpdateAll();
}

void cWorkshopScene::DrawContent(int /*pass*/) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    camera.SetView(cVector3(0, 0, 0), cVector3(0, 0, -10), cVector3(0, 1, 0));
    camera.Look();

    // Last frame's feedback image as the background, 100 units away.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -100.0f);
    glScalef(kBackdropScaleX, kBackdropScaleY, 0.0f);
    glRotatef(1.0f, 0.0f, 1.0f, 0.0f);
    targetB.BindTexture();
    DrawScreenQuad();
    targetB.UnbindTexture();
    glPopMatrix();

    lightShader.Bind(camera);
    // The text sinks from 0 and locks at the floor once it gets there.
    if (textDepth <= kWorkshopTextFloor)
        textDepth = kWorkshopTextFloor;
    else
        textDepth = float(-40.0 * std::sin(sceneClock * 0.0001));
    glTranslatef(0.0f, 0.0f, textDepth);
    glRotatef(textDepth, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glScalef(4.0f, 4.0f, 4.0f);
    resources->fontActionForce.PrintCentered("ZEF LoL!!");
    glTranslatef(-3.0f, -0.6f, 0.0f);
    DrawIcoSphere(3, false, 1.0f);
    glPopMatrix();
    lightShader.Unbind();
}

void cWorkshopScene::CreateTargets() {
    if (targetA.framebuffer != 0) return;
    targetB.Create(kSceneTargetWidth, kSceneTargetHeight, kTargetFilterLinear);
    targetA.Create(kSceneTargetWidth, kSceneTargetHeight, kTargetFilterLinear);
}

void cWorkshopScene::Render() {
    cResources& res = *resources;
    cTimeSystem* clock = cTimeSystem::Instance();
    CreateTargets();
    glEnable(GL_MULTISAMPLE);

    // Feedback image: the particles, drawn through the glow program over the backdrop. The
    // viewport is left as it is.
    targetB.BeginCapture();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    res.gaussianMapShader.SetSourceTexture(targetA.texture);
    res.gaussianMapShader.SetBlurFactor(2.0f);  // the blur map stays as last set
    res.gaussianMapShader.Bind();

    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, 10.0f);
    texNewsPaper.Bind();
    res.particles.DrawAll();
    texNewsPaper.Unbind();

    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, -200.0f);
    glScalef(kBackdropScaleX, kBackdropScaleY, 0.0f);
    glRotatef(1.0f, 0.0f, 1.0f, 0.0f);
    res.texBackdrop1GeoSquare.Bind();
    DrawScreenQuad();
    res.texBackdrop1GeoSquare.Unbind();
    res.gaussianMapShader.Unbind();
    targetB.StopCapture();

    CaptureInto(targetA, [&] { DrawContent(kPassMain); });

    // Present targetA zoomed in.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, kQuadDistance);
    glScalef(kPresentScaleX, kPresentScaleY, 0.0f);
    glRotatef(1.0f, 0.0f, 1.0f, 0.0f);
    targetA.BindTexture();
    DrawScreenQuad();
    targetA.UnbindTexture();

    res.fontArial.DrawDebugOverlay(clock->SinceReset(), clock->Fps(), 0.0f);
    cDebugSystem::Instance()->Log("cWorkshopScene()", clock->Delta());
    glDisable(GL_MULTISAMPLE);
}

}  // namespace VantorGL
