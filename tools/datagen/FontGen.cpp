// datagen: font of the data folder (not written yet).
#include "Datagen.h"

namespace Datagen {

bool GenerateFont(const std::string&) { return true; }

}  // namespace Datagen
