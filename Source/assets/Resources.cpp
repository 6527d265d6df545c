// cResources: the load order and the parameter table of every shared asset.
#include "assets/Resources.h"

#include <chrono>

namespace VantorGL {

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Builds one program the usual way: program object, vertex stage, fragment stage and link.
void BuildProgram(cShaderSystem& shader) {
    if (!shader.InitProgramObject()) return;
    if (!shader.InitVertexShader()) return;
    shader.InitFragmentShader();
}

struct cLitValues {
    GLuint colorMap, normalMap, heightMap, specularMap;
    float r, specPower, specOverdrive, ambient;
    cVector3f lightPosition;
    const cVector3f* lightPosition2;  // null: the class default stays
    cVector3f lightColor, light2Color;
};

// The lit programs' CubeMap sampler (unit 4) is never read by their stages, and the pictures the
// table names for it are 2D textures, which a cube target refuses (GL_INVALID_OPERATION at every
// Bind). So unit 4 gets no texture; what the programs show is unchanged.
void Configure(cLitSurfaceShader& shader, const cLitValues& v) {
    shader.SetCubeMap(0);
    shader.SetColorMap(v.colorMap);
    shader.SetNormalMap(v.normalMap);
    shader.SetHeightMap(v.heightMap);
    shader.SetSpecularMap(v.specularMap);
    shader.SetR(1.0f - v.r);  // the setter stores 1 minus its argument: the table gives the result
    shader.SetSpecPower(v.specPower);
    shader.SetSpecOverdrive(v.specOverdrive);
    shader.SetAmbient(v.ambient);
    shader.LightPosition = v.lightPosition;
    if (v.lightPosition2) shader.LightPosition2 = *v.lightPosition2;
    shader.LightColor = v.lightColor;
    shader.Light2Color = v.light2Color;
}

}  // namespace

int cResources::SelectMusic() {
    music.SetFile("data/General/music.mp3");
    return 0;
}

void cResources::LoadTextures(std::initializer_list<std::pair<cTextureSystem*, const char*>> table) {
    Clock::time_point start = Clock::now();
    for (const auto& [texture, path] : table) texture->Load(path);
    loadTimes.textures += MillisecondsSince(start);
}

void cResources::LoadModels(std::initializer_list<std::pair<c3DsModelSystem*, const char*>> table) {
    Clock::time_point start = Clock::now();
    for (const auto& [model, path] : table) model->Load(path);
    loadTimes.models += MillisecondsSince(start);
}

