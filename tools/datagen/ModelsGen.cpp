// datagen: the 3DS models of the data folder. Each model member of the registry has a recipe
// (ModelCrystals.cpp, ModelFigure.cpp, ModelCanyon.cpp); the asset manifest names its file.
#include "Datagen.h"
#include "ModelRecipes.h"
#include "ModelsGen.h"
#include "ThreeDsWriter.h"

#include "assets/DataManifest.h"
#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

namespace {

using R = VantorGL::cResources;

struct Recipe {
    c3DsModelSystem R::*member;
    bool (*build)(Model& model);
};

const Recipe kRecipes[] = {
    {&R::mdlMVLogo, BuildMVLogo},
    {&R::mdlMVOutline, BuildMVOutline},
    {&R::mdlHumanplantMesh, BuildHumanplantMesh},
    {&R::mdlHumanplantHair, BuildHumanplantHair},
    {&R::mdlCuball, BuildCuball},
    {&R::mdlCrystalMany, BuildCrystalMany},
    {&R::mdlCrystalWide, BuildCrystalWide},
    {&R::mdlRay, BuildRay},
    {&R::mdlCrystalRing1, [](Model& m) { return BuildCrystalRing(m, 1); }},
    {&R::mdlCrystalRing2, [](Model& m) { return BuildCrystalRing(m, 2); }},
    {&R::mdlCrystalRing3, [](Model& m) { return BuildCrystalRing(m, 3); }},
    {&R::mdlCrystalRing4, [](Model& m) { return BuildCrystalRing(m, 4); }},
    {&R::mdlTunnel, BuildTunnel},
    {&R::mdlCuberingTight, [](Model& m) { return BuildCubering(m, false); }},
    {&R::mdlCuberingWide, [](Model& m) { return BuildCubering(m, true); }},
    {&R::mdlSpiketube, BuildSpiketube},
    {&R::mdlTorus, BuildTorus},
    {&R::mdlTorusCrystals, BuildTorusCrystals},
    {&R::mdlSkySphere, BuildSkySphere},
    {&R::mdlGreeting1, [](Model& m) { return BuildGreeting(m, 1); }},
    {&R::mdlGreeting2, [](Model& m) { return BuildGreeting(m, 2); }},
    {&R::mdlGreeting3, [](Model& m) { return BuildGreeting(m, 3); }},
    {&R::mdlCreds, BuildCredits},
    {&R::mdlTerGround, BuildTerGround},
    {&R::mdlTerCrys, BuildTerCrystals},
    {&R::mdlTerWall, BuildTerWall},
    {&R::mdlTerRay0, [](Model& m) { return BuildTerRay(m, 0); }},
    {&R::mdlTerRay1, [](Model& m) { return BuildTerRay(m, 1); }},
    {&R::mdlTerRay2, [](Model& m) { return BuildTerRay(m, 2); }},
    {&R::mdlTerRay3, [](Model& m) { return BuildTerRay(m, 3); }},
    {&R::mdlTerRay4, [](Model& m) { return BuildTerRay(m, 4); }},
    {&R::mdlTerRay5, [](Model& m) { return BuildTerRay(m, 5); }},
    {&R::mdlTerRay6, [](Model& m) { return BuildTerRay(m, 6); }},
    {&R::mdlTerRay7, [](Model& m) { return BuildTerRay(m, 7); }},
    {&R::mdlTerRay8, [](Model& m) { return BuildTerRay(m, 8); }},
    {&R::mdlTerRay9, [](Model& m) { return BuildTerRay(m, 9); }},
    {&R::mdlTerSky, BuildTerSky},
};

}  // namespace

const std::vector<ModelFile>& ModelFiles() {
    static const std::vector<ModelFile> files = [] {
        std::vector<ModelFile> list;
        for (const VantorGL::cDataFile& row : VantorGL::AssetManifest()) {
            auto* member = std::get_if<c3DsModelSystem R::*>(&row.member);
            if (!member) continue;
            ModelFile file{VantorGL::PathInDataFolder(row.path), nullptr};
            for (const Recipe& recipe : kRecipes)
                if (recipe.member == *member) file.build = recipe.build;
            list.push_back(file);
        }
        return list;
    }();
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
        if (!file.build) {
            VantorGL::ConsolePrint("DATAGEN", "%s: no recipe for this model", path.c_str());
            return false;
        }
        if (!file.build(model)) {
            VantorGL::ConsolePrint("DATAGEN", "%s: model not built", path.c_str());
            return false;
        }
        if (!WriteThreeDs(path, model)) return false;
    }
    return true;
}

}  // namespace Datagen
