// datagen: the list of model files and their recipes, shared by the generator and its tests.
#pragma once

#include "MeshBuilder.h"

#include <string>
#include <vector>

namespace Datagen {

// The most a model file may hold: vertices over all its objects, and the file's bytes.
struct ModelBudget {
    size_t vertices = 0;
    size_t bytes = 0;
};

// Whether a model's file carries mapping coordinates. Models drawn only through the crystal
// glass programs go without: those programs look the cube up by the normal and read no texture
// coordinates, so the coordinates would be bytes no frame uses.
enum class eMapping { Mapped, GlassOnly };

struct ModelFile {
    std::string path;             // relative to the data folder, '/' separated, case as the demo loads it
    bool (*build)(Model& model);  // fills an empty model; false after a DATAGEN message; null: no recipe
    ModelBudget budget;           // set beside the recipe
    eMapping mapping = eMapping::Mapped;
};

// Every model file of the asset manifest, in the registry's loading order, with its recipe.
const std::vector<ModelFile>& ModelFiles();

}  // namespace Datagen
