// datagen: the list of model files and their recipes, shared by the generator and its tests.
#pragma once

#include "MeshBuilder.h"

#include <string>
#include <vector>

namespace Datagen {

struct ModelFile {
    const char* path;            // relative to the data folder, case as the demo loads it
    bool (*build)(Model& model);  // fills an empty model; false after a DATAGEN message
};

// All 37 model files of the registry, in its loading order.
const std::vector<ModelFile>& ModelFiles();

}  // namespace Datagen
