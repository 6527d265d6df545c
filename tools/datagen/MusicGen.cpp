// datagen: music of the data folder (not written yet).
#include "Datagen.h"

namespace Datagen {

bool GenerateMusic(const std::string&) { return true; }

}  // namespace Datagen
