// cWorkshopScene: the test bench scene the sequencer owns and initialises but never schedules.
// Its Init has lasting effects on shared state (the process clock restarts, the shared particle
// pool is made and configured); its Update and Render (a newspaper particle fountain fed back
// behind a tilted line of text, and the debug overlay) belong to the class but never run.
#pragma once

#include "assets/TextureSystem.h"
#include "render/Camera.h"
#include "render/RenderTextureSystem.h"
#include "render/shaders/LitShaders.h"
#include "render/shaders/PostShaders.h"
#include "timeline/SceneSystem.h"

namespace VantorGL {

// The text sinks to this depth and stays there (about 9.27 s after the scene's clock starts).
constexpr float kWorkshopTextFloor = -32.0f;
// Size of the shared particle pool this scene makes.
constexpr int kWorkshopParticles = 500;

class cWorkshopScene : public cSceneSystem {
public:
    // Restarts the clock, configures the shared particles, loads the three pictures, builds the
    // light program, sets the common GL state and the camera (near 0.01, far 10000). Returns 0.
    // Needs the GL context and the registry. The two targets wait for the first Render: the
    // show never draws this scene, and they are 24 MB a software rasteriser would hold for it.
    int Init() override;
    // The clock, the random light colour and the particle stream (drift, colour, one update).
    void Update() override;
    // Particles over the backdrop into targetB, the content into targetA, targetA zoomed on the
    // window, the debug overlay and one log line. The first call creates the targets.
    void Render() override;
    // targetB, then targetA, 1024 x 768 with the linear filter, unless they exist already.
    void CreateTargets();

    // The GL-free part of Init (steps before the pictures): clock reset, particle pool and its
    // configuration, sceneClock = 0. Init calls it first; tests call it without a context.
    void ConfigureShared();
    // The scene's 3D content for one pass (the pass is ignored): backdrop of last frame's
    // feedback image, the sinking text and the small sphere under the scene's two lights.
    void DrawContent(int pass);

    double sceneClock = 0.0;  // the scene timer's elapsed ms, copied each Update
    cCamera camera;
    cNPMultiLight lightShader;
    cGaussianBlurShader blurShader;  // kept, never initialised or bound
    cRenderTextureSystem targetA;    // main image
    cRenderTextureSystem targetB;    // feedback image: particles over the backdrop
    cTextureSystem texNewsPaper, texWorkshopNormal, texSpecular;
    float textDepth = 0.0f;  // sinks from 0 to kWorkshopTextFloor and locks there
};

}  // namespace VantorGL
