// datagen: the 3DS models of the data folder. Each model member of the registry has a recipe
// (ModelCrystals.cpp, ModelFigure.cpp, ModelCanyon.cpp); the asset manifest names its file.
#include "Datagen.h"
#include "GreetingLayout.h"
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
    ModelBudget budget;
    eMapping mapping = eMapping::Mapped;
};

constexpr eMapping kGlass = eMapping::GlassOnly;

// Each model's budget, fitted to the largest size it takes on screen through its scene's cameras:
// curves and bevels no finer than a pixel there, spheres and tubes with as many segments as their
// outline needs. Budgets leave a little room (about a tenth) for changes of the recipes; a model
// that needs more must be made lighter elsewhere, or its budget raised here on purpose.
// kGlass: drawn only through the crystal glass programs, so the file carries no mapping.
const Recipe kRecipes[] = {
    {&R::mdlMVLogo, BuildMVLogo, {300, 8000}},
    {&R::mdlMVOutline, BuildMVOutline, {260, 7000}},
    {&R::mdlHumanplantMesh, BuildHumanplantMesh, {5400, 150000}, kGlass},  // fills the frame's height in the figure scene
    {&R::mdlHumanplantHair, BuildHumanplantHair, {3600, 100000}, kGlass},
    // Only the balls the fixed camera ever sees, each with the slices its outline needs there.
    {&R::mdlCuball, BuildCuball, {8000, 280000}},
    {&R::mdlCrystalMany, BuildCrystalMany, {2000, 48000}},
    {&R::mdlCrystalWide, BuildCrystalWide, {830, 15000}, kGlass},
    {&R::mdlRay, BuildRay, {30, 1000}},
    {&R::mdlCrystalRing1, [](Model& m) { return BuildCrystalRing(m, 1); }, {1900, 60000}},
    {&R::mdlCrystalRing2, [](Model& m) { return BuildCrystalRing(m, 2); }, {2000, 48000}},
    {&R::mdlCrystalRing3, [](Model& m) { return BuildCrystalRing(m, 3); }, {1260, 31000}},
    {&R::mdlCrystalRing4, [](Model& m) { return BuildCrystalRing(m, 4); }, {4000, 100000}},
    {&R::mdlTunnel, BuildTunnel, {4900, 84000}, kGlass},
    {&R::mdlCuberingTight, [](Model& m) { return BuildCubering(m, false); }, {1060, 27000}},
    {&R::mdlCuberingWide, [](Model& m) { return BuildCubering(m, true); }, {530, 14000}},
    {&R::mdlSpiketube, BuildSpiketube, {3000, 82000}},
    // The tube passes 18 units from the eye: 32 sides keep its outline smooth that near.
    {&R::mdlTorus, BuildTorus, {7000, 276000}},
    {&R::mdlTorusCrystals, BuildTorusCrystals, {11600, 187000}, kGlass},
    {&R::mdlSkySphere, BuildSkySphere, {1350, 52000}},
    // Letters cut for kGreetingMaxLetterPx without bevels (they would be under a pixel), one
    // object per copy the layout keeps: the three lines are most of the models' bytes.
    {&R::mdlGreeting1, [](Model& m) { return BuildGreeting(m, 1); }, {kGreetingVertexBudget, 1200000}, kGlass},
    {&R::mdlGreeting2, [](Model& m) { return BuildGreeting(m, 2); }, {kGreetingVertexBudget, 1200000}, kGlass},
    {&R::mdlGreeting3, [](Model& m) { return BuildGreeting(m, 3); }, {kGreetingVertexBudget, 1200000}, kGlass},
    {&R::mdlCreds, BuildCredits, {6600, 190000}},  // letters cut for the slide's nearest eye
    {&R::mdlTerGround, BuildTerGround, {12600, 500000}},
    {&R::mdlTerCrys, BuildTerCrystals, {8200, 131000}, kGlass},
    {&R::mdlTerWall, BuildTerWall, {9500, 375000}},
    {&R::mdlTerRay0, [](Model& m) { return BuildTerRay(m, 0); }, {8, 400}},
    {&R::mdlTerRay1, [](Model& m) { return BuildTerRay(m, 1); }, {8, 400}},
    {&R::mdlTerRay2, [](Model& m) { return BuildTerRay(m, 2); }, {8, 400}},
    {&R::mdlTerRay3, [](Model& m) { return BuildTerRay(m, 3); }, {8, 400}},
    {&R::mdlTerRay4, [](Model& m) { return BuildTerRay(m, 4); }, {8, 400}},
    {&R::mdlTerRay5, [](Model& m) { return BuildTerRay(m, 5); }, {8, 400}},
    {&R::mdlTerRay6, [](Model& m) { return BuildTerRay(m, 6); }, {8, 400}},
    {&R::mdlTerRay7, [](Model& m) { return BuildTerRay(m, 7); }, {8, 400}},
    {&R::mdlTerRay8, [](Model& m) { return BuildTerRay(m, 8); }, {8, 400}},
    {&R::mdlTerRay9, [](Model& m) { return BuildTerRay(m, 9); }, {8, 400}},
    {&R::mdlTerSky, BuildTerSky, {110, 3400}},
};

}  // namespace

const std::vector<ModelFile>& ModelFiles() {
    static const std::vector<ModelFile> files = [] {
        std::vector<ModelFile> list;
        for (const VantorGL::cDataFile& row : VantorGL::AssetManifest()) {
            auto* member = std::get_if<c3DsModelSystem R::*>(&row.member);
            if (!member) continue;
            ModelFile file{VantorGL::PathInDataFolder(row.path), nullptr, {}, eMapping::Mapped};
            for (const Recipe& recipe : kRecipes)
                if (recipe.member == *member) {
                    file.build = recipe.build;
                    file.budget = recipe.budget;
                    file.mapping = recipe.mapping;
                }
            list.push_back(file);
        }
        return list;
    }();
    return files;
}

bool GenerateModels(const std::string& root, const cFileChoice& choice) {
    for (const ModelFile& file : ModelFiles()) {
        if (!choice.Wants(file.path)) continue;
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
        if (!WriteThreeDs(path, model, file.mapping == eMapping::Mapped)) return false;
    }
    return true;
}

}  // namespace Datagen
