// datagen: the 3DS models of the data folder. Each file the registry loads has a recipe
// (ModelCrystals.cpp, ModelFigure.cpp, ModelCanyon.cpp); this unit names the files and writes them.
#include "Datagen.h"
#include "ModelRecipes.h"
#include "ModelsGen.h"
#include "ThreeDsWriter.h"

#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

const std::vector<ModelFile>& ModelFiles() {
    // Paths as the registry spells them, less their leading "Data/".
    static const std::vector<ModelFile> files = {
        {"mvlogo.3DS", BuildMVLogo},
        {"mvoutline.3DS", BuildMVOutline},
        {"humanplant_mesh.3DS", BuildHumanplantMesh},
        {"humanplant_hair.3DS", BuildHumanplantHair},
        {"cuball.3DS", BuildCuball},
        {"crystal_many.3DS", BuildCrystalMany},
        {"crystal_wide.3DS", BuildCrystalWide},
        {"ray.3DS", BuildRay},
        {"crystal_ring1.3DS", [](Model& m) { return BuildCrystalRing(m, 1); }},
        {"crystal_ring2.3DS", [](Model& m) { return BuildCrystalRing(m, 2); }},
        {"crystal_ring3.3DS", [](Model& m) { return BuildCrystalRing(m, 3); }},
        {"crystal_ring4.3DS", [](Model& m) { return BuildCrystalRing(m, 4); }},
        {"tunnel.3DS", BuildTunnel},
        {"cubering_tight.3DS", [](Model& m) { return BuildCubering(m, false); }},
        {"cubering_wide.3DS", [](Model& m) { return BuildCubering(m, true); }},
        {"spiketube.3DS", BuildSpiketube},
        {"torus.3DS", BuildTorus},
        {"toruscrystals.3DS", BuildTorusCrystals},
        {"sky_sphere.3DS", BuildSkySphere},
        {"greeting1.3DS", [](Model& m) { return BuildGreeting(m, 1); }},
        {"greeting2.3DS", [](Model& m) { return BuildGreeting(m, 2); }},
        {"greeting3.3DS", [](Model& m) { return BuildGreeting(m, 3); }},
        {"creds.3DS", BuildCredits},
        {"Ter/ter_ground.3DS", BuildTerGround},
        {"Ter/ter_crys.3DS", BuildTerCrystals},
        {"Ter/ter_wall.3DS", BuildTerWall},
        {"Ter/ray0.3DS", [](Model& m) { return BuildTerRay(m, 0); }},
        {"Ter/ray1.3DS", [](Model& m) { return BuildTerRay(m, 1); }},
        {"Ter/ray2.3DS", [](Model& m) { return BuildTerRay(m, 2); }},
        {"Ter/ray3.3DS", [](Model& m) { return BuildTerRay(m, 3); }},
        {"Ter/ray4.3DS", [](Model& m) { return BuildTerRay(m, 4); }},
        {"Ter/ray5.3DS", [](Model& m) { return BuildTerRay(m, 5); }},
        {"Ter/ray6.3DS", [](Model& m) { return BuildTerRay(m, 6); }},
        {"Ter/ray7.3DS", [](Model& m) { return BuildTerRay(m, 7); }},
        {"Ter/ray8.3DS", [](Model& m) { return BuildTerRay(m, 8); }},
        {"Ter/ray9.3DS", [](Model& m) { return BuildTerRay(m, 9); }},
        {"Ter/ter_sky.3DS", BuildTerSky},
    };
    return files;
}

bool GenerateModels(const std::string& root) {
    for (const ModelFile& file : ModelFiles()) {
        std::string path = root + "/" + file.path;
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        if (error) {
            VantorGL::ConsolePrint("DATAGEN", "%s: cannot create its folder: %s", path.c_str(), error.message().c_str());
            return false;
        }
        Model model;
        if (!file.build(model)) {
            VantorGL::ConsolePrint("DATAGEN", "%s: model not built", path.c_str());
            return false;
        }
        if (!WriteThreeDs(path, model)) return false;
    }
    return true;
}

}  // namespace Datagen
