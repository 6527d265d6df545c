// datagen: pictures of the data folder (not written yet).
#include "Datagen.h"

namespace Datagen {

bool GeneratePictures(const std::string&) { return true; }

}  // namespace Datagen
