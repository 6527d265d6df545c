// datagen: models of the data folder (not written yet).
#include "Datagen.h"

namespace Datagen {

bool GenerateModels(const std::string&) { return true; }

}  // namespace Datagen