int cResources::LoadAll() {
    Clock::time_point start = Clock::now();
    music.Open(nullptr);
    loadTimes.music += MillisecondsSince(start);

    start = Clock::now();
    fontArial.CreateBitmapGlyphs("", "Arial", -16);
    loadTimes.fonts += MillisecondsSince(start);
    LoadTextures({{&texBackdrop1GeoSquare, "data\\Backdrop1_geoSquare.png"}});
    start = Clock::now();
    fontActionForce.CreateOutlineGlyphs("Data/General/c_font.ttf", "Action Force Normal", -26);
    loadTimes.fonts += MillisecondsSince(start);

    LoadTextures({{&texRulletekst, "Data/rulletekst_final.png"}, {&texChrome, "Data/chrome.jpg"}});
    LoadModels({
        {&mdlMVLogo, "Data/mvlogo.3DS"},
        {&mdlMVOutline, "Data/mvoutline.3DS"},
        {&mdlHumanplantMesh, "Data/humanplant_mesh.3DS"},
        {&mdlHumanplantHair, "Data/humanplant_hair.3DS"},
        {&mdlCuball, "Data/cuball.3DS"},
        {&mdlCrystalMany, "Data/crystal_many.3DS"},
        {&mdlCrystalWide, "Data/crystal_wide.3DS"},
        {&mdlRay, "Data/ray.3DS"},
        {&mdlCrystalRing1, "Data/crystal_ring1.3DS"},
        {&mdlCrystalRing2, "Data/crystal_ring2.3DS"},
        {&mdlCrystalRing3, "Data/crystal_ring3.3DS"},
        {&mdlCrystalRing4, "Data/crystal_ring4.3DS"},
        {&mdlTunnel, "Data/tunnel.3DS"},
        {&mdlCuberingTight, "Data/cubering_tight.3DS"},
        {&mdlCuberingWide, "Data/cubering_wide.3DS"},
        {&mdlSpiketube, "Data/spiketube.3DS"},
        {&mdlTorus, "Data/torus.3DS"},
        {&mdlTorusCrystals, "Data/toruscrystals.3DS"},
        {&mdlSkySphere, "Data/sky_sphere.3DS"},
        {&mdlGreeting1, "Data/greeting1.3DS"},
        {&mdlGreeting2, "Data/greeting2.3DS"},
        {&mdlGreeting3, "Data/greeting3.3DS"},
        {&mdlCreds, "Data/creds.3DS"},
    });
    LoadTextures({
        {&texHumanplantTemplate, "data\\humanplant_template.jpg"},
        {&texFlatNormal, "data\\flatnormal.png"},
        {&texBox01Diffuse, "data\\box01diffusemap.jpg"},
        {&texOg2, "data\\og2.png"},
        {&texOg3, "data\\og3.png"},
        {&texBlurMap, "data\\BlurMap.png"},
        {&texBlurMapII, "data\\BlurMapII.png"},
        {&texArt1, "data\\art1.jpg"},
        {&texBgSphere, "data\\bgspheretexture.jpg"},
        {&texCrystalDiffuse, "data\\Crystal_diffuse.jpg"},
        {&texPillarroomNormB, "data\\pillarroom_norm.jpg"},
        {&texLogoScene, "data\\logoscene.png"},
        {&texCrystalNormalMap, "data\\crystalNormalMap.jpg"},
        {&texBlurSelvo, "data\\blurselvo.png"},
        {&texRayAlpha, "data\\ray_alpha.png"},
        {&texPillarroomDiff, "data\\pillarroom_diff.jpg"},
        {&texPillarroomNorm, "data\\pillarroom_norm.jpg"},
        {&texPillarroomSpec, "data\\pillarroom_spec.jpg"},
        {&texArt1B, "data\\art1.jpg"},
        {&texTerFloorComp, "data\\Ter\\floor_comp.jpg"},
        {&texTerFloorLight, "data\\Ter\\floor_light.jpg"},
        {&texTerFloorNorm, "data\\Ter\\floor_norm.jpg"},
        {&texTerWallComp, "data\\Ter\\wall_comp.jpg"},
        {&texTerWallLight, "data\\Ter\\wall_light.jpg"},
        {&texTerWallNorm, "data\\Ter\\wall_norm.jpg"},
    });
    LoadModels({
        {&mdlTerGround, "Data/Ter/ter_ground.3DS"},
        {&mdlTerCrys, "Data/Ter/ter_crys.3DS"},
        {&mdlTerWall, "Data/Ter/ter_wall.3DS"},
        {&mdlTerRay0, "Data/Ter/ray0.3DS"},
        {&mdlTerRay1, "Data/Ter/ray1.3DS"},
        {&mdlTerRay2, "Data/Ter/ray2.3DS"},
        {&mdlTerRay3, "Data/Ter/ray3.3DS"},
        {&mdlTerRay4, "Data/Ter/ray4.3DS"},
        {&mdlTerRay5, "Data/Ter/ray5.3DS"},
        {&mdlTerRay6, "Data/Ter/ray6.3DS"},
        {&mdlTerRay7, "Data/Ter/ray7.3DS"},
        {&mdlTerRay8, "Data/Ter/ray8.3DS"},
        {&mdlTerRay9, "Data/Ter/ray9.3DS"},
        {&mdlTerSky, "Data/Ter/ter_sky.3DS"},
    });

    start = Clock::now();
    cubeMap.CreateCube(1024, 1024);
    loadTimes.targets += MillisecondsSince(start);

    start = Clock::now();
    ConfigureShaders();
    loadTimes.shaders += MillisecondsSince(start);
    return 0;
}

