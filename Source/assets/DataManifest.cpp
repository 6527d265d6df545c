// DataManifest: the table of every file the demo loads. The registry's rows come in LoadAll's
// order; the steps that read no file (the system face, the cube target, the shaders) are LoadAll's.
#include "assets/DataManifest.h"

#include <algorithm>

namespace VantorGL {

namespace {

// The member's name is written once: the row takes it both as text and as the member.
#define REGISTRY_ROW(path, kind, member) {path, cDataKind::kind, #member, &cResources::member}

const cDataFile kAssetManifest[] = {
    REGISTRY_ROW("data/General/music.mp3", Music, music),
    REGISTRY_ROW("data\\Backdrop1_geoSquare.png", Picture, texBackdrop1GeoSquare),
    REGISTRY_ROW("Data/General/c_font.ttf", Font, fontActionForce),
    REGISTRY_ROW("Data/rulletekst_final.png", Picture, texRulletekst),
    REGISTRY_ROW("Data/chrome.jpg", Picture, texChrome),
    REGISTRY_ROW("Data/mvlogo.3DS", Model, mdlMVLogo),
    REGISTRY_ROW("Data/mvoutline.3DS", Model, mdlMVOutline),
    REGISTRY_ROW("Data/humanplant_mesh.3DS", Model, mdlHumanplantMesh),
    REGISTRY_ROW("Data/humanplant_hair.3DS", Model, mdlHumanplantHair),
    REGISTRY_ROW("Data/cuball.3DS", Model, mdlCuball),
    REGISTRY_ROW("Data/crystal_many.3DS", Model, mdlCrystalMany),
    REGISTRY_ROW("Data/crystal_wide.3DS", Model, mdlCrystalWide),
    REGISTRY_ROW("Data/ray.3DS", Model, mdlRay),
    REGISTRY_ROW("Data/crystal_ring1.3DS", Model, mdlCrystalRing1),
    REGISTRY_ROW("Data/crystal_ring2.3DS", Model, mdlCrystalRing2),
    REGISTRY_ROW("Data/crystal_ring3.3DS", Model, mdlCrystalRing3),
    REGISTRY_ROW("Data/crystal_ring4.3DS", Model, mdlCrystalRing4),
    REGISTRY_ROW("Data/tunnel.3DS", Model, mdlTunnel),
    REGISTRY_ROW("Data/cubering_tight.3DS", Model, mdlCuberingTight),
    REGISTRY_ROW("Data/cubering_wide.3DS", Model, mdlCuberingWide),
    REGISTRY_ROW("Data/spiketube.3DS", Model, mdlSpiketube),
    REGISTRY_ROW("Data/torus.3DS", Model, mdlTorus),
    REGISTRY_ROW("Data/toruscrystals.3DS", Model, mdlTorusCrystals),
    REGISTRY_ROW("Data/sky_sphere.3DS", Model, mdlSkySphere),
    REGISTRY_ROW("Data/greeting1.3DS", Model, mdlGreeting1),
    REGISTRY_ROW("Data/greeting2.3DS", Model, mdlGreeting2),
    REGISTRY_ROW("Data/greeting3.3DS", Model, mdlGreeting3),
    REGISTRY_ROW("Data/creds.3DS", Model, mdlCreds),
    REGISTRY_ROW("data\\humanplant_template.jpg", Picture, texHumanplantTemplate),
    REGISTRY_ROW("data\\flatnormal.png", Picture, texFlatNormal),
    REGISTRY_ROW("data\\box01diffusemap.jpg", Picture, texBox01Diffuse),
    REGISTRY_ROW("data\\og2.png", Picture, texOg2),
    REGISTRY_ROW("data\\og3.png", Picture, texOg3),
    REGISTRY_ROW("data\\BlurMap.png", Picture, texBlurMap),
    REGISTRY_ROW("data\\BlurMapII.png", Picture, texBlurMapII),
    REGISTRY_ROW("data\\art1.jpg", Picture, texArt1),
    REGISTRY_ROW("data\\bgspheretexture.jpg", Picture, texBgSphere),
    REGISTRY_ROW("data\\Crystal_diffuse.jpg", Picture, texCrystalDiffuse),
    REGISTRY_ROW("data\\pillarroom_norm.jpg", Picture, texPillarroomNormB),
    REGISTRY_ROW("data\\logoscene.png", Picture, texLogoScene),
    REGISTRY_ROW("data\\crystalNormalMap.jpg", Picture, texCrystalNormalMap),
    REGISTRY_ROW("data\\blurselvo.png", Picture, texBlurSelvo),
    REGISTRY_ROW("data\\ray_alpha.png", Picture, texRayAlpha),
    REGISTRY_ROW("data\\pillarroom_diff.jpg", Picture, texPillarroomDiff),
    REGISTRY_ROW("data\\pillarroom_norm.jpg", Picture, texPillarroomNorm),
    REGISTRY_ROW("data\\pillarroom_spec.jpg", Picture, texPillarroomSpec),
    REGISTRY_ROW("data\\art1.jpg", Picture, texArt1B),
    REGISTRY_ROW("data\\Ter\\floor_comp.jpg", Picture, texTerFloorComp),
    REGISTRY_ROW("data\\Ter\\floor_light.jpg", Picture, texTerFloorLight),
    REGISTRY_ROW("data\\Ter\\floor_norm.jpg", Picture, texTerFloorNorm),
    REGISTRY_ROW("data\\Ter\\wall_comp.jpg", Picture, texTerWallComp),
    REGISTRY_ROW("data\\Ter\\wall_light.jpg", Picture, texTerWallLight),
    REGISTRY_ROW("data\\Ter\\wall_norm.jpg", Picture, texTerWallNorm),
    REGISTRY_ROW("Data/Ter/ter_ground.3DS", Model, mdlTerGround),
    REGISTRY_ROW("Data/Ter/ter_crys.3DS", Model, mdlTerCrys),
    REGISTRY_ROW("Data/Ter/ter_wall.3DS", Model, mdlTerWall),
    REGISTRY_ROW("Data/Ter/ray0.3DS", Model, mdlTerRay0),
    REGISTRY_ROW("Data/Ter/ray1.3DS", Model, mdlTerRay1),
    REGISTRY_ROW("Data/Ter/ray2.3DS", Model, mdlTerRay2),
    REGISTRY_ROW("Data/Ter/ray3.3DS", Model, mdlTerRay3),
    REGISTRY_ROW("Data/Ter/ray4.3DS", Model, mdlTerRay4),
    REGISTRY_ROW("Data/Ter/ray5.3DS", Model, mdlTerRay5),
    REGISTRY_ROW("Data/Ter/ray6.3DS", Model, mdlTerRay6),
    REGISTRY_ROW("Data/Ter/ray7.3DS", Model, mdlTerRay7),
    REGISTRY_ROW("Data/Ter/ray8.3DS", Model, mdlTerRay8),
    REGISTRY_ROW("Data/Ter/ray9.3DS", Model, mdlTerRay9),
    REGISTRY_ROW("Data/Ter/ter_sky.3DS", Model, mdlTerSky),
};

#undef REGISTRY_ROW

// Loaded outside the registry: by the loading screen before it exists, by the settings dialog
// of quenlite-setup, and by the workshop scene for itself (one file it shares with the registry).
const cDataFile kOutsideRegistry[] = {
    {kBannerPicturePath, cDataKind::Picture, "settings dialog", {}},
    {kLoadingPicturePath, cDataKind::Picture, "loading screen", {}},
    {kLoadingMusicPath, cDataKind::Music, "loading screen", {}},
    {kWorkshopNewsPaperPath, cDataKind::Picture, "cWorkshopScene", {}},
    {kWorkshopNormalPath, cDataKind::Picture, "cWorkshopScene", {}},
    {kWorkshopSpecularPath, cDataKind::Picture, "cWorkshopScene", {}},
};

}  // namespace

std::span<const cDataFile> AssetManifest() { return kAssetManifest; }

std::span<const cDataFile> FilesOutsideRegistry() { return kOutsideRegistry; }

std::string PathInDataFolder(const char* path) {
    std::string rest = path;
    std::replace(rest.begin(), rest.end(), '\\', '/');
    std::size_t cut = rest.find('/');
    return cut == std::string::npos ? rest : rest.substr(cut + 1);
}

}  // namespace VantorGL
