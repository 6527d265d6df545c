// cResources: the registry of every asset more than one scene may use, as named members. The
// sequencer owns it; each scene reaches it through its `resources` pointer. Everything is loaded
// once, in one fixed order, before the first frame, and nothing is looked up by name afterwards.
#pragma once

#include "assets/3DsModelSystem.h"
#include "assets/FontSystem.h"
#include "assets/MusicSystem.h"
#include "assets/TextureSystem.h"
#include "render/CubeMapping.h"
#include "render/PassTimer.h"
#include "render/SceneTargetPool.h"
#include "render/ParticleSystem.h"
#include "render/shaders/LitShaders.h"
#include "render/shaders/PostShaders.h"
#include "render/shaders/RefractShaders.h"

namespace VantorGL {

struct cDataFile;  // a row of the asset manifest (DataManifest.h)

class cDataSystem {
public:
    virtual ~cDataSystem() = default;
    virtual int SelectMusic() { return 0; }
    virtual int LoadAll() { return 0; }
};

// Where start-up time goes, in milliseconds of LoadAll on the main thread (filled as it runs).
// Pictures decode on worker threads meanwhile; `textures` is the main thread's wait and upload.
struct cLoadTimes {
    double music = 0, textures = 0, models = 0, fonts = 0, targets = 0, shaders = 0;
    double Total() const { return music + textures + models + fonts + targets + shaders; }
};

class cResources : public cDataSystem {
public:
    // Names the demo music: the file the asset manifest gives `music`.
    int SelectMusic() override;
    // Loads and configures everything, strictly in the registry's order: the asset manifest's
    // rows (DataManifest.h) with the system face after the music, then the cube target and the
    // shaders. Needs the GL context.
    int LoadAll() override;

    // Loads the file of asset manifest row `row` (DataManifest.h) again into its member, in
    // place, while the demo runs: a picture into the texture name it has (no holder needs telling;
    // a name made where the first load failed is handed to the shaders), a model in place of its
    // objects, the music in place of its stream (stopped; the sequencer plays it from its Init).
    // A file that is now broken says the TEXTURE, MODEL or MUSIC line it would say at start-up
    // and leaves the previous content, so a half-written file never blanks the show. Fonts are
    // not reloaded. Needs the GL context. Returns whether the new content is in.
    bool Reload(const cDataFile& row);

    // Members in declaration order: constructed in this order, destroyed in reverse.
    cMusicSystem music;
    cTextureSystem texRulletekst, texChrome;
    c3DsModelSystem mdlMVLogo, mdlHumanplantMesh, mdlHumanplantHair, mdlCuball, mdlCrystalMany, mdlCrystalWide,
        mdlMVOutline, mdlRay, mdlCrystalRing1, mdlCrystalRing2, mdlCrystalRing3, mdlCrystalRing4, mdlCuberingTight,
        mdlCuberingWide, mdlTunnel, mdlTorus, mdlTorusCrystals, mdlSpiketube, mdlSkySphere, mdlGreeting1,
        mdlGreeting2, mdlGreeting3, mdlCreds;
    cParticleSystem particles;
    cFontSystem fontArial, fontActionForce;
    cTextureSystem texHumanplantTemplate, texFlatNormal, texBox01Diffuse, texBackdrop1GeoSquare, texOg2, texOg3,
        texBlurMap, texBlurMapII, texBlurSelvo, texArt1, texBgSphere, texLogoScene, texCrystalNormalMap, texRayAlpha,
        texPillarroomDiff, texPillarroomNorm, texPillarroomSpec, texCrystalDiffuse, texPillarroomNormB, texArt1B,
        texTerFloorComp, texTerFloorLight, texTerFloorNorm, texTerWallComp, texTerWallLight, texTerWallNorm;
    c3DsModelSystem mdlTerGround, mdlTerCrys, mdlTerWall, mdlTerRay0, mdlTerRay1, mdlTerRay2, mdlTerRay3, mdlTerRay4,
        mdlTerRay5, mdlTerRay6, mdlTerRay7, mdlTerRay8, mdlTerRay9, mdlTerSky;
    cCubeMapping cubeMap;
    // The scenes' render targets, shared: made as the scenes set up, kept across a restart.
    cSceneTargetPool sceneTargets;
    cTavikIsleObjectShader tavikObjectShaderA, tavikObjectShaderB;
    cGaussianMapShader gaussianMapShader;
    cTorbObjectShader torbObjectShader;
    cCrystalRefractShader crystalRefractShader;
    cShadowCageShader shadowCageShader;
    cMVLogoShader mvLogoShader;
    cCrystalRingShader crystalRingShader;
    cNPMultiLight npLightPillar, npLightTerFloor, npLightTerWall;
    cCrystalCaveRefractShader crystalCaveRefractShader;
    cRadialBlurShader radialBlurShader;
    cDistortShader distortShader;

    cLoadTimes loadTimes;
    // The GPU time of each named pass the scenes draw; off unless a timing program enables it.
    cPassTimer passTimer;
    // Passes that read a mostly black picture (the glow and ray sources) draw only where their
    // output can be non-black. Off, they cover the whole view (the same bytes, more time): for
    // the tests that hold the two equal and for timing the difference.
    bool boundedPasses = true;

private:
    void BuildShaders();
    // The shaders' parameters, the registry's texture names among them.
    void ConfigureShaders();
};

}  // namespace VantorGL
