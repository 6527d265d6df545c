// datagen: pictures of the data folder. The painting lives in the datagen_pictures library
// (Picture*.cpp), which the tests link as well.
#include "Datagen.h"
#include "Pictures.h"

namespace Datagen {

bool GeneratePictures(const std::string& root) { return WriteAllPictures(root); }

}  // namespace Datagen