void cResources::ConfigureShaders() {
    for (cShaderSystem* shader : std::initializer_list<cShaderSystem*>{
             &npLightPillar, &npLightTerFloor, &npLightTerWall, &tavikObjectShaderA, &tavikObjectShaderB,
             &torbObjectShader, &mvLogoShader, &crystalRingShader, &crystalRefractShader, &crystalCaveRefractShader,
             &shadowCageShader}) {
        BuildProgram(*shader);
    }
    if (gaussianMapShader.InitProgramObject() && gaussianMapShader.InitVertexShader())
        gaussianMapShader.InitMap(1024, 768);
    BuildProgram(radialBlurShader);
    BuildProgram(distortShader);

    const cVector3f terLight2{-1000.0f, 500.0f, 5.0f};
    const cVector3f tavikLight2{100.0f, 300.0f, 0.0f};
    Configure(npLightPillar, {texPillarroomDiff.texture, texPillarroomNorm.texture, texPillarroomSpec.texture,
                              texPillarroomSpec.texture, 1.0f, 32, 1, 0.3f, {10, 5, 5}, nullptr, {0.5f, 0.5f, 0.5f},
                              {0.0f, 0.3f, 0.0f}});
    npLightPillar.SetFogDensity(0.0005f);
    npLightPillar.SetFogColor({0.2f, 0.2f, 0.5f});
    Configure(npLightTerFloor, {texTerFloorComp.texture, texTerFloorNorm.texture, texTerFloorComp.texture,
                                texTerFloorComp.texture, 1.0f, 32, 10, 0.2f, {1000, 500, 5}, &terLight2, {1, 1, 1},
                                {1, 1, 1}});
    npLightTerFloor.SetFogDensity(0.0005f);
    npLightTerFloor.SetFogColor({1, 1, 1});
    Configure(npLightTerWall, {texTerWallComp.texture, texTerWallNorm.texture, texTerWallComp.texture,
                               texTerWallComp.texture, 1.0f, 32, 5, 0.5f, {10, 5, 5}, &terLight2, {0.5f, 0.5f, 0.5f},
                               {0.0f, 0.3f, 0.0f}});
    npLightTerWall.SetFogDensity(0.0001f);
    npLightTerWall.SetFogColor({0.5f, 0.5f, 0.5f});
    const cLitValues tavik = {texBgSphere.texture, texFlatNormal.texture, texHumanplantTemplate.texture,
                              texBox01Diffuse.texture, 0.9f, 32, 1, 0.0f, {-100, -300, 0}, &tavikLight2, {1, 1, 1},
                              {1, 1, 1}};
    Configure(tavikObjectShaderA, tavik);
    tavikObjectShaderA.SetColor({0, 0, 0});
    cLitValues tavikB = tavik;
    tavikB.r = 1.0f;
    tavikB.ambient = 0.1f;
    Configure(tavikObjectShaderB, tavikB);
    tavikObjectShaderB.SetColor({0, 0, 0});
    cLitValues logo = tavik;
    logo.lightColor = {0, 0, 0};
    logo.light2Color = {0, 0, 0};
    Configure(mvLogoShader, logo);
    Configure(torbObjectShader, logo);  // stored like the logo's; no scene binds it
    Configure(crystalRingShader, {texBgSphere.texture, texCrystalNormalMap.texture, texHumanplantTemplate.texture,
                                  texBox01Diffuse.texture, 0.0f, 32, 3, 0.7f, {-100, -300, 0}, &tavikLight2,
                                  {1, 1, 1}, {0.7f, 0.7f, 1.0f}});
    crystalRingShader.SetAlpha(1.0f);

    crystalRefractShader.SetColorMap(texFlatNormal.texture);
    crystalRefractShader.SetCubeMap(cubeMap.texture);  // the cube made just before: order matters
    crystalRefractShader.SetRefractionIndex(1.0f);
    crystalRefractShader.SetCrystalColor({0.2f, 0.2f, 0.3f});
    crystalCaveRefractShader.SetColorMap(texFlatNormal.texture);
    crystalCaveRefractShader.SetCubeMap(cubeMap.texture);
    crystalCaveRefractShader.SetRefractionIndex(1.0f);
    crystalCaveRefractShader.SetCrystalColor({0.0f, 0.0f, 0.1f});

    shadowCageShader.SetSourceTexture(texHumanplantTemplate.texture);
    radialBlurShader.SetScale(-0.1f);
    radialBlurShader.SetStart(1.0f);
    radialBlurShader.SetIterations(100);
    radialBlurShader.SetCenter(0.5f, 0.5f);
}

}  // namespace VantorGL
